#include "core/mainwindow/FrameProfile.h"

#include <algorithm>
#include <cwctype>

#include "core/language/Language.h"
#include "core/language/LanguageTranslate.h"
#include "services/ProcessList.h"
#include "vcl/ImgList.h"
#include "vcl/System.h"
#include "vcl/Win.h"

namespace {
// Posted to the page itself: the host closes (and may free) it once the click that
// asked for it has returned.
constexpr unsigned WM_CLOSEPAGE = WM_APP + 1;

std::wstring Replaced(std::wstring text, std::wstring_view what, std::wstring_view with) {
  for (std::size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

bool SameTextNoCase(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}
}  // namespace

std::optional<std::string> ProgramPathForProfile(const std::wstring& typed) {
  if (typed.empty()) return std::nullopt;
  std::wstring full(MAX_PATH, L'\0');
  DWORD n = GetFullPathNameW(typed.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n >= full.size()) {
    full.resize(n);
    n = GetFullPathNameW(typed.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  }
  if (n == 0 || n >= full.size()) return std::nullopt;
  full.resize(n);
  const DWORD attributes = GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  // The long form: the process list reports the long path of a running program.
  std::wstring longPath(MAX_PATH, L'\0');
  n = GetLongPathNameW(full.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
  if (n >= longPath.size()) {
    longPath.resize(n);
    n = GetLongPathNameW(full.c_str(), longPath.data(), static_cast<DWORD>(longPath.size()));
  }
  if (n == 0 || n >= longPath.size()) return std::nullopt;
  longPath.resize(n);
  CharLowerBuffW(longPath.data(), static_cast<DWORD>(longPath.size()));
  // The table keeps the path in the system code page: one it cannot spell would
  // name another file, or none.
  std::string ansi = StringToAnsi(longPath);
  if (AnsiToString(ansi) != longPath || ansi.size() > TShortString<255>::Capacity) return std::nullopt;
  return ansi;
}

// What the manager asks and tells, through the dialog service and the language.
class TFrameProfile::TDialogs final : public IProfileDialogs {
 public:
  explicit TDialogs(TFrameProfile& frame) : frame_(frame) {}
  TSaveChangesAnswer AskSaveChanges(const std::string& profile) override {
    const std::wstring text = message(frame_.host_->Language().GetLngMessage(L"SaveChProfile"), profile);
    switch (MessageDlg(text, mtConfirmation, {mbYes, mbNo, mbCancel})) {
      case mrYes: return TSaveChangesAnswer::Save;
      case mrNo: return TSaveChangesAnswer::Discard;
      default: return TSaveChangesAnswer::Cancel;
    }
  }
  std::optional<std::string> AskProfileName() override {
    std::wstring name;
    if (!InputQuery(frame_.text(L"Str.SaveProfileAs"), frame_.text(L"Str.SaveEnterProfileName"), name))
      return std::nullopt;
    return StringToAnsi(name);
  }
  bool AskOverwrite(const std::string& profile) override {
    const std::wstring text = message(frame_.host_->Language().GetLngMessage(L"OverwriteProfileQ"), profile);
    return MessageDlg(text, mtConfirmation, {mbYes, mbNo}) == mrYes;
  }
  void Tell(std::wstring_view name, const std::string& profile) override {
    MessageDlg(message(frame_.host_->Language().GetLngMessage(name), profile), mtWarning, {mbOK});
  }

 private:
  static std::wstring message(const std::wstring& text, const std::string& profile) {
    return Replaced(Replaced(text, L"\\n", L"\r\n"), L"%n", AnsiToString(profile));
  }
  TFrameProfile& frame_;
};

TFrameProfile::TFrameProfile(TComponent* AOwner) : TFrame(AOwner) {}

TFrameProfile::~TFrameProfile() = default;

void TFrameProfile::Publish(TPublisher<TFrameProfile>& p) {
  p.Message(WM_CLOSEPAGE, &TFrameProfile::WMClosePage);
  p.Field(L"pfltable", &TFrameProfile::pfltable);
  p.Field(L"L_ActivePfl", &TFrameProfile::L_ActivePfl);
  p.Field(L"B_SetActive", &TFrameProfile::B_SetActive);
  p.Field(L"B_SaveAs", &TFrameProfile::B_SaveAs);
  p.Field(L"B_Edit", &TFrameProfile::B_Edit);
  p.Field(L"B_Delete", &TFrameProfile::B_Delete);
  p.Field(L"B_Create", &TFrameProfile::B_Create);
  p.Field(L"B_Save", &TFrameProfile::B_Save);
  p.Field(L"B_SetToApp", &TFrameProfile::B_SetToApp);
  p.Field(L"B_Close", &TFrameProfile::B_Close);
  p.Field(L"L_Program", &TFrameProfile::L_Program);
  p.Field(L"VyButtonEdit1", &TFrameProfile::VyButtonEdit1);
  p.Field(L"browsexewnd", &TFrameProfile::browsexewnd);
  p.Field(L"AddExceptProgMenu", &TFrameProfile::AddExceptProgMenu);
  p.Field(L"AddExceptProgMenuOpen", &TFrameProfile::AddExceptProgMenuOpen);
  p.Field(L"AddExceptProgMenuTasks", &TFrameProfile::AddExceptProgMenuTasks);
  p.Handler(L"B_SetActiveClick", &TFrameProfile::B_SetActiveClick);
  p.Handler(L"B_SaveAsClick", &TFrameProfile::B_SaveAsClick);
  p.Handler(L"B_EditClick", &TFrameProfile::B_EditClick);
  p.Handler(L"B_DeleteClick", &TFrameProfile::B_DeleteClick);
  p.Handler(L"B_SaveClick", &TFrameProfile::B_SaveClick);
  p.Handler(L"B_CreateClick", &TFrameProfile::B_CreateClick);
  p.Handler(L"B_SetToAppClick", &TFrameProfile::B_SetToAppClick);
  p.Handler(L"B_CloseClick", &TFrameProfile::B_CloseClick);
  p.Handler(L"VyButtonEdit1ButtonClick", &TFrameProfile::VyButtonEdit1ButtonClick);
  p.Handler(L"VyButtonEdit1AltBtnClick", &TFrameProfile::VyButtonEdit1AltBtnClick);
  p.Handler(L"AddExceptProgMenuOpenClick", &TFrameProfile::AddExceptProgMenuOpenClick);
  p.Handler(L"AddExceptProgMenuTasksClick", &TFrameProfile::AddExceptProgMenuTasksClick);
}

void TFrameProfile::Attach(IProfileFrameHost& host) {
  host_ = &host;
  // The framed list view does not publish its selection event for form resources.
  pfltable->OnSelectItem = TLVSelectItemEvent(this, &TFrameProfile::pfltableSelectItem);
  dialogs_ = std::make_unique<TDialogs>(*this);
  manager_ = std::make_unique<TProfileManager>(host.ProfileStore(), ProfileState, *dialogs_);
}

std::wstring TFrameProfile::text(const wchar_t* key, const wchar_t* otherwise) const {
  return host_ ? host_->Language().GetLngString(std::wstring_view(key), otherwise) : otherwise;
}

void TFrameProfile::FillTable() {
  if (!manager_) return;
  ::TranslateComponents(host_->Language(), *this);
  // Which rows are global is the entries' kind; the comment only shows it.
  const std::wstring globalText = text(L"Str.GlobalProfile", L"Global profile");
  TListItems* items = pfltable->GetItems();
  items->BeginUpdate();
  items->Clear();
  for (const TProfileRow& row : manager_->Rows()) {
    TListItem* item = items->Add();
    item->SetCaption(AnsiToString(row.Name));
    item->SubItems()->Add(row.Global() ? globalText : AnsiToString(row.Kind));
  }
  items->EndUpdate();
  L_ActivePfl->SetCaption(text(L"Str.CurrentProfile", L"Current profile") + L": " +
                          AnsiToString(ProfileState.ActiveGlobalProfile));
  updateButtons();
}

std::string TFrameProfile::SelectedProfile() const {
  const TListItem* item = pfltable ? pfltable->GetSelected() : nullptr;
  return item ? StringToAnsi(item->GetCaption()) : std::string();
}

// Buttons follow the selection and the mode: while binding, only the program box
// and the OK buttons are live.
void TFrameProfile::updateButtons() {
  const bool binding = BindingMode();
  const std::string selected = SelectedProfile();
  const bool any = !selected.empty();
  bool global = false;
  if (manager_)
    for (const TProfileRow& row : manager_->Rows())
      if (row.Name == selected) global = row.Global();
  pfltable->SetEnabled(!binding);
  B_SetActive->SetEnabled(!binding && global);
  B_Edit->SetEnabled(!binding && any);
  B_Delete->SetEnabled(!binding && any);
  B_SetToApp->SetEnabled(binding || any);
  B_SaveAs->SetEnabled(!binding);
  B_Create->SetEnabled(!binding);
  B_Save->SetEnabled(!binding && ProfileState.ProfileModified == 1);
  VyButtonEdit1->SetEnabled(binding);
}

void TFrameProfile::pfltableSelectItem(TObject*, TListItem*, bool) {
  if (!manager_ || BindingMode()) return;
  const std::string selected = SelectedProfile();
  std::wstring program;
  for (const TProfileRow& row : manager_->Rows())
    if (row.Name == selected && !row.Global()) program = AnsiToString(row.Kind);
  VyButtonEdit1->SetText(program);
  updateButtons();
}

void TFrameProfile::apply(const TProfileEffects& effects) {
  if (effects.ProfilesChanged) host_->ProfilesChanged();
  if (effects.EditListSaved) host_->EditListSaved();
  if (effects.ClosePage) {
    closePage();
    return;
  }
  FillTable();
}

void TFrameProfile::B_SetActiveClick(TObject*) {
  if (manager_) apply(manager_->SetActive(SelectedProfile()));
}

void TFrameProfile::B_SaveClick(TObject*) {
  if (manager_) apply(manager_->Save());
}

void TFrameProfile::B_SaveAsClick(TObject*) {
  if (manager_) apply(manager_->SaveAs());
}

void TFrameProfile::B_CreateClick(TObject*) {
  if (manager_) apply(manager_->Create());
}

void TFrameProfile::B_EditClick(TObject*) {
  if (manager_) apply(manager_->Edit(SelectedProfile()));
}

void TFrameProfile::B_DeleteClick(TObject*) {
  if (manager_) apply(manager_->Delete(SelectedProfile()));
}

void TFrameProfile::B_SetToAppClick(TObject*) {
  if (!manager_) return;
  if (BindingMode()) leaveBindingMode();
  else enterBindingMode();
}

void TFrameProfile::enterBindingMode() {
  B_SetToApp->SetTag(1);
  B_SetToApp->SetCaption(L"OK");
  updateButtons();
  if (VyButtonEdit1->CanFocus()) VyButtonEdit1->SetFocus();
}

void TFrameProfile::leaveBindingMode() {
  B_SetToApp->SetTag(0);
  B_SetToApp->SetCaption(text(L"FrameProfile.B_SetToApp", L"Assign to a program"));
  const std::string selected = SelectedProfile();
  TProfileEffects effects;
  // A box that names no existing program changes nothing.
  if (const std::optional<std::string> program = ProgramPathForProfile(VyButtonEdit1->GetText());
      program && !selected.empty())
    effects = manager_->BindToProgram(selected, *program);
  pfltable->SetItemIndex(-1);
  VyButtonEdit1->SetText(L"");
  apply(effects);
}

void TFrameProfile::B_CloseClick(TObject*) {
  if (BindingMode()) leaveBindingMode();
  closePage();
}

void TFrameProfile::closePage() { PostMessageW(GetHandle(), WM_CLOSEPAGE, 0, 0); }

void TFrameProfile::WMClosePage(TMessage& m) {
  m.Result = 0;
  if (host_) host_->ClosePage();
}

void TFrameProfile::VyButtonEdit1ButtonClick(TObject* Sender) { AddExceptProgMenuOpenClick(Sender); }

void TFrameProfile::AddExceptProgMenuOpenClick(TObject*) {
  browsexewnd->SetFileName(VyButtonEdit1->GetText());
  if (browsexewnd->Execute()) VyButtonEdit1->SetText(browsexewnd->GetFileName());
}

void TFrameProfile::AddExceptProgMenuTasksClick(TObject*) {}

void TFrameProfile::FillRunningProgramsMenu() {
  AddExceptProgMenuTasks->Clear();
  if (!programIcons_) {
    programIcons_ = std::make_unique<TCustomImageList>(nullptr);
    programIcons_->SetShareImages(true);  // the shell's own list: never destroyed here
    programIcons_->SetHandle(GetSystemImageList(16));
    AddExceptProgMenuTasks->SetSubMenuImages(programIcons_.get());
  }
  TacProcesses& processes = Processes();
  processes.Refresh();
  std::vector<std::wstring> listed;
  for (int i = 0; i < processes.Count(); ++i) {
    const std::wstring path = processes.Items(i)->GetExePath();
    if (path.empty()) continue;
    // One item per program, however many copies run.
    if (std::any_of(listed.begin(), listed.end(), [&](const std::wstring& p) { return SameTextNoCase(p, path); }))
      continue;
    listed.push_back(path);
    auto* item = new TMenuItem(this);
    item->SetCaption(path);
    item->SetImageIndex(GetFileIconIndex(path));
    item->OnClick = [this, path](TObject*) { VyButtonEdit1->SetText(path); };
    AddExceptProgMenuTasks->Add(item);
  }
}

void TFrameProfile::VyButtonEdit1AltBtnClick(TObject*) {
  FillRunningProgramsMenu();
  POINT at{};
  GetCursorPos(&at);
  AddExceptProgMenu->Popup(at.x, at.y);
}
