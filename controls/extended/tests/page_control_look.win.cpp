// How the page control's tabs look and what they show: images placed by their
// alignment and drawn disabled, turned captions and the face that can turn them,
// coloured tabs, gradients on a palette screen, the card's shadow after hot tracking,
// tab hints, the themed scroller and close button, the region cache, and windows
// given back by pages not shown.
#include <gtest/gtest.h>

#include "controls/extended/VyGrafxColor.h"
#include "controls/extended/VyTabs.h"
#include "controls/extended/tests/VyPagesTest.h"
#include "testing/MemoryPaint.h"
#include "testing/PumpApplication.h"
#include "testing/RecordingThemes.h"
#include "testing/WinTesting.h"
#include "vcl/Clock.h"
#include "vcl/Exceptions.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

#include <vssym32.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace Vy;

namespace {

using namespace std::chrono_literals;

// The smallest rectangle round every pixel of one colour inside an area; empty when none.
TRect BoundsOf(const TMemoryPaint& paint, const TRect& area, COLORREF color) {
  TRect box{1 << 20, 1 << 20, -1, -1};
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (paint.At(x, y) == color) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box.Right < 0 ? TRect{} : box;
}

// Within a few steps of a colour on each channel: the first and last rows of a
// gradient are one band away from its ends.
bool Near(COLORREF pixel, TColor color) {
  const COLORREF c = ColorToRGB(color);
  return std::abs(int(GetRValue(pixel)) - int(GetRValue(c))) <= 40 &&
         std::abs(int(GetGValue(pixel)) - int(GetGValue(c))) <= 40 &&
         std::abs(int(GetBValue(pixel)) - int(GetBValue(c))) <= 40;
}

int CountOf(const TMemoryPaint& paint, const TRect& area, COLORREF color) {
  int n = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) n += paint.At(x, y) == color;
  return n;
}

// An image list of solid squares: red, lime.
std::unique_ptr<TImageList> SolidImages(int size) {
  auto images = std::make_unique<TImageList>(nullptr);
  images->SetWidth(size);
  images->SetHeight(size);
  for (TColor color : {clRed, clLime}) {
    TBitmap picture(size, size, pf24bit);
    picture.GetCanvas()->GetBrush()->SetColor(color);
    picture.GetCanvas()->FillRect({0, 0, size, size});
    images->AddMasked(&picture, clNone);
  }
  return images;
}

