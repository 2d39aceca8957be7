// The hot-key control on a real form: the short-cut word read from the form,
// set and read back through the control, typed keys with the control's rules,
// OnChange, and a new window keeping the key.
// ctest-lock: keyboard
#include "vcl/Filer.h"
#include "vcl/tests/ComCtrlsTesting.h"

#include <memory>
#include <string>

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

// The form text written for the controls reads back to the same columns, rows,
// nodes and key; defaults are left out.
class FormText : public FormTest {};

TEST_F(FormText, TheControlsWriteWhatReadsBack) {
  TListView* list = form->ListView1;
  list->GetItems()->Item(2)->SubItems()->Add(L"with 'quote'");
  list->Column(2)->SetWidth(70);
  TTreeNodes* nodes = form->TreeView1->GetItems();
  nodes->AddChild(nodes->Item(6), L"Windows");
  form->HotKey1->SetHotKey(scShift | 0x74);
  const std::string text = WriteComponentToText(form);
  EXPECT_EQ(text.find("MinWidth = 0"), std::string::npos) << "defaults are not written";
  EXPECT_EQ(text.find("ShowRoot"), std::string::npos);

  std::unique_ptr<TTestComCtrlsForm> copy(CreateFormNew<TTestComCtrlsForm>(nullptr));
  ReadComponentFromText(copy.get(), text, L"TESTCOMCTRLSFORM");
  ASSERT_NE(copy->ListView1, nullptr);
  ASSERT_NE(copy->TreeView1, nullptr);
  ASSERT_NE(copy->HotKey1, nullptr);
  TListView* back = copy->ListView1;
  ASSERT_EQ(back->GetColumns()->Count(), 3);
  EXPECT_EQ(back->Column(1)->GetMinWidth(), 40);
  EXPECT_EQ(back->Column(2)->GetWidth(), 70);
  EXPECT_EQ(back->Column(2)->GetAlignment(), taRightJustify);
  EXPECT_EQ(back->GetViewStyle(), vsReport);
  ASSERT_EQ(back->GetItems()->Count(), 4);
  for (int i = 0; i < 4; ++i) {
    TListItem* a = list->GetItems()->Item(i);
    TListItem* b = back->GetItems()->Item(i);
    EXPECT_EQ(b->GetCaption(), a->GetCaption());
    EXPECT_EQ(b->GetImageIndex(), a->GetImageIndex());
    EXPECT_EQ(b->SubItems()->Text(), a->SubItems()->Text());
  }
  TTreeNodes* backNodes = copy->TreeView1->GetItems();
  ASSERT_EQ(backNodes->Count(), nodes->Count());
  for (int i = 0; i < nodes->Count(); ++i) {
    EXPECT_EQ(backNodes->Item(i)->GetText(), nodes->Item(i)->GetText());
    EXPECT_EQ(backNodes->Item(i)->Level(), nodes->Item(i)->Level());
    EXPECT_EQ(backNodes->Item(i)->GetSelectedIndex(), nodes->Item(i)->GetSelectedIndex());
  }
  EXPECT_EQ(copy->HotKey1->GetHotKey(), scShift | 0x74);
}

TEST(FormTextErrors, ATreeWithANegativeChildCountIsRefused) {
  std::unique_ptr<TTestComCtrlsForm> form(CreateFormNew<TTestComCtrlsForm>(nullptr));
  const char* text =
      "object TestComCtrlsForm: TTestComCtrlsForm\n"
      "  object TreeView1: TTreeView\n"
      "    Items.NodeData = ('a' 0 0 -1)\n"
      "  end\n"
      "end\n";
  EXPECT_THROW(ReadComponentFromText(form.get(), text, L"BAD"), Exception);
}

}  // namespace
