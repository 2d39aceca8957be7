#include "controls/extended/VyShellDialogs.h"

#include "controls/extended/VyShellTexts.h"
#include "vcl/Exceptions.h"
#include "vcl/ScopeGuards.h"

#include <cstdint>

namespace Vy {

// --- the base

bool TVyShellDialog::Execute() {
  if (FBusy) throw Exception(ClassName() + L" already executing");
  FBusy = true;
  const TOnExit idle([this] { FBusy = false; });
  return DoExecute();
}

void TVyShellDialog::DoInitialized() {
  if (OnInitialized) OnInitialized(this);
}

void TVyShellDialog::ReadFormState(TStream& stream) {
  std::int32_t width = 0, height = 0;
  std::uint8_t state = 0;
  stream.ReadBuffer(&width, sizeof(width));
  stream.ReadBuffer(&height, sizeof(height));
  stream.ReadBuffer(&state, sizeof(state));
  if (state > wsMaximized) throw EReadError(L"Invalid window state in the stream");
  FFormWidth = width;
  FFormHeight = height;
  FFormWindowState = TWindowState(state);
}

void TVyShellDialog::WriteFormState(TStream& stream) const {
  const std::int32_t width = FFormWidth, height = FFormHeight;
  const std::uint8_t state = std::uint8_t(FFormWindowState);
  stream.WriteBuffer(&width, sizeof(width));
  stream.WriteBuffer(&height, sizeof(height));
  stream.WriteBuffer(&state, sizeof(state));
}

// --- the folder dialog

TVyCustomSelectFolderDialog::TVyCustomSelectFolderDialog(TComponent* AOwner)
    : TVyShellDialog(AOwner),
      FBaseFolder(std::make_unique<TVyShellLocator>()),
      FSelectedFolder(std::make_unique<TVyShellLocator>()) {}

void TVySelectFolderDialog::Publish(TPublisher<TVySelectFolderDialog>& p) {
  using T = TVySelectFolderDialog;
  p.Property(L"Title", &T::GetTitle, &T::SetTitle);
  p.Property(L"FormWidth", &T::GetFormWidth, &T::SetFormWidth).Default(-1);
  p.Property(L"FormHeight", &T::GetFormHeight, &T::SetFormHeight).Default(-1);
  p.Property(L"FormWindowState", &T::GetFormWindowState, &T::SetFormWindowState).Default(wsNormal);
  p.Property(L"BaseFolder", &T::GetBaseFolder, &T::SetBaseFolder);
  p.Property(L"Options", &T::GetOptions, &T::SetOptions).Default(kDefaultSelectFolderOptions);
  p.Property(L"OnAddItem", &T::OnAddItem);
  p.Property(L"OnFormClose", &T::OnFormClose);
  p.Property(L"OnFormShow", &T::OnFormShow);
  p.Property(L"OnSelChange", &T::OnSelChange);
  p.Property(L"OnInitialized", &T::OnInitialized);
}

bool TVyCustomSelectFolderDialog::DoExecute() {
  if (FActiveForm) throw Exception(L"TVySelectFolderDialog form already active");
  // Busy while the window is made; the modal loop shows the arrow over the shown
  // window (the tree is busy only while it fills) and gives back the busy cursor it
  // found, so the caller's cursor is set again here.
  const TCursor saved = Screen->GetCursor();
  Screen->SetCursor(crHourGlass);
  const TOnExit idle([saved] { Screen->SetCursor(saved); });
  std::unique_ptr<TVySelectFolderForm> form(CreateForm());
  SetupForm(form.get());
  FActiveForm = form.get();
  const TOnExit inactive([this] { FActiveForm = nullptr; });
  DoInitialized();
  const bool confirmed = form->ShowModal() == mrOk;
  SaveFormState(form.get());
  return confirmed;
}

TVySelectFolderForm* TVyCustomSelectFolderDialog::CreateForm() {
  return ::CreateForm<TVySelectFolderForm>(Application);
}

void TVyCustomSelectFolderDialog::SetupForm(TVySelectFolderForm* form) {
  form->OnSelChange = OnSelChange;
  form->ShellTree->OnAddItem = OnAddItem;
  form->OnFormShow = OnFormShow;
  form->OnFormClose = OnFormClose;
  form->SetStatusText(FStatusText);
  if (GetFormWidth() > 0) form->SetWidth(GetFormWidth());
  if (GetFormHeight() > 0) form->SetHeight(GetFormHeight());
  form->SetWindowState(GetFormWindowState());
  form->SetFormOptions(FOptions);
  form->SetCaption(FTitle.empty() ? ShellTexts().BrowseForFolder : FTitle);
  form->ShellTree->SetBaseFolder(FBaseFolder.get());
  form->ShellTree->SetSelectedFolder(FSelectedFolder.get());
}

void TVyCustomSelectFolderDialog::SaveFormState(TVySelectFolderForm* form) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (form->HandleAllocated() && GetWindowPlacement(form->WindowHandle(), &placement)) {
    SetFormWidth(placement.rcNormalPosition.right - placement.rcNormalPosition.left);
    SetFormHeight(placement.rcNormalPosition.bottom - placement.rcNormalPosition.top);
  }
  SetFormWindowState(form->GetWindowState());
  if (form->GetModalResult() == mrOk) FSelectedFolder->Assign(form->ShellTree->GetSelectedFolder());
}

}  // namespace Vy