// A bitmap font of a name of its own, made from one the system ships (under wine its
// bitmap faces share their names with TrueType ones, which win): the face, or empty.
class TBitmapFace {
 public:
  TBitmapFace() {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    for (const std::wstring& from :
         {std::wstring(windows) + L"\\Fonts\\coure.fon", std::wstring(L"Z:\\usr\\share\\wine\\fonts\\coure.fon")}) {
      std::ifstream in(from.c_str(), std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (bytes.empty()) continue;
      for (size_t at = bytes.find("Courier"); at != std::string::npos; at = bytes.find("Courier", at))
        bytes.replace(at, 7, "Qbitmap");
      wchar_t temp[MAX_PATH] = {};
      GetTempPathW(MAX_PATH, temp);
      file_ = std::wstring(temp) + L"qorn-bitmap-face-" + std::to_wstring(GetCurrentProcessId()) + L".fon";
      std::ofstream(file_.c_str(), std::ios::binary).write(bytes.data(), std::streamsize(bytes.size()));
      if (AddFontResourceExW(file_.c_str(), FR_PRIVATE, nullptr) > 0) {
        TFont font;
        font.SetName(L"Qbitmap");
        if (!font.IsTrueType()) face_ = L"Qbitmap";
      }
      return;
    }
  }
  ~TBitmapFace() {
    if (file_.empty()) return;
    RemoveFontResourceExW(file_.c_str(), FR_PRIVATE, nullptr);
    DeleteFileW(file_.c_str());
  }
  const std::wstring& Face() const { return face_; }

 private:
  std::wstring file_, face_;
};

class VyPagesLook : public VyPages {
 protected:
  // Every caption in one colour, so that its pixels can be told from the tab's.
  void CaptionsIn(TColor color) {
    pages->OnGetTextColor = [color](TObject*, int, TVyTextStyle, TColor& c, bool& handled) {
      c = color;
      handled = true;
    };
  }
};

TEST_F(VyPagesLook, ImagesSitWhereTheirAlignmentPutsThem) {
  auto images = SolidImages(12);
  pages->SetTabStyle(TVyTabStyle::tsRoundCorners);
  pages->SetTabWidth(120);
  pages->SetTabHeight(48);
  pages->SetImages(images.get());
  second->SetImageIndex(0);
  second->SetCaption(L"");
  const COLORREF red = ColorToRGB(clRed);
  // The image's box in tab 1 (not selected) for each placement.
  auto imageAt = [&](TVyImagePosition position, TVyHorizontalAlignment h, TVyVerticalAlignment v) {
    pages->SetImagePosition(position);
    pages->SetImageAlignment(h);
    pages->SetImageAlignmentVertical(v);
    TMemoryPaint paint(pages);
    return BoundsOf(paint, pages->TabClientRect(1), red);
  };
  using H = TVyHorizontalAlignment;
  using V = TVyVerticalAlignment;
  const TRect tab = pages->TabClientRect(1);
  const TRect topLeft = imageAt(TVyImagePosition::ipBack, H::haLeft, V::vaTop);
  const TRect bottomRight = imageAt(TVyImagePosition::ipBack, H::haRight, V::vaBottom);
  const TRect centre = imageAt(TVyImagePosition::ipBack, H::haCenter, V::vaCenter);
  ASSERT_EQ(topLeft.Width(), 12) << "the whole image is drawn";
  ASSERT_EQ(topLeft.Height(), 12);
  EXPECT_LT(topLeft.Left - tab.Left, 8) << "left, inside the rounded frame";
  EXPECT_LT(topLeft.Top - tab.Top, 8);
  EXPECT_LT(tab.Right - bottomRight.Right, 8) << "right";
  EXPECT_LT(tab.Bottom - bottomRight.Bottom, 8);
  EXPECT_GT(bottomRight.Left - topLeft.Left, 80) << "the image moved across the wide tab";
  EXPECT_GT(bottomRight.Top - topLeft.Top, 20);
  EXPECT_NEAR(centre.Left, (topLeft.Left + bottomRight.Left) / 2, 1) << "centred both ways";
  EXPECT_NEAR(centre.Top, (topLeft.Top + bottomRight.Top) / 2, 1);

  // Stretched, it keeps to the top left whatever the alignment says.
  EXPECT_EQ(imageAt(TVyImagePosition::ipStretch, H::haRight, V::vaBottom), topLeft);
  // Beside the caption the image area is the image's own width: only the vertical
  // alignment moves it. Above the caption only the horizontal one does.
  const TRect left = imageAt(TVyImagePosition::ipLeft, H::haRight, V::vaBottom);
  EXPECT_EQ(left.Left, topLeft.Left);
  EXPECT_EQ(left.Top, bottomRight.Top);
  const TRect top = imageAt(TVyImagePosition::ipTop, H::haRight, V::vaBottom);
  EXPECT_EQ(top.Left, bottomRight.Left);
  EXPECT_EQ(top.Top, topLeft.Top);
  const TRect right = imageAt(TVyImagePosition::ipRight, H::haLeft, V::vaTop);
  EXPECT_EQ(right.Left, bottomRight.Left);
  EXPECT_EQ(right.Top, topLeft.Top);
  const TRect bottom = imageAt(TVyImagePosition::ipBottom, H::haLeft, V::vaTop);
  EXPECT_EQ(bottom.Left, topLeft.Left);
  EXPECT_EQ(bottom.Top, bottomRight.Top);
}

TEST_F(VyPagesLook, TheCaptionMakesRoomForTheImageBesideIt) {
  auto images = SolidImages(16);
  pages->SetTabStyle(TVyTabStyle::tsRoundCorners);
  pages->SetImages(images.get());
  pages->SetImageMargin(6);
  CaptionsIn(clBlue);
  second->SetImageIndex(0);
  for (TVyImagePosition position : {TVyImagePosition::ipLeft, TVyImagePosition::ipRight, TVyImagePosition::ipTop}) {
    SCOPED_TRACE(int(position));
    pages->SetImagePosition(position);
    TMemoryPaint paint(pages);
    const TRect tab = pages->TabClientRect(1);
    const TRect image = BoundsOf(paint, tab, ColorToRGB(clRed)), text = BoundsOf(paint, tab, ColorToRGB(clBlue));
    ASSERT_FALSE(image.IsEmpty());
    ASSERT_FALSE(text.IsEmpty());
    if (position == TVyImagePosition::ipLeft) {
      EXPECT_GE(text.Left, image.Right + 6) << "after the image and margin";
    } else if (position == TVyImagePosition::ipRight) {
      EXPECT_LE(text.Right + 6, image.Left);
    } else {
      EXPECT_GE(text.Top, image.Bottom + 6);
    }
    EXPECT_TRUE(tab.Contains({text.Right - 1, text.Bottom - 1})) << "the tab grew to hold both";
  }
}

TEST_F(VyPagesLook, ADisabledTabDrawsItsDisabledImageOrItsImageGreyed) {
  auto images = SolidImages(16);
  pages->SetImages(images.get());
  const COLORREF red = ColorToRGB(clRed), lime = ColorToRGB(clLime);
  second->SetImageIndex(0);
  third->SetImageIndex(0);
  third->SetDisabledIndex(1);
  {
    TMemoryPaint paint(pages);
    EXPECT_GT(CountOf(paint, pages->TabClientRect(1), red), 100) << "enabled: the image as it is";
    EXPECT_GT(CountOf(paint, pages->TabClientRect(2), red), 100) << "an enabled tab shows ImageIndex";
    EXPECT_EQ(CountOf(paint, pages->TabClientRect(2), lime), 0);
  }
  second->SetTabEnabled(false);
  third->SetTabEnabled(false);
  TMemoryPaint paint(pages);
  EXPECT_EQ(CountOf(paint, pages->TabClientRect(1), red), 0) << "greyed without an image of its own";
  EXPECT_GT(CountOf(paint, pages->TabClientRect(2), lime), 100) << "its disabled image, in colour";
  EXPECT_EQ(CountOf(paint, pages->TabClientRect(2), red), 0);
}

TEST_F(VyPagesLook, TurnedCaptionsReadUpOnTheLeftAndDownOnTheRight) {
  // Room along the side for three long tabs.
  form->SetHeight(440);
  pages->SetHeight(380);
  pages->GetFont()->SetName(L"Tahoma");
  pages->GetFont()->SetSize(16);
  pages->GetFont()->SetStyle(TFontStyles{fsBold});
  ASSERT_TRUE(pages->GetFont()->IsTrueType());
  pages->SetTabStyle(TVyTabStyle::tsRoundCorners);
  pages->SetTextOrientation(orVertical);
  pages->SetTabHeight(90);
  second->SetCaption(L"T");
  CaptionsIn(clBlue);
  const COLORREF blue = ColorToRGB(clBlue);
  // The caption's box in tab 1, and how many of its pixels lie in its outer columns.
  struct TCaption {
    TRect Box;
    int LeftColumn = 0, RightColumn = 0;
  };
  auto caption = [&](TVyTabOrientation side, TVyVerticalAlignment v) {
    pages->SetTabOrientation(side);
    pages->SetTextAlignmentVertical(v);
    TMemoryPaint paint(pages);
    TCaption c;
    c.Box = BoundsOf(paint, pages->TabClientRect(1), blue);

    c.LeftColumn = CountOf(paint, {c.Box.Left, c.Box.Top, c.Box.Left + 2, c.Box.Bottom}, blue);
    c.RightColumn = CountOf(paint, {c.Box.Right - 2, c.Box.Top, c.Box.Right, c.Box.Bottom}, blue);
    return c;
  };
  const TCaption up = caption(TVyTabOrientation::toLeft, TVyVerticalAlignment::vaCenter);
  ASSERT_FALSE(up.Box.IsEmpty());
  EXPECT_GT(up.LeftColumn, 2 * up.RightColumn) << "reading upwards the bar of the T is on the left";
  const TCaption down = caption(TVyTabOrientation::toRight, TVyVerticalAlignment::vaCenter);
  ASSERT_FALSE(down.Box.IsEmpty());
  EXPECT_GT(down.RightColumn, 2 * down.LeftColumn) << "reading downwards the bar is on the right";

  // Along the tab the vertical alignment moves the caption, on either side.
  for (TVyTabOrientation side : {TVyTabOrientation::toLeft, TVyTabOrientation::toRight}) {
    SCOPED_TRACE(int(side));
    pages->SetTabOrientation(side);
    const TRect tab = pages->TabClientRect(1);
    const TRect top = caption(side, TVyVerticalAlignment::vaTop).Box;
    const TRect centre = caption(side, TVyVerticalAlignment::vaCenter).Box;
    const TRect bottom = caption(side, TVyVerticalAlignment::vaBottom).Box;
    EXPECT_LT(top.Top - tab.Top, 12) << "at the top of the tab";
    EXPECT_LT(tab.Bottom - bottom.Bottom, 12) << "at the bottom";
    EXPECT_GT(bottom.Top - top.Top, 40);
    EXPECT_NEAR(centre.Top, (top.Top + bottom.Top) / 2, 2);
  }
}

TEST_F(VyPagesLook, TurnedCaptionsWithImagesLookFinished) {
  auto images = SolidImages(16);
  pages->SetImages(images.get());
  pages->SetTabOrientation(TVyTabOrientation::toLeft);
  pages->SetTextOrientation(orVertical);
  pages->SetImagePosition(TVyImagePosition::ipBottom);
  first->SetImageIndex(1);
  second->SetImageIndex(0);
  third->SetImageIndex(0);
  third->SetDisabledIndex(1);
  third->SetTabEnabled(false);
  pages->SetActivePage(second);
  Pump(30ms);
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-pages-turned-images.png"));
  pages->SetTabOrientation(TVyTabOrientation::toRight);
  pages->SetTabStyle(TVyTabStyle::tsRoundCorners);
  pages->SetImagePosition(TVyImagePosition::ipTop);
  Pump(30ms);
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vy-pages-turned-right.png"));
}

TEST_F(VyPagesLook, VerdanaStandsInForAFaceThatCannotTurn) {
  const TBitmapFace bitmap;
  const std::wstring bitmapFace = bitmap.Face();
  ASSERT_FALSE(bitmapFace.empty()) << "no bitmap font to try with";
  pages->GetFont()->SetName(L"Tahoma");
  pages->SetTextOrientation(orVertical);
  EXPECT_EQ(pages->GetFont()->GetName(), L"Tahoma") << "a TrueType face turns as it is";
  pages->SetTextOrientation(orHorizontal);
  pages->GetFont()->SetName(bitmapFace);
  pages->SetTextOrientation(orVertical);
  EXPECT_EQ(pages->GetFont()->GetName(), L"Verdana");

  // Read from a form, the face is looked at once everything is read.
  std::string text = kPagesForm;
  const std::string face(bitmapFace.begin(), bitmapFace.end());
  text.replace(text.find("    TabStyle = tsCutCorner\n"), 0,
               "    TextOrientation = orVertical\n    ParentFont = False\n    Font.Name = '" + face + "'\n");
  Load(text);
  EXPECT_EQ(pages->GetTextOrientation(), orVertical);
  EXPECT_EQ(pages->GetFont()->GetName(), L"Verdana");
}

TEST_F(VyPagesLook, ColouredTabsTakeTheirPagesColours) {
  pages->SetTabStyle(TVyTabStyle::tsRoundCorners);
  const COLORREF yellow = ColorToRGB(clYellow);
  EXPECT_FALSE(pages->GetUseColoredTabs());
  second->SetSheetColor(clYellow);
  EXPECT_TRUE(pages->GetUseColoredTabs()) << "a page of its own colour turns coloured tabs on";
  {
    TMemoryPaint paint(pages);
    // Beside the caption of tab 1, not selected: from the page's colour at the outer
    // edge to the colour darkened where the tab meets the card.
    const TRect tab = pages->TabClientRect(1);
    const int x = tab.Left + 5;
    EXPECT_TRUE(Near(paint.At(x, tab.Top + 1), clYellow)) << std::hex << paint.At(x, tab.Top + 1);
    EXPECT_TRUE(Near(paint.At(x, tab.Bottom - 1), DarkenColor(clYellow, 30)))
        << std::hex << paint.At(x, tab.Bottom - 1);
    EXPECT_EQ(CountOf(paint, pages->TabClientRect(0), yellow), 0) << "the other tabs keep theirs";
  }
  pages->SetActivePage(second);
  {
    TMemoryPaint paint(pages);
    const TRect tab = pages->TabClientRect(1), card = pages->DisplayRect();
    EXPECT_EQ(paint.At(tab.Left + 5, (tab.Top + tab.Bottom) / 2), yellow) << "selected: the colour itself";
    EXPECT_EQ(paint.At(card.Left + 30, card.Top + 30), yellow) << "the card under it too";
  }
  pages->SetUseColoredTabs(false);
  EXPECT_EQ(second->GetColor(), pages->GetColor()) << "one colour again for every page";
  TMemoryPaint paint(pages);
  EXPECT_EQ(CountOf(paint, pages->TabClientRect(1), yellow), 0);

  // Without coloured tabs the pages follow the control's colour.
  pages->SetColor(clAqua);
  EXPECT_EQ(first->GetColor(), clAqua);
  EXPECT_EQ(third->GetColor(), clAqua);
}

TEST_F(VyPagesLook, APaletteScreenGetsFlatTabsInsteadOfGradients) {
  pages->GetTabColors()->SetShadow(clGreen);
  pages->GetTabColors()->SetUnselected(clWhite);
  const TRect tab = pages->TabClientRect(1);
  const int x = tab.Left + 4;  // beside the caption
  {
    TMemoryPaint paint(pages);
    EXPECT_TRUE(Near(paint.At(x, tab.Top + 1), clWhite)) << "a gradient on a true-colour screen";
    EXPECT_TRUE(Near(paint.At(x, tab.Bottom - 1), clGreen));
  }
  pages->TrueColorScreen = [] { return false; };
  pages->Invalidate();
  TMemoryPaint paint(pages);
  EXPECT_EQ(paint.At(x, tab.Top + 1), ColorToRGB(clWhite)) << "flat in the unselected colour";
  EXPECT_EQ(paint.At(x, tab.Bottom - 1), ColorToRGB(clWhite));
}

TEST_F(VyPagesLook, TheCardFrameShowsOnEverySideButTheTabs) {
  const COLORREF frame = ColorToRGB(AdjustColorBy(ColorToRGB(clBtnShadow), 0));
  pages->SetShowShadow(false);
  using O = TVyTabOrientation;
  for (O side : {O::toTop, O::toLeft, O::toBottom, O::toRight}) {
    SCOPED_TRACE(int(side));
    pages->SetTabOrientation(side);
    TMemoryPaint paint(pages);
    const TRect page = pages->DisplayRect();  // the frame runs round it
    const int x = (page.Left + page.Right) / 2, y = (page.Top + page.Bottom) / 2;
    if (side != O::toLeft) EXPECT_EQ(paint.At(page.Left - 1, y), frame) << "left";
    if (side != O::toTop) EXPECT_EQ(paint.At(x, page.Top - 1), frame) << "top";
    if (side != O::toRight) EXPECT_EQ(paint.At(page.Right, y), frame) << "right";
    if (side != O::toBottom) EXPECT_EQ(paint.At(x, page.Bottom), frame) << "bottom";
    EXPECT_LT(page.Right, pages->GetWidth());
    EXPECT_LT(page.Bottom, pages->GetHeight());
  }
}

TEST_F(VyPagesLook, AFullPaintAfterHotTrackingKeepsTheShadow) {
  TManualClock clock;
  TClockOverride useClock(clock);
  form->SetColor(TColor(0x80A0C0));
  pages->SetTransparent(true);
  const int w = pages->GetWidth(), y = pages->DisplayRect().Top + 10;
  const COLORREF shadow = ColorToRGB(BlendColors(clBlack, TColor(0x80A0C0), 30));
  const TRect tab = pages->TabClientRect(2);
  SendMessageW(pages->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM((tab.Left + tab.Right) / 2, tab.Bottom - 3));
  ASSERT_EQ(pages->GetHotIndex(), 2);
  { TMemoryPaint hotOnly(pages); }
  // Uncovered or resized later, the whole control paints again: with its shadow.
  TMemoryPaint paint(pages);
  EXPECT_EQ(paint.At(w - 1, y), shadow);
}

TEST_F(VyPagesLook, TabHintsFollowTheMouseAndGiveTheControlsOwnBack) {
  TManualClock clock;
  TClockOverride useClock(clock);
  std::string text = kPagesForm;
  text.replace(text.find("    TabStyle = tsCutCorner\n"), 0, "    Hint = 'All pages'\n    TabHints = True\n");
  text.replace(text.find("      Caption = '&General'\n"), 0, "      Hint = 'Settings of all kinds'\n");
  text.replace(text.find("      Caption = '&Keys'\n"), 0, "      Hint = 'The keys you bound'\n");
  Load(text);
  auto moveTo = [&](TPoint p) { SendMessageW(pages->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y)); };
  auto middleOf = [&](int i) {
    const TRect r = pages->TabClientRect(i);
    return TPoint{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 + 2};
  };
  EXPECT_EQ(pages->GetHint(), L"All pages");
  moveTo(middleOf(0));
  EXPECT_EQ(pages->GetHint(), L"Settings of all kinds");
  moveTo(middleOf(1));
  EXPECT_EQ(pages->GetHint(), L"The keys you bound");
  moveTo(middleOf(2));
  EXPECT_EQ(pages->GetHint(), L"All pages") << "a tab without a hint of its own";
  moveTo(middleOf(1));
  const TRect last = pages->TabClientRect(2);
  moveTo({last.Right + 20, (last.Top + last.Bottom) / 2});
  EXPECT_EQ(pages->GetHint(), L"") << "no hint on the strip between or after the tabs";
  EXPECT_EQ(pages->GetHotIndex(), -1);
  const TRect card = pages->DisplayRect();
  moveTo({card.Left + 20, card.Top + 20});
  EXPECT_EQ(pages->GetHint(), L"All pages") << "the card shows the control's own";

