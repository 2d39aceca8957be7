// The hot-key control on a real form: the short-cut word read from the form,
// set and read back through the control, typed keys with the control's rules,
// OnChange, and a new window keeping the key.
// ctest-lock: keyboard
#include "vcl/tests/ComCtrlsTesting.h"

namespace {

using namespace comctrls_testing;

TEST(HotKeyWords, ShortCutsAndTheControlsWordsConvertBothWays) {
  struct Case {
    TShortCut shortCut;
    WORD word;
  };
  const Case cases[] = {
      {'A', MAKEWORD('A', 0)},
      {scShift | 0x70, MAKEWORD(0x70, HOTKEYF_SHIFT)},
      {scCtrl | 'K', MAKEWORD('K', HOTKEYF_CONTROL)},
      {scAlt | 0x2E, MAKEWORD(0x2E, HOTKEYF_ALT)},
      {scShift | scCtrl | scAlt | 'Z', MAKEWORD('Z', HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT)},
      {0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToHotKeyWord(c.shortCut), c.word) << std::hex << c.shortCut;
    EXPECT_EQ(HotKeyWordToShortCut(c.word), c.shortCut) << std::hex << c.word;
  }
  // The extended-key flag has no place in a short-cut.
  EXPECT_EQ(HotKeyWordToShortCut(MAKEWORD(0x2D, HOTKEYF_EXT | HOTKEYF_CONTROL)), scCtrl | 0x2D);
}

class HotKey : public FormTest {};

TEST_F(HotKey, TheKeyFromTheFormIsInTheControlAndReadsBack) {
  THotKey* hotKey = form->HotKey1;
  ASSERT_NE(hotKey, nullptr);
  HWND wnd = hotKey->GetHandle();
  EXPECT_EQ(hotKey->GetHotKey(), scCtrl | 'K');
  EXPECT_EQ(SendMessageW(wnd, HKM_GETHOTKEY, 0, 0), MAKEWORD('K', HOTKEYF_CONTROL));
  hotKey->SetHotKey(scShift | scAlt | 0x74);
  EXPECT_EQ(SendMessageW(wnd, HKM_GETHOTKEY, 0, 0), MAKEWORD(0x74, HOTKEYF_SHIFT | HOTKEYF_ALT));
  hotKey->SetHotKey(0);
  EXPECT_EQ(hotKey->GetHotKey(), 0) << "no key";

  // The window shows what the control holds, also after a new window.
  SendMessageW(wnd, HKM_SETHOTKEY, MAKEWORD(0x7B, HOTKEYF_CONTROL), 0);
  hotKey->RecreateWnd();
  ASSERT_NE(hotKey->GetHandle(), wnd);
  EXPECT_EQ(hotKey->GetHotKey(), scCtrl | 0x7B);
  EXPECT_EQ(SendMessageW(hotKey->GetHandle(), HKM_GETHOTKEY, 0, 0), MAKEWORD(0x7B, HOTKEYF_CONTROL));
}

TEST_F(HotKey, TypedKeysFollowTheRulesAndReportAChange) {
  THotKey* hotKey = form->HotKey1;
  HWND wnd = hotKey->GetHandle();
  std::vector<TShortCut> changes;
  hotKey->OnChange = [&](TObject* sender) { changes.push_back(static_cast<THotKey*>(sender)->GetHotKey()); };
  hotKey->SetFocus();
  PostKey(wnd, 'J', {VK_CONTROL});
  ASSERT_TRUE(PumpUntil([&] { return hotKey->GetHotKey() == (scCtrl | 'J'); }));
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), scCtrl | 'J');

  // A plain key is refused by the default rules and gets Alt instead.
  PostKey(wnd, 'M');
  ASSERT_TRUE(PumpUntil([&] { return hotKey->GetHotKey() == (scAlt | 'M'); }));

  // With plain keys allowed and Ctrl as the stand-in, rules set at run time hold.
  hotKey->SetInvalidKeys({hcShift});
  hotKey->SetModifiers({hkCtrl});
  PostKey(wnd, 'P');
  ASSERT_TRUE(PumpUntil([&] { return hotKey->GetHotKey() == 'P'; }));
  PostKey(wnd, 'Q', {VK_SHIFT});
  ASSERT_TRUE(PumpUntil([&] { return hotKey->GetHotKey() == (scCtrl | 'Q'); }));
}

}  // namespace
