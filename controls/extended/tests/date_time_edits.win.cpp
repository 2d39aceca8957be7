// The hot-key edit as the global hot-key window uses it, and the date/time edit's
// reading of the user's own locale, read from a form resource.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "controls/extended/VyDateTimeEdit.h"
#include "controls/extended/VyDateTimeText.h"
#include "controls/extended/VyHotKeyEdit.h"
#include "controls/extended/tests/VyFormTest.h"
#include "testing/WinTesting.h"
#include "vcl/ShortCuts.h"
#include "vcl/Win.h"

#include <chrono>

using namespace Vy;
using namespace std::chrono_literals;

class TTestVyDateTimeForm : public TForm {
  QORN_CLASS(TTestVyDateTimeForm, TForm)
 public:
  explicit TTestVyDateTimeForm(TComponent* AOwner) : TForm(AOwner) {}
};
QORN_REGISTER_CLASS(TTestVyDateTimeForm);

namespace {

class VyDateTimeEdits : public VyFormTestOf<TTestVyDateTimeForm> {
 protected:
  void SetUp() override {
    VyFormTestOf::SetUp();
    show = Find<TVyHotKeyEdit>(L"ShowKeyEdit");
    capture = Find<TVyHotKeyEdit>(L"CaptureKeyEdit");
    timer = Find<TVyDateTimeEdit>(L"TimerTimeEdit");
    day = Find<TVyDateTimeEdit>(L"DayEdit");
    ASSERT_TRUE(show && capture && timer && day);
    TVyDateLocale dmy;
    dmy.Formats.ShortDateFormat = L"dd.MM.yyyy";
    dmy.Formats.DateSeparator = L'.';
    dmy.Formats.LongTimeFormat = L"H:mm:ss";
    day->SetLocale(dmy);
    timer->SetLocale(dmy);
    for (TVyDateTimeEdit* e : {timer, day})
      e->OnDateTimeChange = TVyDateTimeChangeEvent([this](TObject*, TDateTime v) { reported.push_back(v); });
    show->OnChange = TNotifyEvent([this](TObject*) { ++changes; });
  }
  void Focus(TWinControl* c) {
    c->SetFocus();
    Pump(20ms);
  }
  // Presses the keys in order and lets them go in reverse, as fingers play a chord,
  // through the application's loop to the focused window.
  static void Chord(HWND wnd, std::initializer_list<WORD> keys) {
    auto post = [wnd](WORD key, bool down) {
      const bool alt = key == VK_MENU || (GetKeyState(VK_MENU) & 0x8000);
      const UINT msg = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
      BYTE state[256] = {};
      GetKeyboardState(state);
      state[key] = down ? 0x80 : 0;
      SetKeyboardState(state);
      // The scan code in bits 16-23, as the keyboard sends it.
      const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
      PostMessageW(wnd, msg, key, scan | (down ? 1 : 0xC0000001));
      Pump(10ms);
    };
    for (WORD k : keys) post(k, true);
    for (auto k = std::rbegin(keys); k != std::rend(keys); ++k) post(*k, false);
    Pump(20ms);
  }
  // A pixel of a window as it shows now, its frame included (window coordinates).
  static TColor WindowPixel(HWND wnd, int x, int y) {
    HDC dc = GetWindowDC(wnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return static_cast<TColor>(c);
  }
  // Types the text into the focused edit, one character at a time.
  static void Type(HWND wnd, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) PostMessageW(wnd, WM_CHAR, *c, 1);
    Pump(30ms);
  }
  static void Key(HWND wnd, WORD key) {
    PostMessageW(wnd, WM_KEYDOWN, key, 1);
    PostMessageW(wnd, WM_KEYUP, key, 0xC0000001);
    Pump(30ms);
  }
  TVyHotKeyEdit *show = nullptr, *capture = nullptr;
  TVyDateTimeEdit *timer = nullptr, *day = nullptr;
  std::vector<TDateTime> reported;
  int changes = 0;
};

TEST_F(VyDateTimeEdits, AChordPressedIntoTheHotKeyEditIsItsValue) {
  EXPECT_EQ(show->GetHotKey(), 0) << "the form asks for an empty edit";
  Focus(show);
  Chord(show->GetHandle(), {VK_CONTROL, VK_SHIFT, 'K'});
  EXPECT_EQ(show->GetHotKey(), scCtrl | scShift | 'K');
  EXPECT_EQ(ShortCutToText(show->GetHotKey()), L"Shift+Ctrl+K");
  EXPECT_GE(changes, 1) << "OnChange on a new key";

  const int before = changes;
  Chord(show->GetHandle(), {VK_MENU, VK_F5});
  EXPECT_EQ(show->GetHotKey(), scAlt | VK_F5);
  EXPECT_GT(changes, before);

  show->SetHotKey(scCtrl | 'Q');
  EXPECT_EQ(show->GetHotKey(), scCtrl | 'Q');
}

TEST_F(VyDateTimeEdits, TheFrameLightsWhileFocusedAndTheColourFollowsTheState) {
  const HWND wnd = show->GetHandle();
  Focus(capture);
  EXPECT_FALSE(show->FrameIsHot());
  EXPECT_EQ(WindowPixel(wnd, 0, show->GetHeight() / 2), ColorToRGB(clBtnShadow));
  Focus(show);
  EXPECT_TRUE(show->FrameIsHot());
  EXPECT_EQ(WindowPixel(wnd, 0, show->GetHeight() / 2), ColorToRGB(clHighlight));
  Focus(capture);
  EXPECT_FALSE(show->FrameIsHot());
  EXPECT_EQ(WindowPixel(wnd, 0, show->GetHeight() / 2), ColorToRGB(clBtnShadow));

  capture->SetEnabled(false);
  EXPECT_EQ(capture->GetColor(), clSilver);
  capture->SetEnabled(true);
  EXPECT_EQ(capture->GetColor(), clWindow);
  EXPECT_EQ(show->GetHeight(), 21);
}

TEST_F(VyDateTimeEdits, TheUsersLocaleReadsBackWhatItWrites) {
  const TVyDateLocale& locale = SystemDateLocale();
  wchar_t buf[80] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, buf, 80), 1);
  EXPECT_EQ(locale.Formats.ShortDateFormat, String(buf));
  EXPECT_GE(locale.FirstDayOfWeek, 0);
  EXPECT_LE(locale.FirstDayOfWeek, 6);
  for (const String& name : locale.GenitiveMonthNames) EXPECT_FALSE(name.empty());

  const TDateTime today = EncodeDate(2026, 1, 30);
  for (const TDateTime day : {EncodeDate(2003, 2, 1), EncodeDate(2026, 12, 25), EncodeDate(1999, 11, 9)}) {
    const String text = DateTimeEditText({etDate, L"", day}, locale);
    SCOPED_TRACE(std::string(text.begin(), text.end()));
    EXPECT_EQ(ParseDateText(text, locale, today), day);
    // The long month name of the locale reads too.
    EXPECT_EQ(ParseDateText(FormatDateTime(L"d mmmm yyyy", day, locale.Formats), locale, today), day);
  }
  const TDateTime evening = EncodeTime(19, 5, 0, 0);
  EXPECT_EQ(ParseTimeText(DateTimeEditText({etTime, L"", evening}, locale), locale), evening);
}

