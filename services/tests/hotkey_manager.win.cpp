// THotKeyManager against the system: hot keys really registered under their atoms,
// refused to a second window, and reported from WM_HOTKEY only while listed.
// ctest-lock: keyboard (the hot keys are system-wide: keys other tests type would become ours)
#include <gtest/gtest.h>

#include "services/HotKeyManager.h"
#include "testing/WinTesting.h"

#include <chrono>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct TPress {
  THotKeyValue value;
  std::uint16_t id;
};

void PumpWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// What the system sends for a press: the modifiers low, the key high.
void PostHotKey(HWND wnd, std::uint16_t id, unsigned modifiers, unsigned key) {
  PostMessageW(wnd, WM_HOTKEY, id, MAKELPARAM(modifiers, key));
}

TEST(HotKeyManager, RegistersUnderTheAtomOfItsValue) {
  THotKeyManager manager(nullptr);
  const std::uint16_t id = manager.AddHotKey(0x4041);  // Ctrl+A
  ASSERT_NE(id, 0);
  EXPECT_EQ(GlobalFindAtomW(L"HotKeyManagerHotKey16449"), id);
  // The system holds it: registering the same combination again on our window fails.
  EXPECT_FALSE(RegisterHotKey(manager.Handle(), 0x7001, MOD_CONTROL, 'A'));
  EXPECT_TRUE(manager.RemoveHotKey(0x4041));
  EXPECT_EQ(GlobalFindAtomW(L"HotKeyManagerHotKey16449"), 0) << "the atom reference is given back";
  ASSERT_TRUE(RegisterHotKey(manager.Handle(), 0x7001, MOD_CONTROL, 'A')) << "the key is free again";
  UnregisterHotKey(manager.Handle(), 0x7001);
}

TEST(HotKeyManager, ASecondWindowIsRefusedTheSameCombination) {
  THotKeyManager first(nullptr);
  THotKeyManager second(nullptr);
  const std::uint16_t id = first.AddHotKey(0xA070);  // Alt+Shift+F1
  ASSERT_NE(id, 0);
  EXPECT_EQ(second.AddHotKey(0xA070), 0);
  EXPECT_FALSE(second.RemoveHotKey(0xA070)) << "the refused value was not kept";
  EXPECT_EQ(GlobalFindAtomW(L"HotKeyManagerHotKey41072"), id) << "the refusal left the first's atom alone";
  first.ClearHotKeys();
  EXPECT_EQ(GlobalFindAtomW(L"HotKeyManagerHotKey41072"), 0);
  EXPECT_NE(second.AddHotKey(0xA070), 0) << "free once the first let it go";
}

TEST(HotKeyManager, WinBitRegistersWithTheWindowsModifier) {
  THotKeyManager manager(nullptr);
  const THotKeyValue winF9 = HotKeyWin | VK_F9;
  ASSERT_NE(manager.AddHotKey(winF9), 0);
  EXPECT_FALSE(RegisterHotKey(nullptr, 0x7002, MOD_WIN, VK_F9)) << "Win+F9 is taken";
  EXPECT_TRUE(RegisterHotKey(nullptr, 0x7003, 0, VK_F9)) << "plain F9 is not";
  UnregisterHotKey(nullptr, 0x7003);
}

TEST(HotKeyManager, ReportsAListedValueWithItsIdAndNothingElse) {
  THotKeyManager manager(nullptr);
  std::vector<TPress> presses;
  manager.OnHotKeyPressed = [&](THotKeyValue value, std::uint16_t id) { presses.push_back({value, id}); };
  const std::uint16_t id = manager.AddHotKey(0xA070);
  ASSERT_NE(id, 0);

  PostHotKey(manager.Handle(), id, MOD_ALT | MOD_SHIFT, VK_F1);
  PumpWaiting();
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0].value, 41072u);
  EXPECT_EQ(presses[0].id, id);

  PostHotKey(manager.Handle(), id, MOD_CONTROL, 'B');  // never registered
  manager.RemoveHotKey(0xA070);
  PostHotKey(manager.Handle(), id, MOD_ALT | MOD_SHIFT, VK_F1);  // removed since
  PumpWaiting();
  EXPECT_EQ(presses.size(), 1u);
  // What is not ours still gets the default answer.
  EXPECT_EQ(SendMessageW(manager.Handle(), WM_HOTKEY, id, MAKELPARAM(MOD_CONTROL, 'B')), 0);
}

