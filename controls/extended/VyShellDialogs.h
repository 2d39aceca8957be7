// TVySelectFolderDialog: lets the user pick a folder of the shell namespace in a
// modal window and gives it back as a file-system path. A frame keeps one for as
// long as it lives, so the window's size and state and the last folder chosen carry
// over from one Execute to the next.
#pragma once
#include "controls/extended/VyShellFolderForm.h"
#include "vcl/Classes.h"
#include "vcl/Streams.h"

#include <memory>
#include <string>

namespace Vy {

class TVyShellDialog : public TComponent {
  QORN_CLASS(TVyShellDialog, TComponent)
 public:
  explicit TVyShellDialog(TComponent* AOwner) : TComponent(AOwner) {}

  // Runs the dialog modally; true when the user confirmed. Raises when this dialog
  // is already running.
  bool Execute();

  // -1: the window's own size.
  int GetFormWidth() const { return FFormWidth; }
  void SetFormWidth(int v) { FFormWidth = v; }
  int GetFormHeight() const { return FFormHeight; }
  void SetFormHeight(int v) { FFormHeight = v; }
  TWindowState GetFormWindowState() const { return FFormWindowState; }
  void SetFormWindowState(TWindowState v) { FFormWindowState = v; }

  // The window's size and state as 4 + 4 + 1 bytes; a state the window cannot take
  // raises EReadError and changes nothing.
  void ReadFormState(TStream& stream);
  void WriteFormState(TStream& stream) const;

  TNotifyEvent OnInitialized;
  TNotifyEvent OnFormShow;
  TNotifyEvent OnFormClose;

 protected:
  virtual void DoInitialized();
  virtual bool DoExecute() = 0;

 private:
  int FFormWidth = -1;
  int FFormHeight = -1;
  TWindowState FFormWindowState = wsNormal;
  bool FBusy = false;
};

class TVyCustomSelectFolderDialog : public TVyShellDialog {
  QORN_CLASS(TVyCustomSelectFolderDialog, TVyShellDialog)
 public:
  explicit TVyCustomSelectFolderDialog(TComponent* AOwner);

  const std::wstring& GetTitle() const { return FTitle; }
  void SetTitle(const std::wstring& v) { FTitle = v; }
  TVySelectFolderDialogOptions GetOptions() const { return FOptions; }
  void SetOptions(TVySelectFolderDialogOptions v) { FOptions = v; }
  // The tree's root; empty: the desktop.
  TVyShellLocator* GetBaseFolder() const { return FBaseFolder.get(); }
  void SetBaseFolder(TVyShellLocator* v) { FBaseFolder->Assign(v); }
  // Selected when the window opens; after OK, the folder chosen.
  TVyShellLocator* GetSelectedFolder() const { return FSelectedFolder.get(); }
  void SetSelectedFolder(TVyShellLocator* v) { FSelectedFolder->Assign(v); }
  const std::wstring& GetStatusText() const { return FStatusText; }
  void SetStatusText(const std::wstring& v) { FStatusText = v; }
  // The window while Execute runs, else null.
  TVySelectFolderForm* ActiveForm() const { return FActiveForm; }

  // The chosen folder's file-system path; empty for a folder without one.
  std::wstring GetSelectedPathName() const { return FSelectedFolder->PathName(); }

  TVyShAddItemEvent OnAddItem;
  TVyFolderBrowseSelChangeEvent OnSelChange;

 protected:
  bool DoExecute() override;
  virtual TVySelectFolderForm* CreateForm();
  virtual void SetupForm(TVySelectFolderForm* form);
  virtual void SaveFormState(TVySelectFolderForm* form);

 private:
  std::wstring FTitle;
  TVySelectFolderDialogOptions FOptions = kDefaultSelectFolderOptions;
  std::unique_ptr<TVyShellLocator> FBaseFolder;
  std::unique_ptr<TVyShellLocator> FSelectedFolder;
  std::wstring FStatusText;
  TVySelectFolderForm* FActiveForm = nullptr;
};

class TVySelectFolderDialog : public TVyCustomSelectFolderDialog {
  QORN_CLASS(TVySelectFolderDialog, TVyCustomSelectFolderDialog)
 public:
  explicit TVySelectFolderDialog(TComponent* AOwner) : TVyCustomSelectFolderDialog(AOwner) {}

 private:
  static void Publish(TPublisher<TVySelectFolderDialog>& p);
};

}  // namespace Vy
