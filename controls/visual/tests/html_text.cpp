// Layout of tagged text on a fixed measurer: every character is 10 x (size + 4)
// pixels wide x high (bold adds 1 per character), so sizes and breaks are exact.
#include <gtest/gtest.h>

#include "controls/visual/HTMLText.h"

using namespace Flat;

namespace {

struct TDrawn {
  std::wstring Text;
  TRect Rect;
  THTMLFont Font;
  TColor Background;
};

class TFixedSurface : public THTMLSurface {
 public:
  TSize MeasureText(const THTMLFont& f, std::wstring_view t) override {
    return TSize{int(t.size()) * (f.Bold ? 11 : 10), f.Size + 4};
  }
  void DrawText(const THTMLFont& f, TColor bg, const TRect& r, std::wstring_view t, bool) override {
    drawn.push_back({std::wstring(t), r, f, bg});
  }
  void FillRect(const TRect& r, TColor c) override { fills.push_back({r, c}); }
  void Polyline(const std::vector<TPoint>& p, TColor) override { lines.push_back(p); }
  void FocusRect(const TRect& r) override { focus.push_back(r); }
  void DrawBullet(const THTMLFont&, int x, int, bool) override { bullets.push_back(x); }
  bool FindPicture(const THTMLPictureSource& s, THTMLPictureInfo& info) override {
    if (s.Kind == THTMLPictureKind::ImageIndex && s.Index >= 0 && s.Index < imageCount) {
      info.Width = info.Height = 16;
      return true;
    }
    return false;
  }
  void DrawPicture(const THTMLPictureSource& s, const TRect& r, THTMLPictureFit) override { pictures.push_back({s, r}); }

  int imageCount = 5;
  std::vector<TDrawn> drawn;
  std::vector<std::pair<TRect, TColor>> fills;
  std::vector<std::vector<TPoint>> lines;
  std::vector<TRect> focus;
  std::vector<int> bullets;
  std::vector<std::pair<THTMLPictureSource, TRect>> pictures;
};

THTMLTextInput Input(std::wstring text, int width = 1000, int height = 1000) {
  THTMLTextInput in;
  in.Text = std::move(text);
  in.Rect = TRect{0, 0, width, height};
  in.Font.Size = 8;  // lines 12 high
  return in;
}

THTMLTextOutput Layout(const THTMLTextInput& in, TFixedSurface& s) {
  THTMLTextOutput out;
  LayoutHTMLText(in, s, out);
  return out;
}

// Texts of the drawn runs joined, with "|" where a new line starts.
std::wstring DrawnLines(const TFixedSurface& s) {
  std::wstring r;
  int bottom = -1;
  for (const auto& d : s.drawn) {
    if (bottom != -1 && d.Rect.Bottom != bottom) r += L'|';
    bottom = d.Rect.Bottom;
    r += d.Text;
  }
  return r;
}

}  // namespace

