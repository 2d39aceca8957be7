// The framed edit and the button edit as the program's path boxes use them, read
// from a form resource: state colours, the own frame and its hot look, the buttons,
// their short-cuts and focus rules, the locked text, and the old property names.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyBtnEdt.h"
#include "controls/extended/tests/VyButtonsForm.h"
#include "testing/PumpApplication.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

#include <chrono>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

class VyEdits : public VyButtonsFormTest {
 protected:
  void SetUp() override {
    VyButtonsFormTest::SetUp();
    state = Find<TVyEdit>(L"StateEdit");
    hot = Find<TVyEdit>(L"HotEdit");
    path = Find<TVyButtonEdit>(L"PathEdit");
    profile = Find<TVyButtonEdit>(L"ProfileEdit");
    old = Find<TVyButtonEdit>(L"OldEdit");
    locked = Find<TVyButtonEdit>(L"LockedEdit");
    ASSERT_TRUE(state && hot && path && profile && old && locked);
  }
  void Focus(TWinControl* c) {
    c->SetFocus();
    Pump(20ms);
  }
  // Where to click a button of an edit: its middle, in the pair's window.
  static TPoint Middle(TVyControlButton* b) { return {b->GetLeft() + b->GetWidth() / 2, b->GetHeight() / 2}; }
  TVyEdit *state = nullptr, *hot = nullptr;
  TVyButtonEdit *path = nullptr, *profile = nullptr, *old = nullptr, *locked = nullptr;
};

TEST_F(VyEdits, StateColourShowsAtOnceAndAColourSetMeanwhileShowsOnceTheStateEnds) {
  Focus(path);
  EXPECT_EQ(state->ShownColor(), clWindow);
  state->SetEnabled(false);
  EXPECT_EQ(state->ShownColor(), clSilver);
  state->SetColor(clYellow);
  EXPECT_EQ(state->ShownColor(), clSilver) << "still disabled";
  EXPECT_EQ(state->GetColor(), clYellow);
  EXPECT_EQ(state->GetFocusColor(), clInfoBk) << "a focus colour of its own does not follow";
  state->SetEnabled(true);
  EXPECT_EQ(state->ShownColor(), clYellow);

  Focus(state);
  EXPECT_EQ(state->ShownColor(), clInfoBk);
  state->SetColor(clAqua);
  EXPECT_EQ(state->ShownColor(), clInfoBk) << "still focused";
  Focus(hot);
  EXPECT_EQ(state->ShownColor(), clAqua);

  // A focus colour equal to the idle one moves with it.
  EXPECT_EQ(hot->GetFocusColor(), clWindow);
  hot->SetColor(clLime);
  EXPECT_EQ(hot->GetFocusColor(), clLime);
  EXPECT_EQ(hot->ShownColor(), clLime);
}

TEST_F(VyEdits, OwnFrameAndItsHotLook) {
  HWND wnd = state->GetHandle();
  const int mid = state->GetHeight() / 2;
  EXPECT_EQ(WindowPixel(wnd, 0, mid), ColorToRGB(clBtnShadow)) << "fsFlat: one ring of FrameColor";
  EXPECT_EQ(WindowPixel(wnd, 1, mid), ColorToRGB(clWindow)) << "then a ring of the edit's colour";
  EXPECT_EQ(WindowPixel(wnd, state->GetWidth() - 1, mid), ColorToRGB(clBtnShadow));

  EXPECT_TRUE(hot->GetFrameVisible()) << "hot tracking shows the frame";
  EXPECT_EQ(hot->GetFrameSides(), AllSides);
  HWND hw = hot->GetHandle();
  EXPECT_EQ(WindowPixel(hw, 1, mid), ColorToRGB(clWindow));
  hot->Perform(CM_MOUSEENTER);
  EXPECT_TRUE(hot->IsHot());
  EXPECT_EQ(WindowPixel(hw, 0, mid), ColorToRGB(clHighlight)) << "fsFlatBold in FrameHotColor";
  EXPECT_EQ(WindowPixel(hw, 1, mid), ColorToRGB(clHighlight));
  hot->Perform(CM_MOUSELEAVE);
  EXPECT_EQ(WindowPixel(hw, 0, mid), ColorToRGB(clBtnShadow));
  EXPECT_EQ(WindowPixel(hw, 1, mid), ColorToRGB(clWindow));
  Focus(hot);
  EXPECT_EQ(WindowPixel(hw, 1, mid), ColorToRGB(clHighlight)) << "the focus lights it too";
}

