// The key capture dialog: the user presses the key to bind (the key engine takes
// it instead of looking it up), names the binding, or sets its on-screen text and
// auto-repeat. The key list opens it modally over the dimmed main window.
//
// Capture mode lives in the key engine and is on exactly while the key page is
// shown: however the dialog goes away (a button, Esc, the close box, Alt+F4, the
// program ending), hiding it turns capture mode off, so the next key the user
// presses anywhere is never swallowed.
#pragma once
#include <cstdint>

#include "controls/extended/VyEdit.h"
#include "controls/extended/VyTabs.h"
#include "controls/visual/TFlatButtonUnit.h"
#include "controls/visual/TFlatCheckBoxUnit.h"
#include "core/keys/KeyEngine.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "vcl/Timer.h"

class TInputForm : public TForm, public ICaptureDialog {
  QORN_CLASS(TInputForm, TForm)
  static void Publish(TPublisher<TInputForm>& p);

 public:
  explicit TInputForm(TComponent* AOwner) : TForm(AOwner) {}
  ~TInputForm() override;

  // The modal results.
  static constexpr TModalResult ResultKeyCaptured = 1;
  static constexpr TModalResult ResultEscaped = 2;
  static constexpr TModalResult ResultNameOk = 100;
  static constexpr TModalResult ResultOptionsOk = 200;

  // The widths of the binding record's texts.
  static constexpr int NameLength = 25;
  static constexpr int DisplayTextLength = 50;

  // --- components of the form resource
  Vy::TVyPageControl* InputTab = nullptr;
  Vy::TVyTabSheet* KeyTab = nullptr;
  Vy::TVyTabSheet* NameTab = nullptr;
  Vy::TVyTabSheet* SettingTab = nullptr;
  TPanel* Panel1 = nullptr;  // the eight side-aware modifiers
  TPanel* Panel2 = nullptr;  // the four side-agnostic ones
  Vy::TVyEdit* NewKeyName = nullptr;
  Flat::TFlatButton* FlatButton1 = nullptr;
  Flat::TFlatCheckBox* keyoptautopress = nullptr;
  TScrollBar* keyoptautopressspeed = nullptr;
  TLabel* labelspeed = nullptr;
  Vy::TVyEdit* OSDkeyName = nullptr;
  Flat::TFlatButton* FlatButton2 = nullptr;
  TTimer* Timer1 = nullptr;

  // The key engine whose capture mode the key page switches (the main window's).
  TKeyEngine* Engine = nullptr;

  // Prepares the dialog before it is shown modally: mode 0 all three pages with
  // their headers, the name page first; 1, 2 and 3 the key, name or options page
  // alone. Translates it and centres it on Over.
  void Showing(std::uint8_t Mode, TCustomForm* Over);

  // --- what the key engine calls
  bool Showing() override { return showing_; }
  void setk(const TKeyEvent& captured) override;
  void EscPress() override;

  // --- event handlers
  void FormCreate(TObject* Sender);
  void InputTabChange();
  void Timer1Timer(TObject* Sender);
  void NewKeyNameChange(TObject* Sender);
  void NewKeyNameKeyPress(TObject* Sender, wchar_t& Key);
  void FlatButton1Click(TObject* Sender);
  void FlatButton2Click(TObject* Sender);
  void keyoptautopressspeedChange(TObject* Sender);

 protected:
  void Activate() override;
  void DoHide() override;

 private:
  void endCapture();
  void showModifiers();

  bool showing_ = false;
  int fullHeight_ = 0;
};
