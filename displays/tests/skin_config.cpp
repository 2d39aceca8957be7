// "config.skin" and the skin folders of displays/tests/skins: what is read, what
// is refused (and the text the user gets), and where the labels go.
#include <gtest/gtest.h>

#include <filesystem>

#include "displays/SkinFolder.h"

namespace {

using namespace Displays;

const std::filesystem::path Fixtures = std::filesystem::path(QORN_SOURCE_DIR) / "displays" / "tests" / "skins";

TEST(SkinConfig, ReadsBothSectionsAndLeavesAbsentOrBadNumbersUnset) {
  const TSkinConfig c = ParseSkinConfig(
      "[background]\r\nImage = back.png\r\nLeft=4\r\nTop= 5 \r\nRight=x\r\nBottom=-3\r\nMinWidth=+120\r\n"
      "[Labels]\r\ntitle-top=7\r\nTitle-Align=Center\r\nText-Left=12abc\r\n");
  EXPECT_EQ(c.Image, "back.png");
  EXPECT_EQ(c.Left, 4);
  EXPECT_EQ(c.Top, 5);
  EXPECT_EQ(c.Right, kSkinNotSet);
  EXPECT_EQ(c.Bottom, -3);
  EXPECT_EQ(c.MinWidth, 120);
  EXPECT_EQ(c.MinHeight, kSkinNotSet);
  EXPECT_EQ(c.Title.Top, 7);
  EXPECT_EQ(c.Title.Align, "Center");
  EXPECT_EQ(c.Text.Left, kSkinNotSet);
  EXPECT_EQ(c.Time.Right, kSkinNotSet);
  EXPECT_EQ(ParseSkinConfig("").Image, "");
}

TEST(SkinConfig, APictureNameMustStayInsideTheSkinFolder) {
  for (const char* good : {"back.png", "pictures\\back.png", "pictures/back.png", "a..b.png", ".hidden.png"})
    EXPECT_TRUE(SkinPictureNameAllowed(good)) << good;
  for (const char* bad : {"", "..\\other\\back.png", "../back.png", "pictures\\..\\..\\x.png",
                          "\\\\server\\share\\x.png", "\\Windows\\x.png", "/etc/x.png", "C:\\x.png", "C:x.png",
                          "back.png:stream", "...\\x.png", ". .\\x.png", "pictures\\\\x.png", "pictures\\"})
    EXPECT_FALSE(SkinPictureNameAllowed(bad)) << bad;
}

TEST(SkinConfig, MarginsMustBeSetAndFitThePicture) {
  TSkinConfig c;
  c.Left = c.Top = c.Right = c.Bottom = 1;
  EXPECT_EQ(SkinMarginProblem(c, 3, 3), L"");
  c.Left = c.Right = 0;
  EXPECT_EQ(SkinMarginProblem(c, 3, 3), L"") << "a margin of 0 is a skin without side pieces";
  c.Left = 2, c.Right = 2;
  EXPECT_NE(SkinMarginProblem(c, 3, 3), L"");
  c.Left = c.Right = 1, c.Bottom = 3;
  EXPECT_NE(SkinMarginProblem(c, 3, 3), L"");
  c.Bottom = kSkinNotSet;
  EXPECT_NE(SkinMarginProblem(c, 3, 3), L"");
  c.Bottom = -1;
  EXPECT_NE(SkinMarginProblem(c, 3, 3), L"");
  c.Left = c.Right = 2'000'000'000, c.Bottom = 0;
  EXPECT_NE(SkinMarginProblem(c, 3, 3), L"") << "no overflow into a fit";
}

TEST(SkinFolder, AGoodSkinGivesItsPremultipliedPicture) {
  const TSkinFolder skin = ReadSkinFolder(Fixtures / "good");
  EXPECT_TRUE(skin.Found);
  EXPECT_EQ(skin.Problem, L"");
  ASSERT_TRUE(skin.Usable());
  EXPECT_EQ(skin.Picture.width, 3);
  EXPECT_EQ(skin.Config.MinWidth, 30);
  EXPECT_TRUE(ReadSkinFolder(Fixtures / "zero_margins").Usable());
}

TEST(SkinFolder, BadSkinsAreRefusedWithTheirReason) {
  struct {
    const char* folder;
    std::wstring problem;
  } cases[] = {
      {"missing_picture", L"Image gone.png introuvable."},
      {"not_png", L"Erreur format PNG (nine.png)"},
      {"outside", L"Skin outside: the picture \"..\\good\\nine.png\" is not in the skin's folder."},
      {"wide_margins", L"Skin wide_margins: the left and right margins are wider than the picture (3 x 3)."},
      {"unset_margin", L"Skin unset_margin: the picture's margins (Left, Top, Right, Bottom) are not all set."},
  };
  for (const auto& c : cases) {
    const TSkinFolder skin = ReadSkinFolder(Fixtures / c.folder);
    EXPECT_TRUE(skin.Found) << c.folder;
    EXPECT_FALSE(skin.Usable()) << c.folder;
    EXPECT_EQ(skin.Problem, c.problem) << c.folder;
  }
  // No description: no skin, and nothing to tell.
  const TSkinFolder none = ReadSkinFolder(Fixtures / "no_such_skin");
  EXPECT_FALSE(none.Found);
  EXPECT_EQ(none.Problem, L"");
}

TEST(SkinLayout, LabelsGoWhereTheKeysSayAndThePopupFitsTheBody) {
  const TSkinConfig c = ReadSkinFolder(Fixtures / "good").Config;
  TSkinLayout l;
  l.Width = 200, l.Height = 90;
  l.Title = {1, 1, 50, 14};
  l.Pos = {1, 1, 40, 12};
  l.Time = {1, 1, 30, 12};
  l.Text = {1, 1, 120, 40};
  l.TrackBar.Height = 11;
  l.VolumeBar.Height = 36;
  const TSkinLayout out = LayoutSkinLabels(c, l);
  EXPECT_EQ(out.Title.Top, 4);
  EXPECT_EQ(out.Title.Left, 200 - 10) << "Title-Right puts the left edge that far from the right";
  EXPECT_EQ(out.Pos.Left, 6);
  EXPECT_EQ(out.Pos.Top, 90 - 12);
  EXPECT_EQ(out.Text.Left, 5);
  EXPECT_EQ(out.Text.Top, 8);
  EXPECT_EQ(out.Width, 120 + 1 + 5);
  EXPECT_EQ(out.Height, 40 + 1 + 8);
  EXPECT_EQ(out.Time.Left + out.Time.Width, out.Width - 10) << "Time-Right puts the right edge that far in";
  EXPECT_EQ(out.Time.Top, 4);
  EXPECT_EQ(out.TrackBar.Left, 3);
  EXPECT_EQ(out.TrackBar.Top, out.Height - 1 - 11 - 2);
  EXPECT_EQ(out.TrackBar.Width, out.Width - 2 - 4);
  EXPECT_EQ(out.VolumeBar.Top, out.Height - 1 - 36 - 2);

  // A small body: the minimum size.
  l.Text = {0, 0, 5, 5};
  const TSkinLayout small = LayoutSkinLabels(c, l);
  EXPECT_EQ(small.Width, 30);
  EXPECT_EQ(small.Height, 20);
}

TEST(SkinLayout, KeysNotSetNeverMakeThePopupSmallerThanItsBody) {
  TSkinConfig c;  // nothing set
  TSkinLayout l;
  l.Width = 100, l.Height = 50;
  l.Title = {7, 8, 10, 10};
  l.Text = {3, 4, 60, 20};
  const TSkinLayout out = LayoutSkinLabels(c, l);
  EXPECT_EQ(out.Title.Left, 7);
  EXPECT_EQ(out.Title.Top, 8);
  EXPECT_EQ(out.Width, 60);
  EXPECT_EQ(out.Height, 20);

  // Margins larger than the body: the popup holds at least the picture's border.
  c.Left = c.Right = 40, c.Top = c.Bottom = 30;
  const TSkinLayout framed = LayoutSkinLabels(c, l);
  EXPECT_GE(framed.Width, 80);
  EXPECT_GE(framed.Height, 60);
}

}  // namespace