TEST(HotKeyManager, RemoveOfAnUnlistedValueIsFalse) {
  THotKeyManager manager(nullptr);
  EXPECT_FALSE(manager.RemoveHotKey(0));
  ASSERT_NE(manager.AddHotKey(0x4041), 0);
  EXPECT_FALSE(manager.RemoveHotKey(0x4042));
  EXPECT_TRUE(manager.RemoveHotKey(0x4041));
  EXPECT_FALSE(manager.RemoveHotKey(0x4041));
}

TEST(HotKeyManager, DestroyingTheManagerFreesItsKeys) {
  {
    THotKeyManager manager(nullptr);
    ASSERT_NE(manager.AddHotKey(0x4041), 0);
    ASSERT_NE(manager.AddHotKey(0xA070), 0);
  }
  EXPECT_EQ(GlobalFindAtomW(L"HotKeyManagerHotKey16449"), 0);
  EXPECT_EQ(GlobalFindAtomW(L"HotKeyManagerHotKey41072"), 0);
  THotKeyManager again(nullptr);
  EXPECT_NE(again.AddHotKey(0x4041), 0);
}

TEST(HotKeyManager, TextsUseTheLayoutsKeyNamesAfterTheModifiers) {
  // Key names come from the layout (wine's differ from Windows'): compare with it.
  wchar_t a[64] = {};
  GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW('A', MAPVK_VK_TO_VSC)) << 16, a, 64);
  EXPECT_EQ(THotKeyManager::HotKeyValueToText(0x6041, false), std::wstring(L"Ctrl+Shift+") + a);
  EXPECT_EQ(THotKeyManager::HotKeyValueToText(0x1E041, false), std::wstring(L"Ctrl+Shift+Alt+Win+") + a);
  const std::wstring local = THotKeyManager::HotKeyValueToText(0x4041, true);
  EXPECT_TRUE(local.ends_with(std::wstring(L"+") + a)) << "local text: " << testing::PrintToString(local);
  const std::wstring mute = THotKeyManager::HotKeyValueToText(VK_VOLUME_MUTE, false);
  EXPECT_FALSE(mute.empty());
  wchar_t layoutMute[64] = {};
  const int n = GetKeyNameTextW(static_cast<LONG>(MapVirtualKeyW(VK_VOLUME_MUTE, MAPVK_VK_TO_VSC)) << 16, layoutMute, 64);
  if (n <= 1) {
    EXPECT_EQ(mute, L"Volume Mute");
  } else {
    EXPECT_EQ(mute, layoutMute);
  }
}

TEST(HotKeyManager, ATypedCombinationReachesTheHandler) {
  THotKeyManager manager(nullptr);
  std::vector<TPress> presses;
  manager.OnHotKeyPressed = [&](THotKeyValue value, std::uint16_t id) { presses.push_back({value, id}); };
  const THotKeyValue value = HotKeyCtrl | HotKeyShift | VK_F11;
  const std::uint16_t id = manager.AddHotKey(value);
  ASSERT_NE(id, 0);
  auto key = [](WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
  };
  INPUT typed[] = {key(VK_CONTROL, false), key(VK_SHIFT, false), key(VK_F11, false),
                   key(VK_F11, true),      key(VK_SHIFT, true),  key(VK_CONTROL, true)};
  ASSERT_EQ(SendInput(6, typed, sizeof(INPUT)), 6u);
  EXPECT_TRUE(qorn::testing::WaitFor([&] { return !presses.empty(); }, 5s));
  ASSERT_EQ(presses.size(), 1u);
  EXPECT_EQ(presses[0].value, value);
  EXPECT_EQ(presses[0].id, id);
}

}  // namespace