TEST_F(VyEdits, OldPropertyNamesAreReadAndNeverWritten) {
  EXPECT_EQ(old->GetButtonShortCut(), TShortCut(scCtrl | 'B'));
  EXPECT_EQ(old->GetAltBtnShortCut(), TShortCut(scShift | VK_F4));
  EXPECT_TRUE(old->GetFrameHotTrack());
  EXPECT_EQ(old->GetFrameStyle(), fsStatus);
  EXPECT_EQ(old->GetFrameHotStyle(), fsFlatBold) << "FrameFocusStyle, read after FrameFlat";
  const std::string text = WriteComponentToText(old) + WriteComponentToText(path);
  for (const char* name : {"ShortCutText", "FlatButtonParentColor", "FrameFlat", "FrameFocusStyle", "ButtonGlyph",
                           "TVyButtonPair", "TVyControlButton"})
    EXPECT_EQ(text.find(name), std::string::npos) << name << " written:\n" << text;
  EXPECT_NE(text.find("ButtonShortCut = 16450"), std::string::npos) << text;
}

TEST_F(VyEdits, KindsGiveTheirGlyphsAndADropDownArrow) {
  TVyControlButton* main = path->GetButton(TVyCustomButtonEdit::kMainButton);
  EXPECT_EQ(main->GetGlyph()->GetWidth(), 20);
  EXPECT_EQ(main->GetGlyph()->GetHeight(), 10);
  EXPECT_EQ(main->GetNumGlyphs(), 2);
  TVyControlButton* drop = old->GetButton(TVyCustomButtonEdit::kMainButton);
  EXPECT_EQ(drop->GetStyle(), cbsDropDown);
  EXPECT_TRUE(drop->GetGlyph()->Empty());
  TBitmap custom(30, 10);
  path->SetButtonGlyph(&custom);
  EXPECT_EQ(path->GetButtonKind(), Vy::bkCustom);
  EXPECT_EQ(main->GetNumGlyphs(), 3);
}

TEST_F(VyEdits, ButtonsSitInsideTheRightEdgeAndTheTextKeepsClear) {
  TVyButtonPair* pair = profile->Buttons();
  TVyControlButton* alt = profile->GetButton(TVyCustomButtonEdit::kAltButton);
  EXPECT_EQ(alt->GetLeft(), 0) << "alone, the alternate button sits at the pair's left";
  EXPECT_EQ(pair->GetWidth(), alt->GetWidth());
  EXPECT_EQ(pair->GetLeft() + pair->GetWidth(), profile->GetClientWidth());
  for (TVyButtonEdit* e : {profile, path, old}) {
    const LRESULT margins = SendMessageW(e->GetHandle(), EM_GETMARGINS, 0, 0);
    EXPECT_EQ(HIWORD(margins), e->Buttons()->GetWidth() + 2) << std::string(e->Name().begin(), e->Name().end());
  }
  EXPECT_EQ(old->Buttons()->GetWidth(), 34) << "two buttons side by side";
  old->SetAltBtnWidth(25);
  EXPECT_EQ(HIWORD(SendMessageW(old->GetHandle(), EM_GETMARGINS, 0, 0)), 17 + 25 + 2);
}

TEST_F(VyEdits, F4ClicksTheBrowseButtonAndADisabledButtonIgnoresIt) {
  int clicks = 0;
  path->OnButtonClick = [&](TObject*) { ++clicks; };
  Focus(path);
  PostKey(path->GetHandle(), VK_F4);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(path->GetText(), L"C:\\Program Files");
  path->GetButton(TVyCustomButtonEdit::kMainButton)->SetEnabled(false);
  PostKey(path->GetHandle(), VK_F4);
  EXPECT_EQ(clicks, 1);
}

TEST_F(VyEdits, AShortCutThatTypesACharacterClicksAndTypesNothing) {
  int mainClicks = 0, altClicks = 0;
  old->OnButtonClick = [&](TObject*) { ++mainClicks; };
  old->OnAltBtnClick = [&](TObject*) { ++altClicks; };
  Focus(old);
  old->SetSelStart(0);
  old->SetSelLength(0);
  old->SetButtonShortCut(TShortCut('A'));
  PostKey(old->GetHandle(), 'A');
  EXPECT_EQ(mainClicks, 1);
  EXPECT_EQ(old->GetText(), L"older form") << "the 'a' of the short-cut is dropped";
  PostKey(old->GetHandle(), 'Q');
  EXPECT_EQ(old->GetText(), L"qolder form") << "other keys type";
  WithKeyDown(VK_SHIFT, [&] { PostKey(old->GetHandle(), VK_F4); });
  EXPECT_EQ(altClicks, 1);
  EXPECT_EQ(mainClicks, 1);
}

TEST_F(VyEdits, AClickOnAButtonFocusesTheEditFirst) {
  Focus(state);
  HWND focusAtClick = nullptr;
  int mainClicks = 0, altClicks = 0;
  path->OnButtonClick = [&](TObject*) {
    ++mainClicks;
    focusAtClick = GetFocus();
  };
  TVyControlButton* browse = path->GetButton(TVyCustomButtonEdit::kMainButton);
  const TPoint at = Middle(browse);
  Click(path->Buttons()->GetHandle(), at.X, at.Y);
  EXPECT_EQ(mainClicks, 1);
  EXPECT_EQ(focusAtClick, path->GetHandle()) << "no typing first: the click focuses the edit";
  EXPECT_EQ(path->GetText(), L"C:\\Program Files");

  profile->OnButtonClick = [&](TObject*) { ++mainClicks; };
  profile->OnAltBtnClick = [&](TObject*) { ++altClicks; };
  const TPoint altAt = Middle(profile->GetButton(TVyCustomButtonEdit::kAltButton));
  Click(profile->Buttons()->GetHandle(), altAt.X, altAt.Y);
  EXPECT_EQ(altClicks, 1);
  EXPECT_EQ(mainClicks, 1);
  EXPECT_TRUE(profile->Focused());
}

