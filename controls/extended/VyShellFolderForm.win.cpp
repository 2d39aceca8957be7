#include "controls/extended/VyShellFolderForm.h"

#include "controls/extended/VyShellPathText.h"
#include "controls/extended/VyShellTexts.h"

namespace Vy {

void TVySelectFolderForm::Publish(TPublisher<TVySelectFolderForm>& p) {
  using T = TVySelectFolderForm;
  p.Field(L"BtnNewFolder", &T::BtnNewFolder);
  p.Field(L"BtnDeleteFolder", &T::BtnDeleteFolder);
  p.Field(L"ShellTree", &T::ShellTree);
  p.Field(L"ButtonPanel", &T::ButtonPanel);
  p.Field(L"OkBtn", &T::OkBtn);
  p.Field(L"CancelBtn", &T::CancelBtn);
  p.Field(L"VyStatusBar1", &T::VyStatusBar1);
  p.Field(L"ImageList1", &T::ImageList1);
  p.Handler(L"FormCreate", &T::FormCreate);
  p.Handler(L"FormResize", &T::FormResize);
  p.Handler(L"ShellTreeChange", &T::ShellTreeChange);
  p.Handler(L"CreateBtnClick", &T::CreateBtnClick);
  p.Handler(L"DeleteBtnClick", &T::DeleteBtnClick);
  p.Message(WM_GETMINMAXINFO, &T::WMGetMinMaxInfo);
}

void TVySelectFolderForm::SetFormOptions(TVySelectFolderDialogOptions options) {
  FFormOptions = options;
  TVyShellTreeOptions tree = ShellTree->GetOptions();
  const auto match = [&](TVyShellTreeOption to, TVySelectFolderDialogOption from) {
    if (options.Contains(from)) tree.Include(to);
    else tree.Exclude(to);
  };
  match(stoOleDrag, sfdoOleDrag);
  match(stoOleDrop, sfdoOleDrop);
  match(stoIncludeNonFolders, sfdoIncludeNonFolders);
  match(stoVirtualFolders, sfdoVirtualFolders);
  match(stoContextMenus, sfdoContextMenus);
  match(stoShowHidden, sfdoShowHidden);
  ShellTree->SetOptions(tree);
  const bool buttons = options.Contains(sfdoCreateDeleteButtons);
  BtnNewFolder->SetVisible(buttons);
  BtnDeleteFolder->SetVisible(buttons);
  BtnNewFolder->SetImageIndex(options.Contains(sfdoCreateFolderIcon) ? 0 : -1);
  BtnDeleteFolder->SetImageIndex(options.Contains(sfdoDeleteFolderIcon) ? 2 : -1);
  if (!options.Contains(sfdoCreateFolderIcon) || !options.Contains(sfdoDeleteFolderIcon)) {
    BtnNewFolder->SetFlat(false);
    BtnDeleteFolder->SetFlat(false);
  }
  ShellTree->SetReadOnly(options.Contains(sfdoReadOnly));
  FormResize(this);
}

void TVySelectFolderForm::FormCreate(TObject*) {
  ShellTree->SetShowRoot(true);
  // Below the button panel, both being at the bottom.
  VyStatusBar1->SetTop(GetHeight());
}

void TVySelectFolderForm::DoShow() {
  TForm::DoShow();
  GetFont()->SetName(ShellTexts().FontName);
  ShellTree->SetOptions(ShellTree->GetOptions() + TVyShellTreeOptions{stoAutoFill});
  ShellTree->FillTree();
  TranslateCaptions();
  if (OnFormShow) OnFormShow(this);
}

void TVySelectFolderForm::DoHide() {
  TForm::DoHide();
  if (OnFormClose) OnFormClose(this);
}

void TVySelectFolderForm::TranslateCaptions() {
  const TVyShellTexts& texts = ShellTexts();
  OkBtn->SetCaption(texts.Ok);
  CancelBtn->SetCaption(texts.Cancel);
  BtnNewFolder->SetCaption(texts.CreateFolder);
  BtnDeleteFolder->SetCaption(texts.Delete);
  if (GetCaption().empty()) SetCaption(texts.BrowseForFolder);
}

void TVySelectFolderForm::WMGetMinMaxInfo(TMessage& m) {
  QORN_INHERITED(m);
  if (auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam)) {
    info->ptMinTrackSize.x = kMinWidth;
    info->ptMinTrackSize.y = kMinHeight;
  }
}

std::wstring TVySelectFolderForm::FittedPath(const std::wstring& path) {
  TCanvas* canvas = GetCanvas();
  canvas->GetFont()->Assign(VyStatusBar1->GetFont());
  return ShortenPathToFit(
      path, [canvas](const std::wstring& text) { return canvas->TextWidth(text); }, VyStatusBar1->GetWidth() - 20);
}

void TVySelectFolderForm::FormResize(TObject*) {
  if (!ShellTree || !ButtonPanel) return;
  int top = 8;
  if (BtnNewFolder->GetVisible()) top = BtnNewFolder->GetTop() + BtnNewFolder->GetHeight() + 4;
  else if (BtnDeleteFolder->GetVisible()) top = BtnDeleteFolder->GetTop() + BtnDeleteFolder->GetHeight() + 4;
  const int left = ShellTree->GetLeft();
  ShellTree->SetBounds(left, top, GetWidth() - 24, ButtonPanel->GetTop() - 4 - top);
  CancelBtn->SetLeft(ButtonPanel->GetClientWidth() - CancelBtn->GetWidth() - 8);
  OkBtn->SetLeft(CancelBtn->GetLeft() - OkBtn->GetWidth() - 8);
  if (TVyShellTreeData* data = ShellTree->ShellData(ShellTree->GetSelectedNode()))
    SetStatusText(FittedPath(data->PathName()));
}

void TVySelectFolderForm::ShellTreeChange(TObject*, TTreeNode* Node) {
  TVyShellTreeData* data = ShellTree->ShellData(Node);
  if (!data) return;
  const std::wstring path = data->PathName();
  SetStatusText(FittedPath(path));
  BtnNewFolder->SetEnabled(!path.empty());
  BtnDeleteFolder->SetEnabled(!path.empty() && Node->AbsoluteIndex() != 0);
  if (OnSelChange) OnSelChange(this, data->AbsIdList());
}

void TVySelectFolderForm::CreateBtnClick(TObject*) { ShellTree->CreateNewFolder(); }

void TVySelectFolderForm::DeleteBtnClick(TObject*) { ShellTree->DoCommandForNode(ShellTree->GetSelected(), L"delete"); }

}  // namespace Vy
