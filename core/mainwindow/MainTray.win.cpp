#include "core/mainwindow/MainTray.h"

#include "core/mainwindow/TrayPictures.h"
#include "core/settings/GlobalProfileStep.h"
#include "core/settings/Profiles.h"
#include "core/settings/Settings.h"
#include "services/TrayNotify.h"
#include "vcl/System.h"

#include <cwchar>
#include <iterator>

namespace {
bool LockChangesInTray() { return MainSettings.osdshowlocks == 1 && MainSettings.rbtn_locks_showastray == 1; }
bool TrayShowsLocks() { return MainSettings.trayshowlocks == 1; }
bool OneIconPerLock() { return MainSettings.rbtn_trayshowlocks_multi == 1; }

// A menu caption shows "&" itself, not as an accelerator.
std::wstring MenuText(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'&') out += L'&';
    out += c;
  }
  return out;
}
}  // namespace

TMainTray::TMainTray(TParts parts, THooks hooks) : parts_(parts), hooks_(std::move(hooks)) {}

TMainTray::~TMainTray() {
  for (char lock : LockIconOrder) RemoveLockIcon(lock);
}

void TMainTray::ShowPicture(const std::string& name) {
  const int index = TrayPictureIndex(name);
  if (index >= 0 && index < parts_.Pictures.GetCount()) parts_.Icon.SetIconIndex(index);
}

void TMainTray::ShowNormalPicture() {
  ShowPicture(NormalTrayPicture(programOn_, TrayShowsLocks(), hooks_.LockState()));
}

void TMainTray::IndicateInTrayIcon(const std::string& Name, int Interval) {
  if (LockChangesInTray()) {
    ShowPicture(Name + "c");
    parts_.Changer.SetEnabled(false);
    parts_.Changer.SetInterval(static_cast<unsigned>(Interval));
    parts_.Changer.SetEnabled(true);
  } else {
    ShowNormalPicture();
  }
  if (TrayShowsLocks() && OneIconPerLock()) AddTrayCSNIcons(Name);
}

// The normal picture comes back; while the program is off that is the "off" picture.
void TMainTray::ChangerTick() {
  parts_.Changer.SetEnabled(false);
  ShowNormalPicture();
}

void TMainTray::AddTrayCSNIcons(const std::string& Name) {
  if (Name == "I1") {
    const std::string state = hooks_.LockState();  // Caps, Scroll, Num
    for (std::size_t i = 0; i < LockIconOrder.size() && i < state.size(); ++i)
      if (state[i] == '1') AddLockIcon(LockIconOrder[i]);
    return;
  }
  if (Name == "I0") {
    // Every icon that exists goes, also that of a lock turned off since.
    for (char lock : LockIconOrder) RemoveLockIcon(lock);
    return;
  }
  if (Name.size() < 2) return;
  if (Name[1] == '1')
    AddLockIcon(Name[0]);
  else if (Name[1] == '0')
    RemoveLockIcon(Name[0]);
}

void TMainTray::AddLockIcon(char lock) {
  const TLockIcon spec = LockIconOf(lock);
  if (spec.Picture < 0) return;
  auto& icon = lockIcons_[lock];
  if (!icon) icon = std::make_unique<TIcon>();
  parts_.Pictures.GetIcon(spec.Picture, icon.get());
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = parts_.Window;
  data.uID = static_cast<UINT>(spec.Picture);
  data.uFlags = NIF_ICON | NIF_TIP;
  data.hIcon = icon->GetHandle();
  std::wcsncpy(data.szTip, spec.Tip, std::size(data.szTip) - 1);
  // An icon already shown is refused by the shell; nothing else follows from it.
  TrayNotifier().Notify(NIM_ADD, data);
}

void TMainTray::RemoveLockIcon(char lock) {
  const auto it = lockIcons_.find(lock);
  if (it == lockIcons_.end()) return;
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = parts_.Window;
  data.uID = static_cast<UINT>(LockIconOf(lock).Picture);
  TrayNotifier().Notify(NIM_DELETE, data);
  lockIcons_.erase(it);
}

void TMainTray::FillProfileMenu() {
  parts_.ProfileMenu.Clear();
  const TProfileTable& table = hooks_.Profiles();
  const std::string active = hooks_.ActiveGlobalProfile();
  for (std::size_t i = 1; i <= table.Count && i <= TProfileTable::MaxProfiles; ++i) {
    const TProfileEntry& entry = table.Entries[i];
    if (entry.Kind.str() != GlobalProfileKind) continue;
    auto* item = new TMenuItem(&parts_.ProfileMenu);
    item->SetCaption(MenuText(AnsiToString(entry.Name.str())));
    item->SetChecked(entry.Name.str() == active);
    // The entry's place, not its caption, says which profile it is.
    item->SetTag(static_cast<intptr_t>(i));
    item->OnClick = [this](TObject* sender) { ProfileMenuClick(*static_cast<TMenuItem*>(sender)); };
    parts_.ProfileMenu.Add(item);
  }
}

void TMainTray::ProfileMenuClick(TMenuItem& Item) {
  const TProfileTable& table = hooks_.Profiles();
  const auto index = static_cast<std::size_t>(Item.Tag());
  if (index < 1 || index > table.Count || index > TProfileTable::MaxProfiles) return;
  const TProfileEntry& entry = table.Entries[index];
  if (entry.Kind.str() != GlobalProfileKind) return;
  hooks_.LoadGlobalProfile(entry.Name.str());
}

void TMainTray::OnOff() {
  programOn_ = !programOn_;
  hooks_.SwitchKeys(programOn_);
  // Without a language the item keeps a text: the window's own.
  parts_.OnOffItem.SetCaption(programOn_ ? hooks_.Text("Str.TurnOff", L"Отключить")
                                         : hooks_.Text("Str.TurnOn", L"Включить"));
  parts_.OnOffItem.SetImageIndex(programOn_ ? 1 : 0);
  ShowNormalPicture();
}

void TMainTray::ActivateNextPrevProfile(int Direction) {
  const TProfileTable& table = hooks_.Profiles();
  const auto step = StepGlobalProfile(table, hooks_.ActiveGlobalProfile(), Direction);
  if (!step) return;
  const std::string name = table.Entries[step->Entry].Name.str();
  hooks_.LoadGlobalProfile(name);
  const std::wstring caption = Direction > 0 ? L"Следующий глобальный профиль" : L"Предыдущий глобальный профиль";
  const std::wstring position = std::to_wstring(step->Position) + L"/" + std::to_wstring(step->Count);
  const std::wstring body = (L"Текущий профиль: " + AnsiToString(name)).substr(0, 42);
  hooks_.ShowPopup(caption, position, body);
}

void TMainTray::LockDisplayChanged() {
  ShowNormalPicture();
  AddTrayCSNIcons(TrayShowsLocks() && OneIconPerLock() ? "I1" : "I0");
}

void TMainTray::RefreshHint(const std::wstring& countLabel, const std::wstring& count) {
  if (count.empty()) return;
  parts_.Icon.SetHint(L"Qorn \r\n" + countLabel + L" " + count);
}
