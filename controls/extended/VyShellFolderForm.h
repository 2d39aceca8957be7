// TVySelectFolderForm: the window of the folder-selection dialog: the shell tree,
// buttons to make and delete folders, OK and Cancel, and a status bar with the
// selected folder's path shortened to fit. The dialog makes one for each Execute,
// sets it up (SetFormOptions and the tree's folders), shows it modally and frees it.
#pragma once
#include "controls/extended/VyPanel.h"
#include "controls/extended/VyShellTree.h"
#include "controls/extended/VyToolButton.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

namespace Vy {

QORN_ENUM(TVySelectFolderDialogOption, sfdoCreateDeleteButtons, sfdoContextMenus, sfdoReadOnly, sfdoIncludeNonFolders,
          sfdoOleDrag, sfdoOleDrop, sfdoCreateFolderIcon, sfdoDeleteFolderIcon, sfdoVirtualFolders, sfdoShowHidden);
using TVySelectFolderDialogOptions = TSet<TVySelectFolderDialogOption>;
// Context menus, both icons, hidden folders.
inline constexpr TVySelectFolderDialogOptions kDefaultSelectFolderOptions = TVySelectFolderDialogOptions::FromBits(706);

// The newly selected folder's absolute list.
using TVyFolderBrowseSelChangeEvent = TEvent<void(TObject* Sender, const ITEMIDLIST* AbsIdList)>;

class TVySelectFolderForm : public TForm {
  QORN_CLASS(TVySelectFolderForm, TForm)
 public:
  explicit TVySelectFolderForm(TComponent* AOwner) : TForm(AOwner) {}

  // The smallest size the user can drag the window to.
  static constexpr int kMinWidth = 366, kMinHeight = 340;

  TVyToolButton* BtnNewFolder = nullptr;
  TVyToolButton* BtnDeleteFolder = nullptr;
  TVyShellTree* ShellTree = nullptr;
  TPanel* ButtonPanel = nullptr;
  TButton* OkBtn = nullptr;
  TButton* CancelBtn = nullptr;
  TVyStatusBar* VyStatusBar1 = nullptr;
  TImageList* ImageList1 = nullptr;

  TVySelectFolderDialogOptions FormOptions() const { return FFormOptions; }
  // The tree's options and the buttons as the dialog's options say.
  virtual void SetFormOptions(TVySelectFolderDialogOptions options);
  void SetStatusText(const std::wstring& text) { VyStatusBar1->SetSimpleCaption(text); }

  TVyFolderBrowseSelChangeEvent OnSelChange;
  TNotifyEvent OnFormShow;
  TNotifyEvent OnFormClose;

  void FormCreate(TObject* Sender);
  void FormResize(TObject* Sender);
  void ShellTreeChange(TObject* Sender, TTreeNode* Node);
  void CreateBtnClick(TObject* Sender);
  void DeleteBtnClick(TObject* Sender);
  void WMGetMinMaxInfo(TMessage& m);

 protected:
  void DoShow() override;
  void DoHide() override;

 private:
  static void Publish(TPublisher<TVySelectFolderForm>& p);
  void TranslateCaptions();
  std::wstring FittedPath(const std::wstring& path);

  TVySelectFolderDialogOptions FFormOptions = kDefaultSelectFolderOptions;
};

}  // namespace Vy
