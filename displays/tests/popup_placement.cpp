// Where the popup rests and slides in from, for every position and direction, on
// a screen with a task bar at the bottom (work area 0,0 - 1280,994 of 1280 x 1024);
// and the popup's texts as the text display shows them.
#include <gtest/gtest.h>

#include "displays/PopupPlacement.h"
#include "displays/PopupText.h"

namespace {

using namespace Displays;

constexpr TPopupArea Area{0, 0, 1280, 994, 1280, 1024};
constexpr int W = 286, H = 100;

TEST(PopupPlacement, RestingPlacesAndSlideStartsOfEveryPosition) {
  struct {
    int position, slide;
    TPopupPoint rest, start;
    TSlideFrom from;
  } cases[] = {
      {1, 1, {2, 2}, {2, -H}, TSlideFrom::Top},
      {1, 2, {2, 2}, {-W, 2}, TSlideFrom::Left},
      {2, 1, {2, 994 - H - 2}, {2, 1024}, TSlideFrom::Bottom},
      {2, 2, {2, 994 - H - 2}, {-W, 994 - H - 2}, TSlideFrom::Left},
      {3, 1, {640 - 143, 2}, {640 - 143, -H}, TSlideFrom::Top},
      {3, 2, {640 - 143, 2}, {640 - 143, -H}, TSlideFrom::Top},  // the centre always slides vertically
      {4, 1, {640 - 143, 994 - H - 2}, {640 - 143, 1024}, TSlideFrom::Bottom},
      {4, 2, {640 - 143, 994 - H - 2}, {640 - 143, 1024}, TSlideFrom::Bottom},
      {5, 1, {1280 - W - 2, 2}, {1280 - W - 2, -H}, TSlideFrom::Top},
      {5, 2, {1280 - W - 2, 2}, {1280, 2}, TSlideFrom::Right},
      {6, 1, {1280 - W - 2, 994 - H - 2}, {1280 - W - 2, 1024}, TSlideFrom::Bottom},
      {6, 2, {1280 - W - 2, 994 - H - 2}, {1280, 994 - H - 2}, TSlideFrom::Right},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "position " << c.position << ", slide " << c.slide);
    EXPECT_TRUE(PopupPositionValid(c.position));
    EXPECT_EQ(PopupRestingPlace(c.position, Area, W, H), c.rest);
    EXPECT_EQ(PopupSlideStart(c.position, c.slide, Area, W, H), c.start);
    EXPECT_EQ(PopupSlideFrom(c.position, c.slide), c.from);
  }
  EXPECT_FALSE(PopupPositionValid(0));
  EXPECT_FALSE(PopupPositionValid(7));
}

TEST(PopupPlacement, CentredPlacesTruncateAnOddWidth) {
  EXPECT_EQ(PopupRestingPlace(3, Area, 287, H).Left, 496);  // 640 - 143.5
  TPopupArea narrowWork = Area;
  narrowWork.WorkRight = 1000;  // a task bar on the right: the slide runs down the work area's middle
  EXPECT_EQ(PopupSlideStart(4, 1, narrowWork, 287, H).Left, 356);
}

TEST(PopupPlacement, ASlideArrivesAtItsRestingPlaceInItsTicks) {
  for (int position = 1; position <= 6; ++position) {
    for (int slide : {1, 2}) {
      SCOPED_TRACE(testing::Message() << "position " << position << ", slide " << slide);
      TPopupSlide s(position, slide, Area, W, H, 30);
      const TPopupPoint rest = PopupRestingPlace(position, Area, W, H);
      const int target = s.Vertical() ? rest.Top : rest.Left;
      int ticks = 0, at = s.Current(), last = at;
      while (!s.Done() && ticks < 100) {
        at = s.Step();
        ++ticks;
        EXPECT_TRUE(at == target || (at > last) == (target > last)) << "moves towards its place";
        last = at;
      }
      EXPECT_EQ(at, target);
      EXPECT_GE(ticks, 29);
      EXPECT_LE(ticks, 31);
    }
  }
}

TEST(PopupPlacement, ASlideWithNoWayToGoStillEnds) {
  TPopupArea odd = Area;
  odd.ScreenHeight = 0;  // a work area beyond the screen
  TPopupSlide s(6, 1, odd, W, H, 10);
  int ticks = 0;
  while (!s.Done() && ticks < 10000) s.Step(), ++ticks;
  EXPECT_TRUE(s.Done());
}

TEST(PopupText, NoticesAsTheTextDisplayShowsThem) {
  struct {
    std::wstring caption, pos, time, text, osd;
  } cases[] = {
      {L"Vol", L"", L"", L"Up", L"Vol     \rUp"},
      {L"", L"3/4", L"", L"Up", L"Up"},  // no caption: the position goes too
      {L"Player", L"1/9", L"2:05", L"Song", L"Player     1/9     [2:05]\rSong"},
      {L"", L"", L"2:05", L"Song", L"[2:05]\rSong"},
      {L"Tools", L"", L"", L"<b>Tom &amp; Jerry</b>", L"Tools     \rTom & Jerry"},
  };
  for (const auto& c : cases) EXPECT_EQ(PopupNoticeAsOsdText(c.caption, c.pos, c.time, c.text), c.osd);
  EXPECT_EQ(PopupTrackAsOsdText(L"WinAmp", L"1/9", L"2:05", L"a &lt;b&gt;"), L"WinAmp     1/9     [2:05]\ra <b>");
}

TEST(PopupText, TheSettingsTestsAreNeverRerouted) {
  EXPECT_TRUE(IsPopupPreview(L"Test", L"anything", L"Hello"));
  EXPECT_TRUE(IsPopupPreview(L"Skin", L"Preview PopUp window", L"Hello"));
  EXPECT_TRUE(IsPopupPreview(L"Skin", L"Hello", L"Hello"));
  EXPECT_FALSE(IsPopupPreview(L"test", L"Hi", L"Hello"));
}

TEST(PopupText, LineBreaksOfABodyBecomeTagsOnce) {
  EXPECT_EQ(PopupBodyMarkup(L"a\r\nb\r\n\r\nc\rd\ne"), L"a<br>b<br><br>c\rd\ne");
}

}  // namespace
