// The popup read from its form resource: shown at its place without taking the
// focus, faded, slid and held on the injected clock (the animation ticks are
// stepped by hand), paused by the mouse, renewed, the volume and track kinds,
// the route to the text display, outside texts shown as they are, and skins:
// the program's own in a layered window, a bad one refused with a message.
// desktop-input: it moves the mouse over the popup and reads the foreground window.
#include <gtest/gtest.h>

#include "testing/RecordedMessages.h"

#include "controls/visual/HTMLText.h"
#include "core/settings/Settings.h"
#include "displays/Popup.h"
#include "displays/SkinFolder.h"
#include "displays/TextDisplay.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Dialogs.h"

#include <chrono>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

// Every message box, answered at once.
using qorn::testing::TRecordedMessages;

const std::wstring ProgramSkins =
    std::filesystem::path(QORN_BINARY_DIR "/generated/skins/Popup/").make_preferred().wstring();
const std::wstring FixtureSkins =
    std::filesystem::path(QORN_SOURCE_DIR "/displays/tests/skins/").make_preferred().wstring();

class Popup : public ::testing::Test {
 protected:
  void SetUp() override {
    SettingsRecords = TSettingsRecords{};
    // Still and opaque unless a test asks for more.
    PopupSettings.popupfade = 0;
    PopupSettings.popupanim = 0;
    PopupSettings.popupopauqe = 255;
    PopupSettings.popupdelay = 10;
    PopupSettings.popupanimdelay = 1;  // 10 ticks
    CreateDefaultFonts(FontSlots);
    form.reset(CreateForm<TPopupForm>(Application));
    form->SkinsFolder = ProgramSkins;
  }
  void TearDown() override {
    form.reset();
    text.reset();
    SettingsRecords = TSettingsRecords{};
    Pump(10ms);
  }
  bool OnScreen() { return form->WindowHandle() && IsWindowVisible(form->WindowHandle()); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) form->Timer1Timer(form->Timer1);
  }
  // Past the hold time, and the tick that notices it.
  void PastTheHold() {
    clock.Advance(PopupSettings.popupdelay * 100 + 1);
    Ticks(1);
  }
  void UseSkin(const std::wstring& folder, const char* name) {
    form->SkinsFolder = folder;
    PopupSettings.popupuseskin = 1;
    StringSettings.PopupSkinName = name;
  }

  TManualClock clock;
  TClockOverride useClock{clock};
  std::unique_ptr<TPopupForm> form;
  std::unique_ptr<TOSDtForm> text;
};