  // The mouse may leave without a move over the control: the next tick ends the hot tab.
  moveTo(middleOf(1));
  ASSERT_EQ(pages->GetHotIndex(), 1);
  SetCursorPos(2, 2);
  clock.Advance(100);
  PumpUntil([&] { return pages->GetHotIndex() == -1; }, 5s);
  EXPECT_EQ(pages->GetHotIndex(), -1);
  EXPECT_EQ(pages->GetHint(), L"All pages");
}

TEST_F(VyPagesLook, ThemedScrollerAndCloseButtonAskForTheirParts) {
  qorn::testing::TRecordingThemeServices themes;
  TThemeServicesOverride useThemes(themes);
  for (int k = 0; k < 6; ++k) {
    auto* extra = new TVyTabSheet(form.get());
    extra->SetCaption(L"A long extra page " + std::to_wstring(k));
    extra->SetPageControl(pages);
  }
  pages->SetShowCloseButton(true);
  ASSERT_TRUE(pages->GetNeedScroller());
  TVyTabScroller* scroller = pages->GetScroller();
  TVyTabCloseButton* close = pages->GetCloseButton();
  auto drawn = [&](TControl* c) {
    themes.Calls.clear();
    TMemoryPaint paint(c);
    std::vector<TThemedElementDetails> parts;
    for (const auto& call : themes.Calls)
      if (call.What == L"DrawElement") parts.push_back(call.Details);
    return parts;
  };
  using P = std::vector<TThemedElementDetails>;
  EXPECT_EQ(drawn(scroller),
            (P{{L"SCROLLBAR", SBP_ARROWBTN, ABS_LEFTDISABLED}, {L"SCROLLBAR", SBP_ARROWBTN, ABS_RIGHTNORMAL}}))
      << "at the start only the way on is open";
  const int right = scroller->GetWidth() - 3, mid = scroller->GetHeight() / 2;
  SendMessageW(scroller->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(right, mid));
  EXPECT_EQ(drawn(scroller),
            (P{{L"SCROLLBAR", SBP_ARROWBTN, ABS_LEFTDISABLED}, {L"SCROLLBAR", SBP_ARROWBTN, ABS_RIGHTPRESSED}}));
  SendMessageW(scroller->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(right, mid));
  EXPECT_EQ(drawn(scroller),
            (P{{L"SCROLLBAR", SBP_ARROWBTN, ABS_LEFTNORMAL}, {L"SCROLLBAR", SBP_ARROWBTN, ABS_RIGHTNORMAL}}))
      << "scrolled on: both ways open, never hot";

  pages->SetTabOrientation(TVyTabOrientation::toLeft);
  ASSERT_TRUE(pages->GetNeedScroller());
  const P side = drawn(scroller);
  ASSERT_EQ(side.size(), 2u);
  EXPECT_TRUE(side[0].State >= ABS_DOWNNORMAL && side[0].State <= ABS_DOWNDISABLED) << "the lower button points down";
  EXPECT_TRUE(side[1].State >= ABS_UPNORMAL && side[1].State <= ABS_UPDISABLED) << "the upper one up";

  EXPECT_EQ(drawn(close), (P{{L"WINDOW", WP_CLOSEBUTTON, CBS_NORMAL}}));
  SendMessageW(close->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  EXPECT_EQ(drawn(close), (P{{L"WINDOW", WP_CLOSEBUTTON, CBS_PUSHED}}));
  SendMessageW(close->GetHandle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 40));
  SendMessageW(close->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
  // With no tab selected the button greys, and it is told so at once.
  Pump(20ms);
  ValidateRect(close->GetHandle(), nullptr);
  pages->GetActivePage()->SetTabVisible(false);
  ASSERT_EQ(pages->GetTabIndex(), -1);
  EXPECT_TRUE(GetUpdateRect(close->GetHandle(), nullptr, FALSE)) << "the close button repaints";
  EXPECT_EQ(drawn(close), (P{{L"WINDOW", WP_CLOSEBUTTON, CBS_DISABLED}}));
}

TEST(VyTabRegionCache, KeepsAsManyRegionsAsItsCapacity) {
  TVyTabRegionCache cache;
  auto region = [] { return CreateRectRgn(0, 0, 10, 10); };
  auto alive = [](HRGN r) { return GetObjectType(r) == OBJ_REGION; };
  const TRect a = Rect(0, 0, 10, 10), b = Rect(10, 0, 20, 10), c = Rect(20, 0, 30, 10);
  HRGN ra = cache.Add(a, region());
  HRGN rb = cache.Add(b, region());
  EXPECT_EQ(cache.Find(a), nullptr) << "by default only the last region stays";
  EXPECT_FALSE(alive(ra)) << "and the one it dropped is freed";
  EXPECT_EQ(cache.Find(b), rb);

  for (int bad : {0, -2}) {
    try {
      cache.SetCapacity(bad);
      ADD_FAILURE() << bad << " taken";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), L"Capacity must be -1 (to cache all regions) or > 0");
    }
  }
  EXPECT_EQ(cache.GetCapacity(), 1);

  cache.SetCapacity(-1);
  ra = cache.Add(a, region());
  HRGN rc = cache.Add(c, region());
  EXPECT_EQ(cache.Count(), 3) << "-1 keeps them all";
  cache.Add(b, rb);  // used again: to the front
  cache.SetCapacity(2);
  EXPECT_EQ(cache.Count(), 2);
  EXPECT_EQ(cache.Find(a), nullptr) << "the least recently used goes first";
  EXPECT_FALSE(alive(ra));
  EXPECT_EQ(cache.Find(b), rb);
  EXPECT_EQ(cache.Find(c), rc);
  cache.Clear();
  EXPECT_FALSE(alive(rb));
  EXPECT_FALSE(alive(rc));
}