TEST_F(VyDateTimeEdits, ATypedDateIsReadAndShownInTheLocale) {
  Focus(day);
  Type(day->GetHandle(), L"010203");
  Focus(show);  // leaving the edit shows the value formatted
  EXPECT_EQ(day->GetDate(), EncodeDate(2003, 2, 1));
  EXPECT_EQ(day->GetText(), L"01.02.2003");
  EXPECT_EQ(reported.back(), EncodeDate(2003, 2, 1));

  Focus(day);
  Key(day->GetHandle(), VK_PRIOR);
  EXPECT_EQ(day->GetText(), L"01.03.2003");
  Key(day->GetHandle(), VK_UP);
  EXPECT_EQ(day->GetText(), L"02.03.2003");
  Type(day->GetHandle(), L"-");
  EXPECT_EQ(day->GetText(), L"01.03.2003");
  EXPECT_EQ(day->GetDate(), EncodeDate(2003, 3, 1));

  // Text that cannot be read (pasted in one piece) leaves the value as it was.
  const std::size_t before = reported.size();
  day->SelectAll();
  SendMessageW(day->GetHandle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"12345678901234"));
  Pump(20ms);
  EXPECT_EQ(day->GetText(), L"12345678901234");
  Focus(show);
  EXPECT_EQ(day->GetDate(), EncodeDate(2003, 3, 1));
  EXPECT_EQ(day->GetText(), L"01.03.2003");
  EXPECT_EQ(reported.size(), before);

  day->Clear();
  EXPECT_EQ(day->GetText(), L"");
  EXPECT_EQ(reported.back(), 0.0);
  Focus(day);
  Key(day->GetHandle(), VK_PRIOR);  // from today when empty
  EXPECT_EQ(day->GetDate(), IncMonth(::Date(), 1));
}

TEST_F(VyDateTimeEdits, ThePowerTimerTimeStaysEmptyUntilATimeIsGiven) {
  EXPECT_EQ(timer->GetText(), L"");
  timer->SetTime(0);
  EXPECT_EQ(timer->GetText(), L"00:00") << "midnight set by code shows";
  Focus(timer);
  timer->SelectAll();
  Type(timer->GetHandle(), L"7 pm");
  Focus(show);
  EXPECT_EQ(timer->GetTime(), EncodeTime(19, 0, 0, 0));
  EXPECT_EQ(timer->GetText(), L"19:00");
  EXPECT_EQ(reported.back(), EncodeTime(19, 0, 0, 0));
  Focus(timer);
  Key(timer->GetHandle(), VK_PRIOR);
  Key(timer->GetHandle(), VK_DOWN);
  EXPECT_EQ(timer->GetText(), L"19:59");
  timer->SelectAll();
  Type(timer->GetHandle(), L"x");  // letters other than the designators' beep and go nowhere
  EXPECT_EQ(timer->GetText(), L"19:59");
}

TEST_F(VyDateTimeEdits, Screenshot) {
  show->SetHotKey(scCtrl | scAlt | 'S');
  capture->SetHotKey(scShift | VK_F12);
  timer->SetTime(EncodeTime(23, 30, 0, 0));
  day->SetDate(EncodeDate(2026, 12, 10));
  Focus(show);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-date-time.png"));
}

}  // namespace