TEST_F(VyEdits, APressTheEditCannotTakeTheFocusForStaysUpWithoutAClick) {
  Focus(state);
  // The edit hands the focus on as it gets it, so the press must not click.
  path->OnEnter = [&](TObject*) { state->SetFocus(); };
  int clicks = 0;
  path->OnButtonClick = [&](TObject*) { ++clicks; };
  TVyControlButton* browse = path->GetButton(TVyCustomButtonEdit::kMainButton);
  const TPoint at = Middle(browse);
  HWND pairWnd = path->Buttons()->GetHandle();
  PostMessageW(pairWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.X, at.Y));
  Pump(30ms);
  EXPECT_FALSE(browse->IsDown());
  EXPECT_NE(GetCapture(), pairWnd) << "the aborted press keeps no capture";
  EXPECT_NE(CaptureControl(), browse);
  PostMessageW(pairWnd, WM_LBUTTONUP, 0, MAKELPARAM(at.X, at.Y));
  Pump(30ms);
  EXPECT_EQ(clicks, 0);
}

TEST_F(VyEdits, LockedTextChangesByNoKeyClipboardMenuOrUndo) {
  int clicks = 0;
  locked->OnButtonClick = [&](TObject*) { ++clicks; };
  Focus(locked);
  HWND wnd = locked->GetHandle();
  // A change the program makes that the edit could undo.
  SendMessageW(wnd, EM_SETSEL, 6, 6);
  SendMessageW(wnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"!"));
  ASSERT_EQ(locked->GetText(), L"locked!");
  PostMessageW(wnd, WM_CHAR, L'x', 1);
  PostMessageW(wnd, WM_CHAR, 8, 1);
  Pump(20ms);
  SendMessageW(wnd, EM_SETSEL, 0, -1);
  PostKey(wnd, VK_DELETE);
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    const wchar_t text[] = L"pasted";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof text);
    memcpy(GlobalLock(mem), text, sizeof text);
    GlobalUnlock(mem);
    SetClipboardData(CF_UNICODETEXT, mem);
    CloseClipboard();
  }
  for (UINT msg : {UINT(WM_PASTE), UINT(WM_CUT), UINT(WM_CLEAR), UINT(WM_UNDO), UINT(EM_UNDO)}) {
    SendMessageW(wnd, EM_SETSEL, 0, -1);
    SendMessageW(wnd, msg, 0, 0);
    EXPECT_EQ(locked->GetText(), L"locked!") << "message " << std::hex << msg;
  }
  EXPECT_EQ(locked->GetText(), L"locked!");
  PostKey(wnd, VK_F4);
  EXPECT_EQ(clicks, 1) << "the short-cut still clicks";

  // Unlocked, the same messages do change it: the filter is what keeps the text.
  locked->SetAllowKeyEdit(true);
  SendMessageW(wnd, EM_SETSEL, 0, -1);
  SendMessageW(wnd, WM_CLEAR, 0, 0);
  EXPECT_EQ(locked->GetText(), L"");
}

TEST_F(VyEdits, DropButtonStripNarrowsTheTextAndDropsDownOnAClick) {
  auto* edit = new TVyEdit(form);
  edit->SetParent(form);
  edit->SetBounds(470, 8, 150, 21);
  edit->SetDropButtonVisible(true);
  HWND wnd = edit->GetHandle();
  Pump(20ms);
  EXPECT_EQ(edit->GetClientWidth(), 150 - 4 - GetSystemMetrics(SM_CXVSCROLL));
  std::vector<TButtonState> seen;
  edit->OnDropDown = [&](TObject*) {
    seen.push_back(edit->DropButtonState());
    EXPECT_EQ(GetFocus(), wnd) << "the click focused the edit first";
  };
  Focus(state);
  RECT wr{};
  GetWindowRect(wnd, &wr);
  const POINT strip{wr.right - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2, (wr.top + wr.bottom) / 2};
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(strip.x, strip.y)), HTCLIENT);
  const int x = edit->GetClientWidth() + GetSystemMetrics(SM_CXVSCROLL) / 2;
  Click(wnd, x, 8);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], bsDown);
  EXPECT_EQ(edit->DropButtonState(), bsUp);
  WithKeyDown(VK_MENU, [&] {
    PostMessageW(wnd, WM_SYSKEYDOWN, VK_DOWN, 0x20000001);
    Pump(30ms);
  });
  EXPECT_EQ(seen.size(), 2u) << "Alt+Down drops it down too";
}

}  // namespace