TEST_F(Popup, ShowsAtItsPlaceWithoutTakingTheFocus) {
  std::unique_ptr<TForm> user(CreateFormNew<TForm>(Application));
  user->SetBounds(50, 50, 300, 200);
  user->Show();
  HWND before = user->GetHandle();
  ASSERT_TRUE(qorn::testing::BringToFront(before));
  form->showing(L"Launch", L"", L"", L"Notepad", 0, 0, 0);
  Pump(20ms);
  ASSERT_TRUE(OnScreen());
  HWND wnd = form->WindowHandle();
  const LONG_PTR ex = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetForegroundWindow(), before);
  EXPECT_FALSE(form->GetActive());
  EXPECT_EQ(SendMessageW(wnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  EXPECT_FALSE(GetLayeredWindowAttributes(wnd, nullptr, nullptr, nullptr) && form->GetAlphaBlend())
      << "opaque and still: no alpha blending at all";

  // Its six places, 2 pixels in from the work area's edges.
  PastTheHold();
  for (int position = 1; position <= 6; ++position) {
    PopupSettings.PopupPosition = static_cast<std::uint8_t>(position);
    form->showing(L"Launch", L"", L"", L"Notepad", 0, 0, 0);
    const RECT r = WindowRectOf(wnd);
    const auto at = Displays::PopupRestingPlace(position, form->Area(), r.right - r.left, r.bottom - r.top);
    EXPECT_EQ(r.left, at.Left) << "position " << position;
    EXPECT_EQ(r.top, at.Top) << "position " << position;
    if (position < 6) PastTheHold();
  }
  const RECT r = WindowRectOf(wnd);
  EXPECT_EQ(r.right, form->Area().WorkRight - 2);
  EXPECT_EQ(r.bottom, form->Area().WorkBottom - 2);
}

TEST_F(Popup, HoldsForItsTimeThenGoesAndItsClockStops) {
  form->showing(L"Caps", L"", L"", L"CAPS LOCK ON", 0, 0, 0);
  EXPECT_EQ(form->State(), psHolding);
  clock.Advance(999);
  Ticks(1);
  EXPECT_TRUE(OnScreen());
  clock.Advance(2);
  Ticks(1);
  EXPECT_FALSE(OnScreen());
  EXPECT_FALSE(form->Timer1->GetEnabled());
  EXPECT_FALSE(form->Shown());
}

TEST_F(Popup, HoldsOnTimeWhereA32BitClockWouldWrapAndAtTimeZero) {
  for (std::uint64_t start : {0xFFFFFFFFull - 500, 0ull}) {
    SCOPED_TRACE(start);
    clock.Set(start);
    form->showing(L"Late", L"", L"", L"Night", 0, 0, 0);
    clock.Advance(800);
    Ticks(1);
    EXPECT_TRUE(OnScreen());
    clock.Advance(201);
    Ticks(1);
    EXPECT_FALSE(OnScreen());
  }
}

TEST_F(Popup, TheGradientBackgroundFollowsTheSettings) {
  PopupSettings.popupgradient = 1;
  PopupSettings.popupcolorgroundgradientdirection = 2;
  ColorSettings.popupcolorground = 0x00FFFFFF;
  ColorSettings.popupcolorground2 = 0x00C08040;
  form->showing(L"Gradient", L"", L"", L"Body", 0, 0, 0);
  EXPECT_TRUE(form->popupbacgradient->GetActive());
  EXPECT_TRUE(form->popupbacgradient->GetVisible());
  EXPECT_EQ(form->popupbacgradient->GetGradientColorStop(), 0x00C08040u);
  EXPECT_EQ(form->popupbacgradient->GetGradientDirection(), Vy::gdVerticalEnd);
  PopupSettings.popupgradient = 0;
  form->gradientset();
  EXPECT_FALSE(form->popupbacgradient->GetActive());
  EXPECT_FALSE(form->popupbacgradient->GetVisible());
}

TEST_F(Popup, FadesInHoldsAndFadesOut) {
  PopupSettings.popupfade = 1;
  PopupSettings.popupopauqe = 200;
  form->showing(L"Fade", L"", L"", L"In and out", 0, 0, 0);
  ASSERT_TRUE(form->Timer1->GetEnabled());
  EXPECT_EQ(form->State(), psAppearing);
  EXPECT_EQ(form->GetAlphaBlendValue(), 0);
  Ticks(5);
  EXPECT_EQ(form->CurrentAlpha(), 100);
  Ticks(5);
  EXPECT_EQ(form->CurrentAlpha(), 200);
  EXPECT_EQ(form->GetAlphaBlendValue(), 200);
  EXPECT_EQ(form->State(), psHolding);
  clock.Advance(500);
  Ticks(1);
  EXPECT_EQ(form->State(), psHolding) << "the hold starts when the fade-in is done";
  PastTheHold();
  EXPECT_EQ(form->State(), psFadingOut);
  SetCursorPos(0, 0);
  Ticks(9);
  EXPECT_TRUE(OnScreen());
  EXPECT_EQ(form->CurrentAlpha(), 20);
  Ticks(1);
  EXPECT_FALSE(OnScreen());
  EXPECT_EQ(form->State(), psHidden);
  EXPECT_FALSE(form->Timer1->GetEnabled());
}

TEST_F(Popup, ARenewalKeepsItUpAndBringsAFadingPopupBack) {
  PopupSettings.popupfade = 1;
  form->showing(L"Vol", L"", L"", L"Up", 0, 0, 0);
  Ticks(10);
  ASSERT_EQ(form->State(), psHolding);
  const RECT first = WindowRectOf(form->WindowHandle());
  clock.Advance(800);
  form->showing(L"Vol", L"", L"", L"Up", 0, 0, 0);  // same size: renewed in place
  clock.Advance(800);
  Ticks(1);
  EXPECT_EQ(form->State(), psHolding);
  PastTheHold();
  ASSERT_EQ(form->State(), psFadingOut);
  SetCursorPos(0, 0);
  Ticks(4);
  const int faded = form->CurrentAlpha();
  EXPECT_LT(faded, PopupSettings.popupopauqe);
  form->showing(L"Vol", L"", L"", L"Up", 0, 0, 0);
  EXPECT_EQ(form->State(), psAppearing);
  Ticks(10);
  EXPECT_EQ(form->State(), psHolding);
  EXPECT_EQ(form->CurrentAlpha(), PopupSettings.popupopauqe);
  const RECT again = WindowRectOf(form->WindowHandle());
  EXPECT_EQ(again.left, first.left);
  EXPECT_EQ(again.top, first.top);
}

TEST_F(Popup, TheFadeWaitsWhileTheMouseMovesOverIt) {
  PopupSettings.popupfade = 1;
  form->showing(L"Read me", L"", L"", L"Slowly", 0, 0, 0);
  Ticks(10);
  const RECT r = WindowRectOf(form->WindowHandle());
  SetCursorPos(r.left + 10, r.top + 10);
  PastTheHold();
  ASSERT_EQ(form->State(), psFadingOut);
  const int full = form->CurrentAlpha();
  // Resting where it was when the fade began: the fade goes on.
  Ticks(1);
  EXPECT_LT(form->CurrentAlpha(), full);
  const int resting = form->CurrentAlpha();
  // Moved over the popup (in both directions): the fade waits.
  SetCursorPos(r.left + 20, r.top + 20);
  Ticks(5);
  EXPECT_EQ(form->CurrentAlpha(), resting);
  // Off the popup: it goes on.
  SetCursorPos(r.left - 5, r.top - 5);
  Ticks(1);
  EXPECT_LT(form->CurrentAlpha(), resting);
}

TEST_F(Popup, SlidesInFromOutsideTheScreen) {
  PopupSettings.popupanim = 1;
  struct {
    int position, slide;
  } cases[] = {{5, 1}, {2, 2}, {3, 2}, {6, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "position " << c.position << ", slide " << c.slide);
    PopupSettings.PopupPosition = static_cast<std::uint8_t>(c.position);
    PopupSettings.PopupSlide = static_cast<std::uint8_t>(c.slide);
    form->showing(L"Slide", L"", L"", L"In", 0, 0, 0);
    const RECT start = WindowRectOf(form->WindowHandle());
    const int w = start.right - start.left, h = start.bottom - start.top;
    const auto from = Displays::PopupSlideStart(c.position, c.slide, form->Area(), w, h);
    EXPECT_EQ(start.left, from.Left);
    EXPECT_EQ(start.top, from.Top);
    EXPECT_EQ(form->State(), psAppearing);
    Ticks(12);
    const RECT end = WindowRectOf(form->WindowHandle());
    const auto rest = Displays::PopupRestingPlace(c.position, form->Area(), w, h);
    EXPECT_EQ(end.left, rest.Left);
    EXPECT_EQ(end.top, rest.Top);
    EXPECT_EQ(form->State(), psHolding);
    PastTheHold();
    ASSERT_FALSE(OnScreen());
  }
}

TEST_F(Popup, AnOpacityOfZeroShowsNothingAndRunsNoClock) {
  PopupSettings.popupfade = 1;
  PopupSettings.popupopauqe = 0;
  form->showing(L"Invisible", L"", L"", L"Nobody sees this", 0, 0, 0);
  form->showingvol(1, 50);
  form->showingff(L"Track", L"1/2", L"0:10", L"Song", 0, 0, 30);
  EXPECT_FALSE(OnScreen());
  EXPECT_FALSE(form->Timer1->GetEnabled());
  EXPECT_FALSE(form->Shown());
}

TEST_F(Popup, OutsideTextsShowAsTheyAre) {
  const std::wstring title = L"Tom & Jerry <b>live</b> &amp;";
  form->showing(L"R&B", L"A&B", L"", Flat::EscapeHTMLText(title), 0, 0, 0);
  EXPECT_EQ(Flat::HTMLToPlainText(form->popuptext3->GetJoinedHTMLText()), title);
  EXPECT_EQ(form->popupcaption->GetCaption(), L"R&B");
  EXPECT_FALSE(form->popupcaption->GetShowAccelChar());
  EXPECT_FALSE(form->popuptext1->GetShowAccelChar());
  // Through the track kind the text is taken as it stands too: escaped once, never twice.
  form->showing(L"Player", L"1/3", L"0:42", Flat::EscapeHTMLText(L"a & b"), 0, 2, 50);
  EXPECT_EQ(form->popuptext3->GetJoinedHTMLText(), L"a &amp; b");
  // A line break of the body is a line break of the tagged text.
  form->showing(L"Two", L"", L"", L"first\r\nsecond", 0, 0, 0);
  EXPECT_EQ(form->popuptext3->GetJoinedHTMLText(), L"first<br>second");
}

TEST_F(Popup, EventsAsOsdGoToTheTextDisplayButNotTheTestsOrTheVolume) {
  text.reset(CreateForm<TOSDtForm>(Application));
  OSDtForm = text.get();
  MainSettings.washowosd = 1;
  form->LanguageText = [](const std::string& key, const std::wstring& fallback) {
    return key == "OSD.TestMsg" ? std::wstring(L"Qorn: test message") : fallback;
  };
  form->showing(L"Vol", L"", L"", L"Up &amp; on", 0, 0, 0);
  EXPECT_EQ(text->VyLabel1->GetCaption(), L"Vol     \rUp & on");
  EXPECT_FALSE(OnScreen());
  form->showingff(L"WinAmp", L"1/9", L"2:05", L"Song", 0, 0, 40);
  EXPECT_EQ(text->VyLabel1->GetCaption(), L"WinAmp     1/9     [2:05]\rSong");
  EXPECT_EQ(text->waosd->GetPercent(), 40);
  EXPECT_FALSE(OnScreen());
  form->showing(L"Skin", L"", L"", L"Qorn: test message", 0, 0, 0);
  EXPECT_TRUE(OnScreen()) << "the settings' test shows as a popup";
  PastTheHold();
  form->showingvol(2, 30);
  EXPECT_TRUE(OnScreen()) << "the volume is never rerouted";
  OSDtForm = nullptr;
}

TEST_F(Popup, NothingShowsWhenEventsAreOffOrAFullScreenProgramIsInFront) {
  MainSettings.osdwa = 0;
  form->showing(L"Off", L"", L"", L"Hidden", 0, 0, 0);
  EXPECT_FALSE(OnScreen());
  MainSettings.osdwa = 1;
  form->FullScreenInFront = [] { return true; };
  form->showing(L"Game", L"", L"", L"Hidden", 0, 0, 0);
  EXPECT_FALSE(OnScreen());
}

TEST_F(Popup, VolumeAndTrackPopupsUpdateInPlace) {
  form->showingvol(1, 40);
  ASSERT_TRUE(OnScreen());
  EXPECT_EQ(form->popupcaption->GetCaption(), L"Volume up");
  EXPECT_EQ(form->popuptext1->GetCaption(), L"Volume: 40%");
  EXPECT_TRUE(form->popupvol->GetVisible());
  EXPECT_EQ(form->popupvol->GetPercent(), 40);
  EXPECT_FALSE(form->popuptext3->GetVisible());
  EXPECT_EQ(form->GetHeight(), 87);
  clock.Advance(900);
  form->showingvol(3, 0);
  EXPECT_EQ(form->popupcaption->GetCaption(), L"Sound off");
  EXPECT_EQ(form->popupvol->GetPercent(), 0);
  clock.Advance(900);
  Ticks(1);
  EXPECT_TRUE(OnScreen()) << "the update started the hold again";
  PastTheHold();
  EXPECT_FALSE(OnScreen());

  form->showingff(L"Player", L"1/3", L"0:42", L"Song", 0, 0, 25);
  ASSERT_TRUE(form->popupbar->GetVisible());
  EXPECT_EQ(form->popupbar->GetPosition(), 25);
  EXPECT_FALSE(form->popupvol->GetVisible());
  const RECT r = WindowRectOf(form->WindowHandle());
  form->showingff(L"Player", L"1/3", L"0:43", L"Song", 0, 0, 26);
  EXPECT_EQ(form->popupbar->GetPosition(), 26);
  EXPECT_EQ(form->popuptext2->GetCaption(), L"0:43");
  const RECT same = WindowRectOf(form->WindowHandle());
  EXPECT_EQ(same.left, r.left);
  EXPECT_EQ(same.bottom, r.bottom);
}

TEST_F(Popup, TheProgramsSkinShowsInALayeredWindowOverThePopup) {
  UseSkin(ProgramSkins, "Glass");
  TRecordedMessages messages;
  TDialogServiceOverride answer(messages);
  form->showing(L"Launch", L"", L"12:30", L"Notepad <b>started</b>", 0, 0, 0);
  Pump(20ms);
  EXPECT_TRUE(messages.texts.empty());
  TForm* skin = form->SkinWindow();
  ASSERT_NE(skin, nullptr);
  HWND sw = skin->WindowHandle();
  ASSERT_TRUE(sw && IsWindowVisible(sw));
  const LONG_PTR ex = GetWindowLongPtrW(sw, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(ex & WS_EX_NOACTIVATE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  const RECT a = WindowRectOf(form->WindowHandle());
  const RECT b = WindowRectOf(sw);
  EXPECT_TRUE(EqualRect(&a, &b)) << "the skin lies exactly over the popup";
  EXPECT_GE(a.right - a.left, 286) << "the skin's minimum width";
  EXPECT_FALSE(form->FlatPanel1->GetVisible());
  EXPECT_TRUE(form->GetTransparentColor());
  EXPECT_EQ(form->popupcaption->GetLeft(), 12);
  EXPECT_GT(form->popuptext3->GetWidth(), 80) << "the body sized itself before it was drawn into the skin";

  PastTheHold();
  EXPECT_FALSE(IsWindowVisible(sw)) << "the skin goes with the popup";

  // The volume bar shows on the see-through popup over the skin, inside its border.
  form->showingvol(1, 70);
  ASSERT_TRUE(IsWindowVisible(sw));
  EXPECT_TRUE(form->popupvol->GetVisible());
  EXPECT_EQ(form->popupvol->GetParent(), form.get());
  const auto& margins = Displays::ReadSkinFolder(ProgramSkins + L"Glass").Config;
  EXPECT_EQ(form->popupvol->GetLeft(), margins.Left + 2);
  EXPECT_EQ(form->popupvol->GetTop() + form->popupvol->GetHeight(), form->GetHeight() - margins.Bottom - 2);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->WindowHandle(),
                                            qorn::testing::ScreenshotDir() / "displays_popup_skin_volume.png"));
}

TEST_F(Popup, ABadSkinIsRefusedOnceAndThePopupShowsPlain) {
  TRecordedMessages messages;
  TDialogServiceOverride answer(messages);
  for (const char* name : {"wide_margins", "outside"}) {
    SCOPED_TRACE(name);
    messages.texts.clear();
    UseSkin(FixtureSkins, name);
    form->showing(L"Launch", L"", L"", L"Notepad", 0, 0, 0);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_NE(messages.texts[0].find(L"Skin "), std::wstring::npos);
    EXPECT_TRUE(OnScreen());
    EXPECT_TRUE(form->FlatPanel1->GetVisible()) << "the plain popup";
    EXPECT_FALSE(form->GetTransparentColor());
    form->showing(L"Launch", L"", L"", L"Again", 0, 0, 0);
    EXPECT_EQ(messages.texts.size(), 1u) << "told once";
    PastTheHold();
  }
}

TEST_F(Popup, PreviewingTheLoadedSkinDoesNotReadItAgain) {
  TRecordedMessages messages;
  TDialogServiceOverride answer(messages);
  UseSkin(FixtureSkins, "not_png");
  form->ShowSkinPreview(FixtureSkins + L"not_png\\");
  ASSERT_EQ(messages.texts, std::vector<std::wstring>{L"Erreur format PNG (nine.png)"});
  form->ShowSkinPreview(FixtureSkins + L"not_png\\");
  EXPECT_EQ(messages.texts.size(), 1u);
  EXPECT_EQ(form->popupcaption->GetCaption(), L"Test");
  EXPECT_EQ(form->popuptext3->GetJoinedHTMLText(), L"Preview PopUp window");
  PastTheHold();

  // The preview shows the skin it was given, not the one the settings name.
  form->ShowSkinPreview(ProgramSkins + L"Paper\\");
  ASSERT_NE(form->SkinWindow(), nullptr);
  EXPECT_TRUE(IsWindowVisible(form->SkinWindow()->WindowHandle()));
  EXPECT_EQ(form->GetWidth(), 300) << "Paper's minimum width";
}

TEST_F(Popup, Screenshots) {
  PopupSettings.PopupPosition = 6;
  form->showing(L"Launch", L"", L"12:30", L"Notepad <b>started</b><br>C:\\Windows\\notepad.exe", 0, 0, 0);
  Pump(100ms);
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->WindowHandle(), qorn::testing::ScreenshotDir() / "displays_popup_plain.png"));
  PastTheHold();
  form->showingvol(1, 60);
  Pump(100ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->WindowHandle(),
                                            qorn::testing::ScreenshotDir() / "displays_popup_volume.png"));
  PastTheHold();
  for (const char* name : {"Glass", "Paper"}) {
    UseSkin(ProgramSkins, name);
    form->showing(L"Launch", L"", L"12:30", L"Notepad <b>started</b><br>C:\\Windows\\notepad.exe", 0, 0, 0);
    Pump(100ms);
    ASSERT_NE(form->SkinWindow(), nullptr);
    EXPECT_TRUE(qorn::testing::SaveWindowShot(
        form->SkinWindow()->WindowHandle(),
        qorn::testing::ScreenshotDir() / (std::string("displays_popup_skin_") + name + ".png")));
    PastTheHold();
  }
}

}  // namespace