TEST(HTMLText, SizesStrippedTextAndLineBreaks) {
  struct TCase {
    const wchar_t* text;
    int width;
    const wchar_t* lines;
    int textWidth;
    int textHeight;
  } cases[] = {
      {L"", 1000, L"", 2, 12},
      {L"abc", 1000, L"abc", 32, 12},
      {L"ab<br>cd", 1000, L"ab|cd", 22, 24},
      {L"ab\r\ncd", 1000, L"ab|cd", 22, 24},
      // Wrapping between words: "aaa " fits in 70, "bbb" would end at 70 (fits), "ccc" not.
      {L"aaa bbb ccc", 70, L"aaa bbb |ccc", 72, 24},
      // A run that does not fit never overflows the edge when the line has something.
      {L"aaaa bbbb", 60, L"aaaa |bbbb", 42, 24},
      // A word wider than the line stays alone on its line.
      {L"a wwwwwwwwwwww b", 50, L"a |wwwwwwwwwwww |b", 122, 36},
      {L"<FONT size=\"3\">x</FONT>", 1000, L"x", 12, 16},
      {L"<b>xy</b>z", 1000, L"xyz", 34, 12},
      {L"<UL><LI>a<LI>b</UL>", 1000, L"a|b", 24, 36},
      {L"x<Z>hidden</Z>y", 1000, L"xy", 22, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TFixedSurface s;
    auto out = Layout(Input(c.text, c.width), s);
    EXPECT_EQ(DrawnLines(s), c.lines);
    EXPECT_EQ(out.TextWidth, c.textWidth);
    EXPECT_EQ(out.TextHeight, c.textHeight);
  }
}

TEST(HTMLText, TagsAreCaseBlindAndActOnTheirRuns) {
  for (const wchar_t* text : {L"<B>x</B>y", L"<b>x</b>y"}) {
    TFixedSurface s;
    Layout(Input(text), s);
    ASSERT_EQ(s.drawn.size(), 2u);
    EXPECT_TRUE(s.drawn[0].Font.Bold);
    EXPECT_FALSE(s.drawn[1].Font.Bold);
  }
  TFixedSurface s;
  Layout(Input(L"<FONT color=\"#FF0000\" bgcolor=\"clYellow\" face=\"Arial\" size=\"20\">r</FONT>n"
               L"<i>i</i><u>u</u><s>s</s>"),
         s);
  ASSERT_EQ(s.drawn.size(), 5u);
  EXPECT_EQ(s.drawn[0].Font.Color, clRed);
  EXPECT_EQ(s.drawn[0].Background, clYellow);
  EXPECT_EQ(s.drawn[0].Font.Name, L"Arial");
  EXPECT_EQ(s.drawn[0].Font.Size, 20);
  EXPECT_EQ(s.drawn[1].Font.Color, clBlack);
  EXPECT_EQ(s.drawn[1].Background, clNone);
  EXPECT_EQ(s.drawn[1].Font.Size, 8);
  EXPECT_TRUE(s.drawn[2].Font.Italic);
  EXPECT_TRUE(s.drawn[3].Font.Underline);
  EXPECT_TRUE(s.drawn[4].Font.StrikeOut);
}

TEST(HTMLText, EntitiesAreDecodedOnceAndAmpersandsStayText) {
  struct TCase {
    const wchar_t* text;
    const wchar_t* shown;
  } cases[] = {
      {L"a &amp; b", L"a & b"},
      {L"R&B", L"R&B"},
      {L"&amp;lt;", L"&lt;"},
      {L"&lt;b&gt;", L"<b>"},
      {L"&copy;&euro;&trade;&QUOT;", L"\u00A9\u20AC\u2122\""},
      {L"x&nbsp;y", L"x y"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TFixedSurface s;
    auto out = Layout(Input(c.text), s);
    std::wstring shown;
    for (const auto& d : s.drawn) shown += d.Text;
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(out.StrippedText, c.shown);
  }
}

TEST(HTMLText, MalformedTagsEndTheTextWithoutHanging) {
  for (const wchar_t* text : {L"ab<B", L"ab<", L"ab<x", L"ab</R>cd", L"<R a=\"90\">ab<R a=\"45\">", L"<FONT color=\"#12\">ab"}) {
    SCOPED_TRACE(text);
    TFixedSurface s;
    auto out = Layout(Input(text), s);
    ASSERT_FALSE(s.drawn.empty());
    EXPECT_EQ(s.drawn[0].Text.substr(0, 2), L"ab");
  }
  // A short colour value is no colour: the text keeps its colour.
  TFixedSurface s;
  Layout(Input(L"<FONT color=\"#12\">ab"), s);
  EXPECT_EQ(s.drawn[0].Font.Color, clBlack);
}

TEST(HTMLText, ColourValues) {
  EXPECT_EQ(HexToColor(L"#102030"), TColor(0x302010));
  EXPECT_EQ(HexToColor(L"#abcdef"), TColor(0xEFCDAB));
  EXPECT_EQ(HexToColor(L"#12", clNone), clNone);
  EXPECT_EQ(HexToColor(L"#12345G", clNone), clNone);
  EXPECT_EQ(HTMLColorByName(L"clnavy"), clNavy);
  EXPECT_EQ(HTMLColorByName(L"clbtnface"), clBtnFace);
  EXPECT_EQ(HTMLColorByName(L"clinfobk"), clSystemColor | 24);
  EXPECT_EQ(HTMLColorByName(L"nonsense"), clBlack);
}

TEST(HTMLText, EllipsisKeepsOneDisplayLinePerSourceLine) {
  TFixedSurface s;
  auto in = Input(L"aaa bbb ccc ddd<br>e", 50);
  in.Ellipsis = true;
  auto out = Layout(in, s);
  EXPECT_EQ(DrawnLines(s), L"aaa bbb ccc ddd|e");
  EXPECT_EQ(out.TextHeight, 24);
}

TEST(HTMLText, ParagraphAlignmentPersistsUntilChanged) {
  TFixedSurface s;
  Layout(Input(L"<P align=\"right\">x</P>y<br><P align=\"center\">zz</P>", 100), s);
  ASSERT_EQ(s.drawn.size(), 3u);
  EXPECT_EQ(s.drawn[0].Rect.Left, 90);  // x at the right edge
  EXPECT_EQ(s.drawn[1].Rect.Left, 90);  // still right
  EXPECT_EQ(s.drawn[2].Rect.Left, 40);
}

TEST(HTMLText, ListBulletsAreTwelvePixelsIn) {
  TFixedSurface s;
  Layout(Input(L"<UL><LI>a<LI>b</UL><br>c"), s);
  EXPECT_EQ(s.bullets, (std::vector<int>{0, 0}));
  ASSERT_EQ(s.drawn.size(), 3u);
  EXPECT_EQ(s.drawn[0].Rect.Left, 12);
  EXPECT_EQ(s.drawn[1].Rect.Left, 12);
  EXPECT_EQ(s.drawn[2].Rect.Left, 0);
}

TEST(HTMLText, ClipsBelowTheRectangleUnlessMeasuring) {
  TFixedSurface s;
  auto in = Input(L"a<br>b<br>c<br>d", 100, 30);
  auto out = Layout(in, s);
  EXPECT_EQ(DrawnLines(s), L"a|b");
  in.MeasureOnly = true;
  TFixedSurface m;
  out = Layout(in, m);
  EXPECT_TRUE(m.drawn.empty());
  EXPECT_EQ(out.TextHeight, 48);
}

TEST(HTMLText, AnchorsAreHitTestedAndCounted) {
  // "go " is 30 wide, the anchor "here" runs from 30 to 70 on the first line.
  std::wstring text = L"go <A href=\"http://x/\">here</A> or<br><a href=\"mailto:y\">there</a>";
  struct TCase {
    TPoint point;
    bool over;
    const wchar_t* value;
    int link;
  } cases[] = {
      {{35, 5}, true, L"http://x/", 1}, {{10, 5}, false, L"", -1}, {{35, 30}, false, L"", -1},
      {{20, 18}, true, L"mailto:y", 2}, {{75, 5}, false, L"", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    TFixedSurface s;
    auto in = Input(text);
    in.Point = c.point;
    in.HitTestOnly = true;
    auto out = Layout(in, s);
    EXPECT_TRUE(s.drawn.empty());
    EXPECT_EQ(out.OverAnchor, c.over);
    EXPECT_EQ(out.AnchorValue, c.value);
    EXPECT_EQ(out.LinkUnderPoint, c.link);
    EXPECT_EQ(out.LinkCount, 2);
    if (c.over && c.link == 1) EXPECT_EQ(out.LinkRect, (TRect{30, 0, 70, 12}));
  }
}

TEST(HTMLText, AnchorColoursAndHoverStyle) {
  std::wstring text = L"<A href=\"a\">one</A><A href=\"b\">two</A>";
  TFixedSurface s;
  auto in = Input(text);
  in.HoverStyle = true;
  in.HoverLink = 2;
  in.HoverFontColor = clRed;
  in.HoverColor = clYellow;
  Layout(in, s);
  ASSERT_EQ(s.drawn.size(), 2u);
  EXPECT_FALSE(s.drawn[0].Font.Underline);
  EXPECT_EQ(s.drawn[0].Font.Color, clBlue);
  EXPECT_EQ(s.drawn[0].Background, clNone);
  EXPECT_TRUE(s.drawn[1].Font.Underline);
  EXPECT_EQ(s.drawn[1].Font.Color, clRed);
  EXPECT_EQ(s.drawn[1].Background, clYellow);
}

TEST(HTMLText, PicturesTakeRoomOnlyWhenFound) {
  struct TCase {
    const wchar_t* text;
    int width;
  } cases[] = {
      {L"<IMG src=\"IDX:1\">", 18}, {L"<IMG src=\"IDX:7\">", 2}, {L"<IMG src=\"IDX:-1\">", 2},
      {L"<IMG src=\"IDX:1\" width=\"30\" height=\"20\">", 32}, {L"<IMG src=\"nothing\">", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TFixedSurface s;
    auto out = Layout(Input(c.text), s);
    EXPECT_EQ(out.TextWidth, c.width);
  }
}

TEST(HTMLText, BackgroundsAndRules) {
  TFixedSurface s;
  Layout(Input(L"<BODY bgcolor=\"clAqua\"><P bgcolor=\"#00FF00\">x</P><HR>", 100), s);
  ASSERT_GE(s.fills.size(), 2u);
  EXPECT_EQ(s.fills[0].first, (TRect{-2, 0, 100, 1000}));
  EXPECT_EQ(s.fills[0].second, clAqua);
  EXPECT_EQ(s.fills[1].first, (TRect{0, 0, 100, 12}));
  EXPECT_EQ(s.fills[1].second, clLime);
  ASSERT_EQ(s.lines.size(), 1u);
  EXPECT_EQ(s.lines[0].front().X, 0);
  EXPECT_EQ(s.lines[0].back().X, 100);
  // Selected text paints no background.
  TFixedSurface sel;
  auto in = Input(L"<BODY bgcolor=\"clAqua\">x");
  in.Selected = true;
  Layout(in, sel);
  EXPECT_TRUE(sel.fills.empty());
}

TEST(HTMLText, StripHTMLTags) {
  EXPECT_EQ(StripHTMLTags(L"<b>a</b><BR>b<hr>c<z>hidden</z><Z>x</Z>d"), L"a\r\nb\r\ncd");
  EXPECT_EQ(StripHTMLTags(L"a<b"), L"a");
}

TEST(HTMLText, EscapedPlainTextShowsAsItIsAndReadsBackOnce) {
  // A track title with markup, an entity and an ampersand of its own.
  const std::wstring title = L"<b>Tom</b> & Jerry &lt;live&gt; &amp;";
  const std::wstring escaped = EscapeHTMLText(title);
  EXPECT_EQ(escaped, L"&lt;b&gt;Tom&lt;/b&gt; &amp; Jerry &amp;lt;live&amp;gt; &amp;amp;");
  EXPECT_EQ(HTMLToPlainText(escaped), title);
  EXPECT_EQ(HTMLToPlainText(L"<b>a &amp; b</b><br>c"), L"a & b\r\nc");
  // Laid out, it shows the title's own characters in the plain font: no tag taken from it.
  TFixedSurface s;
  Layout(Input(escaped), s);
  EXPECT_EQ(DrawnLines(s), title);
  for (const auto& d : s.drawn) EXPECT_FALSE(d.Font.Bold);
}

TEST(HTMLText, GradientBandsCoverTheRectangle) {
  auto bands = GradientBands(0x000000, 0x0000FF, true, TRect{0, 0, 64, 10}, 4);
  ASSERT_EQ(bands.size(), 4u);
  EXPECT_EQ(bands[0].Color, 0u);
  EXPECT_EQ(bands[3].Color, 0xBFu);
  EXPECT_EQ(bands[1].Rect, (TRect{16, 0, 33, 10}));
  EXPECT_EQ(bands[3].Rect.Right, 64);
}