TEST_F(VyPagesLook, ThePageControlRefusesABadRegionCacheCapacity) {
  EXPECT_THROW(pages->SetRegionCacheCapacity(0), Exception);
  pages->SetRegionCacheCapacity(-1);
  TMemoryPaint paint(pages);
  const TRect tab = pages->TabClientRect(1);
  EXPECT_EQ(pages->TabAtPos({(tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2 + 2}), 1);
}

TEST_F(VyPagesLook, APageNotShownGivesItsWindowsBackAndKeepsItsText) {
  auto* edit = dynamic_cast<TEdit*>(form->FindComponent(L"Edit1"));
  ASSERT_TRUE(edit);
  SetWindowTextW(edit->GetHandle(), L"typed by the user");
  edit->SetFocus();
  Pump(20ms);
  pages->SetActivePage(second);
  EXPECT_TRUE(first->HandleAllocated()) << "kept without SaveResources";
  pages->SetActivePage(first);
  pages->SetSaveResources(true);
  edit->SetFocus();
  Pump(20ms);
  pages->SetActivePage(second);
  EXPECT_FALSE(first->HandleAllocated()) << "the page not shown gave its window back";
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_NE(form->GetActiveControl(), edit) << "the focus left the page first";
  pages->SetActivePage(first);
  ASSERT_TRUE(edit->HandleAllocated());
  wchar_t buffer[64] = {};
  GetWindowTextW(edit->GetHandle(), buffer, 64);
  EXPECT_STREQ(buffer, L"typed by the user") << "nothing typed is lost";
}

TEST_F(VyPagesLook, ARowThinnerThanItsButtonsGivesThemNoNegativeSize) {
  // Turned captions on top tabs a pixel high: the buttons take the row's thickness
  // less two, which is below zero.
  pages->SetTextOrientation(orVertical);
  pages->SetTabHeight(1);
  for (int k = 0; k < 12; ++k) {
    auto* extra = new TVyTabSheet(form.get());
    extra->SetCaption(L"Page " + std::to_wstring(k));
    extra->SetPageControl(pages);
  }
  EXPECT_EQ(pages->GetFixedDimension(), 1);
  EXPECT_GE(pages->ScrollButtonSize(), 0);
  EXPECT_GE(pages->GetScroller()->GetWidth(), 0);
  EXPECT_GE(pages->GetScroller()->GetHeight(), 0);
  TMemoryPaint paint(pages);  // and it paints
}

TEST_F(VyPagesLook, TheControlPaintsAroundItsPagesNeverOverThem) {
  EXPECT_TRUE(GetWindowLongW(pages->GetHandle(), GWL_STYLE) & WS_CLIPCHILDREN);
  // What it paints leaves the page shown as the page painted it.
  first->OnPaintBackground = [](TObject*, TCanvas* c, const TRect& r, bool& handled) {
    c->GetBrush()->SetColor(clFuchsia);
    c->FillRect(r);
    handled = true;
  };
  first->Invalidate();
  Pump(30ms);
  pages->Invalidate();
  pages->Update();
  HDC screen = GetDC(first->GetHandle());
  const COLORREF shown = GetPixel(screen, 20, 60);
  ReleaseDC(first->GetHandle(), screen);
  EXPECT_EQ(shown, ColorToRGB(clFuchsia));
}

}  // namespace
