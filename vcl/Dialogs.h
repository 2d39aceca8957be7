// The common dialogs (open, save, font, colour), message boxes and the input box.
//
// Every one of them blocks until the user answers, so they all go through one
// dialog service: the system's own shows the Win32 common dialogs, MessageBoxW
// and a small input form; a test installs its own service and answers at once:
//
//   struct TAnswers : TDialogService { ... int MessageBox(...) override { return IDYES; } };
//   TAnswers answers;
//   TDialogServiceOverride use(answers);
//   EXPECT_EQ(MessageDlg(L"Delete?", mtConfirmation, {mbYes, mbNo}), mrYes);
//
// Around each dialog the library cancels a hint, takes its topmost windows off
// topmost (the on-screen displays would cover the dialog) and disables its other
// windows, and gives all of that back afterwards, whichever service answers.
// A dialog asked for on a worker thread runs on the GUI thread; the worker waits.
#pragma once

#include "vcl/Classes.h"
#include "vcl/Forms.h"
#include "vcl/Graphics.h"
#include "vcl/Win.h"

#include <array>
#include <functional>
#include <string>

// Base of the dialog components placed on forms.
class TCommonDialog : public TComponent {
  QORN_CLASS(TCommonDialog, TComponent)
 public:
  explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
  // Shows the dialog; true when the user confirmed it.
  virtual bool Execute() = 0;
};

// Open dialog. Filter lists "text|mask" pairs ("Programs (*.exe)|*.exe|All files|*.*",
// a mask may hold several patterns: "*.txt;*.log"); DefaultExt is added to a typed
// name without an extension ("exe", ".exe" and "*.exe" all mean the same).
class TOpenDialog : public TCommonDialog {
  QORN_CLASS(TOpenDialog, TCommonDialog)
 public:
  explicit TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}
  bool Execute() override;
  virtual bool IsSaveDialog() const { return false; }

  std::wstring GetFilter() const { return FFilter; }
  void SetFilter(const std::wstring& v) { FFilter = v; }
  std::wstring GetDefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::wstring& v) { FDefaultExt = v; }
  // The name shown first; after a confirmed Execute the chosen file's full path.
  std::wstring GetFileName() const { return FFileName; }
  void SetFileName(const std::wstring& v) { FFileName = v; }

 private:
  static void Publish(TPublisher<TOpenDialog>& p);
  std::wstring FFilter;
  std::wstring FDefaultExt;
  std::wstring FFileName;
};

// Save dialog: the same properties; the program asks itself before overwriting.
class TSaveDialog : public TOpenDialog {
  QORN_CLASS(TSaveDialog, TOpenDialog)
 public:
  explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}
  bool IsSaveDialog() const override { return true; }
};

// Font dialog: shows Font (face, size, style, colour) and takes the choice back
// into it; a cancelled dialog leaves Font as it was.
class TFontDialog : public TCommonDialog {
  QORN_CLASS(TFontDialog, TCommonDialog)
 public:
  explicit TFontDialog(TComponent* AOwner);
  ~TFontDialog() override;
  bool Execute() override;
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(TFont* v) { FFont->Assign(v); }

 private:
  static void Publish(TPublisher<TFontDialog>& p);
  std::unique_ptr<TFont> FFont;
};

// Colour dialog: shows Color and takes the choice back; the user's custom colours
// stay with the dialog from one Execute to the next.
class TColorDialog : public TCommonDialog {
  QORN_CLASS(TColorDialog, TCommonDialog)
 public:
  explicit TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner) { FCustomColors.fill(0xFFFFFF); }
  bool Execute() override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor v) { FColor = v; }
  std::array<COLORREF, 16>& CustomColors() { return FCustomColors; }

 private:
  static void Publish(TPublisher<TColorDialog>& p);
  TColor FColor = clBlack;
  std::array<COLORREF, 16> FCustomColors;
};

// --- message boxes

QORN_ENUM(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom);
QORN_ENUM(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll,
          mbHelp);
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// The message in a box captioned with the application's title, with an OK button.
void ShowMessage(const std::wstring& msg);
// The message in a box captioned and marked by its type ("Warning", "Error",
// "Information", "Confirm"; mtCustom: the application's title) with the buttons
// asked for; the button pressed as a modal result (mrYes, mrCancel...). The sets
// are those a message box has: [mbOK], [mbOK, mbCancel], [mbYes, mbNo],
// [mbYes, mbNo, mbCancel], [mbAbort, mbRetry, mbIgnore], [mbRetry, mbCancel]
// (mbHelp may join any of them); another set raises EInvalidOperation.
TModalResult MessageDlg(const std::wstring& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// The MessageBoxW flags and caption MessageDlg uses.
unsigned MessageDlgFlags(TMsgDlgType type, TMsgDlgButtons buttons);
std::wstring MessageDlgCaption(TMsgDlgType type);

// --- input

// Asks for a line of text: value holds the default and, when the user pressed
// OK, the text entered. False when cancelled (value is then unchanged).
bool InputQuery(const std::wstring& caption, const std::wstring& prompt, std::wstring& value);
// The text entered, or the default when cancelled.
std::wstring InputBox(const std::wstring& caption, const std::wstring& prompt, const std::wstring& defaultValue);

// --- the one seam

class TDialogService {
 public:
  virtual ~TDialogService() = default;
  // Open or save dialog (dialog.IsSaveDialog()): on true its FileName holds the choice.
  virtual bool ExecuteFileDialog(HWND owner, TOpenDialog& dialog) = 0;
  // On true the dialog's Font holds the choice.
  virtual bool ExecuteFontDialog(HWND owner, TFontDialog& dialog) = 0;
  // On true the dialog's Color holds the choice.
  virtual bool ExecuteColorDialog(HWND owner, TColorDialog& dialog) = 0;
  // MessageBoxW's answer (IDOK, IDYES...).
  virtual int MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, unsigned flags) = 0;
  // On true value holds the text entered.
  virtual bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt,
                          std::wstring& value) = 0;
};

// The service in use, and the system's own.
TDialogService& DialogService();
TDialogService& SystemDialogService();
// Installs a service (nullptr: the system's own again); returns the one before.
TDialogService* SetDialogService(TDialogService* service);

// Installs a service for a scope.
class TDialogServiceOverride {
 public:
  explicit TDialogServiceOverride(TDialogService& service) : FPrevious(SetDialogService(&service)) {}
  ~TDialogServiceOverride() { SetDialogService(FPrevious); }
  TDialogServiceOverride(const TDialogServiceOverride&) = delete;
  TDialogServiceOverride& operator=(const TDialogServiceOverride&) = delete;

 private:
  TDialogService* FPrevious;
};

// The window a dialog shown now belongs to: the active window of this thread,
// else the application window.
HWND DialogOwnerWindow();
// Runs call as every dialog runs: the hint cancelled, the topmost windows
// normal, the other windows disabled; then all of it back and the window that
// was active active again.
void RunModalDialog(const std::function<void(HWND owner)>& call);
