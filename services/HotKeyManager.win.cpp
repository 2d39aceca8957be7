#include "services/HotKeyManager.h"

#include "vcl/WindowHost.h"

#include <algorithm>
#include <cwctype>
#include <mutex>

namespace {

// Localised modifier names, learnt from the user's layout the first time a
// localised text is asked for.
const THotKeyModifierNames& LocalModifierNames();

std::wstring LayoutKeyName(unsigned virtualKey, HKL layout) {
  const unsigned scan = layout ? MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout)
                               : MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
  const std::int32_t parameter = HotKeyNameParameter(virtualKey, scan);
  if (parameter == 0) return {};
  wchar_t name[256] = {};
  const int length = GetKeyNameTextW(parameter, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

// The US English layout for the plain texts. It is loaded only when such a text is
// first asked for (so the user's language list does not gain it for nothing), kept
// for later texts, and unloaded at the end when this program loaded it.
class TUsLayout {
 public:
  static TUsLayout& Get() {
    static TUsLayout layout;
    return layout;
  }
  HKL Handle() {
    std::call_once(once_, [this] {
      HKL before[100];
      const int count = GetKeyboardLayoutList(100, before);
      handle_ = LoadKeyboardLayoutW(L"00000409", KLF_NOTELLSHELL);
      mustUnload_ = handle_ && std::find(before, before + std::max(count, 0), handle_) == before + std::max(count, 0);
    });
    return handle_;
  }
  ~TUsLayout() {
    if (mustUnload_) UnloadKeyboardLayout(handle_);
  }

 private:
  std::once_flag once_;
  HKL handle_ = nullptr;
  bool mustUnload_ = false;
};

std::wstring KeyNameInLayout(unsigned virtualKey, bool localized) {
  if (localized) return LayoutKeyName(virtualKey, nullptr);
  HKL us = TUsLayout::Get().Handle();
  HKL current = GetKeyboardLayout(0);
  if (!us || us == current) return LayoutKeyName(virtualKey, us);
  // GetKeyNameText reads the thread's layout: switch to US for the one call.
  ActivateKeyboardLayout(us, 0);
  std::wstring name = LayoutKeyName(virtualKey, us);
  ActivateKeyboardLayout(current, 0);
  return name;
}

const THotKeyModifierNames& LocalModifierNames() {
  static const THotKeyModifierNames names = [] {
    THotKeyModifierNames n;
    n.Shift = HotKeyKeyName(VK_SHIFT, KeyNameInLayout(VK_SHIFT, true));
    n.Ctrl = HotKeyKeyName(VK_CONTROL, KeyNameInLayout(VK_CONTROL, true));
    n.Alt = HotKeyKeyName(VK_MENU, KeyNameInLayout(VK_MENU, true));
    // Layouts that spell modifiers in capitals ("STRG", "ALT") get "WIN" to match.
    const bool capitals = std::all_of(n.Alt.begin(), n.Alt.end(), [](wchar_t c) { return c >= L'A' && c <= L'Z'; });
    if (capitals) n.Win = L"WIN";
    return n;
  }();
  return names;
}

}  // namespace

THotKeyManager::THotKeyManager(TComponent* AOwner) : TComponent(AOwner) {
  FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

THotKeyManager::~THotKeyManager() {
  ClearHotKeys();
  DeallocateHWnd(FWindow);
}

void THotKeyManager::Publish(TPublisher<THotKeyManager>& p) {
  p.Property(L"OnHotKeyPressed", &THotKeyManager::OnHotKeyPressed);
}

std::uint16_t THotKeyManager::AddHotKey(THotKeyValue Value) noexcept {
  const THotKeyParts parts = SplitHotKeyValue(Value);
  const ATOM id = GlobalAddAtomW(HotKeyAtomName(Value).c_str());
  if (id == 0) return 0;
  if (!RegisterHotKey(FWindow, id, parts.Modifiers, parts.VirtualKey)) {
    GlobalDeleteAtom(id);
    return 0;
  }
  try {
    FEntries.push_back({Value, id});
  } catch (...) {
    UnregisterHotKey(FWindow, id);
    GlobalDeleteAtom(id);
    return 0;
  }
  return id;
}

bool THotKeyManager::Unregister(const TEntry& entry) noexcept {
  const bool ok = UnregisterHotKey(FWindow, entry.Id) != FALSE;
  GlobalDeleteAtom(entry.Id);
  return ok;
}

bool THotKeyManager::RemoveHotKey(THotKeyValue Value) noexcept {
  auto it = std::find_if(FEntries.begin(), FEntries.end(), [&](const TEntry& e) { return e.Value == Value; });
  if (it == FEntries.end()) return false;
  const TEntry entry = *it;
  FEntries.erase(it);
  return Unregister(entry);
}

void THotKeyManager::ClearHotKeys() noexcept {
  while (!FEntries.empty()) {
    const TEntry entry = FEntries.back();
    FEntries.pop_back();
    Unregister(entry);
  }
}

void THotKeyManager::WndProc(TMessage& Message) {
  if (Message.Msg == WM_HOTKEY && OnHotKeyPressed) {
    // Matched by value, not id: a message still queued for a value removed since
    // fires nothing.
    const THotKeyValue value = HotKeyValueFromParts(Message.LParamLo(), Message.LParamHi());
    const bool listed =
        std::any_of(FEntries.begin(), FEntries.end(), [&](const TEntry& e) { return e.Value == value; });
    if (listed) OnHotKeyPressed(value, Message.WParamLo());
  }
  DefaultWindowMessage(FWindow, Message);
}

std::wstring THotKeyManager::HotKeyValueToText(THotKeyValue Value, bool Localized) {
  const THotKeyModifierNames plain;
  const THotKeyModifierNames& names = Localized ? LocalModifierNames() : plain;
  const unsigned key = Value & 0xFF;
  return HotKeyModifierPrefix(Value, names) + HotKeyKeyName(key, KeyNameInLayout(key, Localized));
}

QORN_REGISTER_CLASS(THotKeyManager);
