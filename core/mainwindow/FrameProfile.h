// The profile manager page: the table of profiles, the active global profile, and
// the buttons that make a profile active, create, edit, save, save under another
// name, delete, and bind a profile to a program (from a file or from the running
// programs). The decisions are TProfileManager's; the frame shows, asks and tells.
//
// The main window makes it when its profile button opens the page:
//
//   frame = CreateFrame<TFrameProfile>(owner);
//   frame->Attach(host);          // IProfileFrameHost, e.g. TMainFormProfileHost
//   frame->SetParent(pfp);
//   frame->SetAlign(alClient);
//   frame->FillTable();
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "controls/extended/VyBtnEdt.h"
#include "controls/extended/VyListVw.h"
#include "controls/visual/SevenButton.h"
#include "core/mainwindow/ProfileManager.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

class TLanguage;

// What the page needs of the window that hosts it.
class IProfileFrameHost {
 public:
  virtual ~IProfileFrameHost() = default;
  virtual TProfileStore& ProfileStore() = 0;
  virtual const TLanguage& Language() = 0;
  // Profiles the keys use changed: the per-program profiles are read again and the
  // key engine told.
  virtual void ProfilesChanged() = 0;
  // The edit list holds what its file holds: the key list's Save button goes off.
  virtual void EditListSaved() = 0;
  // The page closes (the key list shows again). Called from the page's own message
  // queue, after the click that asked for it is over: the host may free the page.
  virtual void ClosePage() = 0;
};

// The program path as the key road compares it: the full long path of an existing
// file, lower-cased as Windows folds it, in the system code page. Nothing for a
// path that names no file, or one the profile table cannot hold.
std::optional<std::string> ProgramPathForProfile(const std::wstring& typed);

class TFrameProfile : public TFrame {
  QORN_CLASS(TFrameProfile, TFrame)
 public:
  explicit TFrameProfile(TComponent* AOwner);
  ~TFrameProfile() override;

  // Before FillTable; the host outlives the frame.
  void Attach(IProfileFrameHost& host);
  // The page's texts in the current language, the table, the active profile, and
  // the Save button (on while the edit list has unsaved changes).
  void FillTable();
  // The selected row's profile name; empty when none.
  std::string SelectedProfile() const;
  bool BindingMode() const { return B_SetToApp && B_SetToApp->Tag() == 1; }

  Vy::TVyListView* pfltable = nullptr;
  TLabel* L_ActivePfl = nullptr;
  Flat::TSevenButton* B_SetActive = nullptr;
  Flat::TSevenButton* B_SaveAs = nullptr;
  Flat::TSevenButton* B_Edit = nullptr;
  Flat::TSevenButton* B_Delete = nullptr;
  Flat::TSevenButton* B_Create = nullptr;
  Flat::TSevenButton* B_Save = nullptr;
  Flat::TSevenButton* B_SetToApp = nullptr;
  Flat::TSevenButton* B_Close = nullptr;
  TLabel* L_Program = nullptr;
  Vy::TVyButtonEdit* VyButtonEdit1 = nullptr;
  TOpenDialog* browsexewnd = nullptr;
  TPopupMenu* AddExceptProgMenu = nullptr;
  TMenuItem* AddExceptProgMenuOpen = nullptr;
  TMenuItem* AddExceptProgMenuTasks = nullptr;

  void B_SetActiveClick(TObject* Sender);
  void B_SaveAsClick(TObject* Sender);
  void B_EditClick(TObject* Sender);
  void B_DeleteClick(TObject* Sender);
  void B_SaveClick(TObject* Sender);
  void B_CreateClick(TObject* Sender);
  void B_SetToAppClick(TObject* Sender);
  void B_CloseClick(TObject* Sender);
  void pfltableSelectItem(TObject* Sender, TListItem* Item, bool Selected);
  void VyButtonEdit1ButtonClick(TObject* Sender);
  void VyButtonEdit1AltBtnClick(TObject* Sender);
  void AddExceptProgMenuOpenClick(TObject* Sender);
  void AddExceptProgMenuTasksClick(TObject* Sender);
  void WMClosePage(TMessage& m);

  // The running programs, as the program box's second button lists them (also
  // what a test checks before the menu pops up).
  void FillRunningProgramsMenu();

 private:
  static void Publish(TPublisher<TFrameProfile>& p);
  class TDialogs;

  void apply(const TProfileEffects& effects);
  void closePage();
  void enterBindingMode();
  void leaveBindingMode();
  void updateButtons();
  std::wstring text(const wchar_t* key, const wchar_t* otherwise = L"") const;

  IProfileFrameHost* host_ = nullptr;
  std::unique_ptr<TDialogs> dialogs_;
  std::unique_ptr<TProfileManager> manager_;
  std::unique_ptr<TCustomImageList> programIcons_;
};
