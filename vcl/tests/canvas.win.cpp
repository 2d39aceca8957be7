// Painting into bitmaps under GDI: exact pixels of fills, frames, lines and
// shapes, the lazy selection of pen, brush and font (also into a DC made
// elsewhere), text measuring and turned text, colour resolution and fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "testing/WinTesting.h"
#include "vcl/Graphics.h"

namespace {

// A bitmap of one colour to paint on.
std::unique_ptr<TBitmap> Surface(int w, int h, TColor fill = clWhite) {
  auto bmp = std::make_unique<TBitmap>(w, h, pf24bit);
  TCanvas* c = bmp->GetCanvas();
  c->GetBrush()->SetColor(fill);
  c->FillRect(Rect(0, 0, w, h));
  return bmp;
}

// The smallest rectangle holding every pixel that differs from `background`.
TRect InkBounds(TBitmap& bmp, TColor background) {
  TRect r{bmp.GetWidth(), bmp.GetHeight(), -1, -1};
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    for (int x = 0; x < bmp.GetWidth(); ++x) {
      if (bmp.GetPixel(x, y) == background) continue;
      r.Left = std::min(r.Left, x);
      r.Top = std::min(r.Top, y);
      r.Right = std::max(r.Right, x + 1);
      r.Bottom = std::max(r.Bottom, y + 1);
    }
  }
  return r.Right < 0 ? TRect{} : r;
}

TEST(Color, SystemColoursResolveThroughGetSysColor) {
  struct Case {
    TColor color;
    int index;
  };
  for (const Case c : {Case{clBtnFace, COLOR_BTNFACE}, Case{clWindow, COLOR_WINDOW}, Case{clHighlight, COLOR_HIGHLIGHT},
                       Case{cl3DDkShadow, COLOR_3DDKSHADOW}, Case{clBtnShadow, COLOR_BTNSHADOW}}) {
    EXPECT_EQ(ColorToRGB(c.color), TColor(GetSysColor(c.index))) << ColorToString(c.color).c_str();
  }
  EXPECT_EQ(ColorToRGB(0x00123456), 0x00123456u);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(Canvas, FillFrameAndRectangleAreExact) {
  auto bmp = Surface(20, 20);
  TCanvas* c = bmp->GetCanvas();
  c->GetBrush()->SetColor(clRed);
  c->FillRect(Rect(2, 2, 6, 5));
  EXPECT_EQ(bmp->GetPixel(2, 2), clRed);
  EXPECT_EQ(bmp->GetPixel(5, 4), clRed);
  EXPECT_EQ(bmp->GetPixel(6, 4), clWhite);  // the right and bottom edges are outside
  EXPECT_EQ(bmp->GetPixel(5, 5), clWhite);

  c->GetBrush()->SetColor(clBlue);  // a new brush after a change: selected again
  c->FrameRect(Rect(10, 10, 15, 14));
  EXPECT_EQ(bmp->GetPixel(10, 10), clBlue);
  EXPECT_EQ(bmp->GetPixel(14, 13), clBlue);
  EXPECT_EQ(bmp->GetPixel(12, 12), clWhite);  // a frame leaves the inside alone

  c->GetPen()->SetColor(clGreen);
  c->GetBrush()->SetColor(clYellow);
  c->Rectangle(Rect(0, 15, 5, 20));
  EXPECT_EQ(bmp->GetPixel(0, 15), clGreen);  // outline in the pen
  EXPECT_EQ(bmp->GetPixel(4, 19), clGreen);
  EXPECT_EQ(bmp->GetPixel(2, 17), clYellow);  // inside in the brush
}

TEST(Canvas, ClearBrushDrawsOnlyTheOutline) {
  auto bmp = Surface(10, 10);
  TCanvas* c = bmp->GetCanvas();
  c->GetBrush()->SetStyle(bsClear);
  c->GetPen()->SetColor(clBlack);
  c->Rectangle(1, 1, 9, 9);
  EXPECT_EQ(bmp->GetPixel(1, 1), clBlack);
  EXPECT_EQ(bmp->GetPixel(5, 5), clWhite);
}

TEST(Canvas, LinesPolygonsAndEllipses) {
  auto bmp = Surface(30, 30);
  TCanvas* c = bmp->GetCanvas();
  c->GetPen()->SetColor(clRed);
  c->MoveTo(0, 0);
  c->LineTo(10, 0);
  EXPECT_EQ(bmp->GetPixel(9, 0), clRed);
  EXPECT_EQ(bmp->GetPixel(10, 0), clWhite);  // the end point is not drawn
  EXPECT_EQ(c->GetPenPos(), Point(10, 0));

  c->GetPen()->SetWidth(3);
  c->MoveTo(0, 5);
  c->LineTo(20, 5);
  EXPECT_EQ(bmp->GetPixel(10, 4), clRed);
  EXPECT_EQ(bmp->GetPixel(10, 6), clRed);
  EXPECT_EQ(bmp->GetPixel(10, 8), clWhite);

  c->GetPen()->SetWidth(1);
  c->GetPen()->SetStyle(psClear);
  c->GetBrush()->SetColor(clBlue);
  c->Polygon({Point(10, 10), Point(20, 10), Point(20, 20), Point(10, 20)});
  EXPECT_EQ(bmp->GetPixel(15, 15), clBlue);
  EXPECT_EQ(bmp->GetPixel(25, 15), clWhite);

  c->GetBrush()->SetColor(clLime);
  c->Ellipse(0, 20, 10, 30);
  EXPECT_EQ(bmp->GetPixel(5, 25), clLime);
  EXPECT_EQ(bmp->GetPixel(0, 20), clWhite);  // the corners lie outside the ellipse
}

TEST(Canvas, PixelsReadAndWrite) {
  auto bmp = Surface(4, 4);
  TCanvas* c = bmp->GetCanvas();
  c->SetPixel(1, 2, 0x00345678);
  EXPECT_EQ(c->GetPixel(1, 2), 0x00345678u);
  EXPECT_EQ(bmp->GetPixel(1, 2), 0x00345678u);
  c->SetPixel(0, 0, clBtnFace);  // system colours are resolved
  EXPECT_EQ(c->GetPixel(0, 0), ColorToRGB(clBtnFace));
}

TEST(Canvas, DrawFocusRectTwiceRestores) {
  auto bmp = Surface(12, 12, clSilver);
  TCanvas* c = bmp->GetCanvas();
  const auto before = bmp->ToPixels().bytes;
  c->DrawFocusRect(Rect(1, 1, 11, 11));
  EXPECT_NE(bmp->ToPixels().bytes, before);
  c->DrawFocusRect(Rect(1, 1, 11, 11));
  EXPECT_EQ(bmp->ToPixels().bytes, before);
}

TEST(Canvas, CopyRectAndBrushCopy) {
  auto src = Surface(8, 8, clRed);
  src->GetCanvas()->GetBrush()->SetColor(clBlue);
  src->GetCanvas()->FillRect(Rect(4, 0, 8, 8));
  auto dst = Surface(8, 8);
  dst->GetCanvas()->CopyRect(Rect(0, 0, 4, 4), src->GetCanvas(), Rect(2, 2, 6, 6));
  EXPECT_EQ(dst->GetPixel(0, 0), clRed);
  EXPECT_EQ(dst->GetPixel(3, 3), clBlue);
  EXPECT_EQ(dst->GetPixel(5, 5), clWhite);

  // Red becomes the brush colour, blue stays.
  auto dst2 = Surface(8, 8);
  dst2->GetCanvas()->GetBrush()->SetColor(clLime);
  dst2->GetCanvas()->BrushCopy(Rect(0, 0, 8, 8), src.get(), Rect(0, 0, 8, 8), clRed);
  EXPECT_EQ(dst2->GetPixel(1, 1), clLime);
  EXPECT_EQ(dst2->GetPixel(6, 6), clBlue);
}

TEST(Canvas, ForeignDcGetsItsObjectsBack) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(GetDC(nullptr), 10, 10);
  HGDIOBJ oldBmp = SelectObject(dc, bmp);
  HGDIOBJ stockBrush = GetCurrentObject(dc, OBJ_BRUSH);
  HGDIOBJ stockPen = GetCurrentObject(dc, OBJ_PEN);
  HGDIOBJ stockFont = GetCurrentObject(dc, OBJ_FONT);
  {
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.GetBrush()->SetColor(clRed);
    canvas.Rectangle(0, 0, 5, 5);
    canvas.TextOut(0, 0, L"x");
    EXPECT_NE(GetCurrentObject(dc, OBJ_BRUSH), stockBrush);
    EXPECT_EQ(GetPixel(dc, 2, 2), COLORREF(clRed));
    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), stockBrush);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), stockPen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), stockFont);
  }
  SelectObject(dc, oldBmp);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(Canvas, CanvasWithoutDcRefusesToDraw) {
  TCanvas canvas;
  EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidGraphic);
}

TEST(Text, MeasuringIsConsistent) {
  auto bmp = Surface(10, 10);
  TCanvas* c = bmp->GetCanvas();
  c->GetFont()->SetName(L"Tahoma");
  c->GetFont()->SetSize(10);
  const int wide = c->TextWidth(L"WWWW"), narrow = c->TextWidth(L"iiii");
  EXPECT_GT(wide, narrow);
  EXPECT_EQ(c->TextWidth(L""), 0);
  EXPECT_GT(c->TextHeight(L"Ag"), 8);
  const TSize ext = c->TextExtent(L"Hello");
  EXPECT_EQ(ext.cx, c->TextWidth(L"Hello"));
  EXPECT_EQ(ext.cy, c->TextHeight(L"Hello"));
  const int small = c->TextHeight(L"A");
  c->GetFont()->SetSize(20);  // a font change reaches the DC before the next call
  EXPECT_GT(c->TextHeight(L"A"), small * 3 / 2);

  // Word breaking in a narrow rectangle gives several lines.
  TRect r = Rect(0, 0, c->TextWidth(L"Hello") + 2, 0);
  const int oneLine = c->TextHeight(L"Hello");
  c->DrawText(L"Hello Hello Hello", r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(r.Height(), oneLine * 3);
}

TEST(Text, DrawnInTheFontColourInsideItsExtent) {
  auto bmp = Surface(120, 40);
  TCanvas* c = bmp->GetCanvas();
  c->GetFont()->SetName(L"Tahoma");
  c->GetFont()->SetSize(12);
  c->GetFont()->SetColor(clBlack);
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(5, 5, L"Qorn");
  const TSize ext = c->TextExtent(L"Qorn");
  const TRect ink = InkBounds(*bmp, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, 5);
  EXPECT_GE(ink.Top, 5);
  EXPECT_LE(ink.Right, 5 + ext.cx + 1);
  EXPECT_LE(ink.Bottom, 5 + ext.cy);
}

// Engraved text draws twice in two colours: the second colour must reach the DC
// although a colour change makes no new font.
TEST(Text, AColourChangeBetweenTwoTextsReachesTheSecond) {
  auto bmp = Surface(120, 40);
  TCanvas* c = bmp->GetCanvas();
  c->GetFont()->SetName(L"Tahoma");
  c->GetFont()->SetSize(12);
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetColor(clRed);
  c->TextOut(5, 5, L"Q");
  c->GetFont()->SetColor(clBlue);
  c->TextOut(60, 5, L"Q");
  bool red = false, blue = false;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const TColor p = bmp->GetPixel(x, y);
      if (x < 50 && p == clRed) red = true;
      if (x >= 60 && p == clBlue) blue = true;
      EXPECT_FALSE(x >= 60 && p == clRed) << "the second text kept the first colour at " << x << "," << y;
      if (x >= 60 && p == clRed) return;
    }
  }
  EXPECT_TRUE(red);
  EXPECT_TRUE(blue);
}

TEST(Text, OpaqueBrushFillsBehindText) {
  auto bmp = Surface(80, 30);
  TCanvas* c = bmp->GetCanvas();
  c->GetBrush()->SetColor(clYellow);
  c->GetFont()->SetColor(clBlack);
  c->TextOut(0, 0, L"ab");
  EXPECT_EQ(InkBounds(*bmp, clWhite).TopLeft(), Point(0, 0));
  EXPECT_EQ(bmp->GetPixel(0, 0), clYellow);
}

TEST(Text, TextRectClipsToItsRectangle) {
  auto bmp = Surface(100, 30);
  TCanvas* c = bmp->GetCanvas();
  c->GetBrush()->SetStyle(bsClear);
  c->GetFont()->SetSize(14);
  c->TextRect(Rect(10, 5, 30, 25), 10, 5, L"WWWWWWWW");
  const TRect ink = InkBounds(*bmp, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GE(ink.Left, 10);
  EXPECT_LE(ink.Right, 30);
}

TEST(Text, TurnedTextRunsUpwards) {
  auto bmp = Surface(80, 120);
  TCanvas* c = bmp->GetCanvas();
  c->GetFont()->SetName(L"Tahoma");
  ASSERT_TRUE(c->GetFont()->IsTrueType());
  c->GetFont()->SetSize(12);
  c->GetFont()->SetOrientation(900);
  c->GetBrush()->SetStyle(bsClear);
  c->TextOut(20, 110, L"Qorn Qorn");
  const TRect ink = InkBounds(*bmp, clWhite);
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_GT(ink.Height(), ink.Width() * 2);
  EXPECT_LE(ink.Bottom, 111);  // drawn from the start point upwards
}

TEST(Font, SizeAndHeightFollowEachOther) {
  struct Case {
    int ppi, size, height;
  };
  for (const Case k : {Case{96, 8, -11}, Case{96, 10, -13}, Case{96, 12, -16}, Case{120, 8, -13}, Case{144, 9, -18}}) {
    TFont f;
    f.SetPixelsPerInch(k.ppi);
    f.SetSize(k.size);
    EXPECT_EQ(f.GetHeight(), k.height) << k.ppi << " dpi, " << k.size << " pt";
    f.SetHeight(k.height);
    EXPECT_EQ(f.GetSize(), k.size);
  }
}

TEST(Font, ChangesAreReportedOnceAndOnlyForNewValues) {
  TFont f;
  int changes = 0;
  f.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &f);
    ++changes;
  };
  f.SetName(L"Tahoma");
  f.SetName(L"Tahoma");
  f.SetStyle(TFontStyles{fsBold});
  f.SetStyle(TFontStyles{fsBold});
  f.SetColor(clRed);
  EXPECT_EQ(changes, 3);

  TFont g;
  g.Assign(&f);
  EXPECT_EQ(g.GetName(), L"Tahoma");
  EXPECT_TRUE(g.GetStyle().Contains(fsBold));
  EXPECT_EQ(g.GetColor(), clRed);
  EXPECT_EQ(g.GetHeight(), f.GetHeight());
}

TEST(Font, HandleRoundTripsThroughLogFont) {
  TFont f;
  f.SetName(L"Tahoma");
  f.SetHeight(-20);
  f.SetStyle(TFontStyles{fsItalic, fsUnderline});
  f.SetCharset(204);
  TFont g;
  g.SetHandle(f.GetHandle());
  EXPECT_EQ(g.GetName(), L"Tahoma");
  EXPECT_EQ(g.GetHeight(), -20);
  EXPECT_EQ(g.GetStyle(), (TFontStyles{fsItalic, fsUnderline}));
  EXPECT_EQ(g.GetCharset(), 204);
}

TEST(Font, PublishedPropertiesAreDeclared) {
  const TClassInfo& info = TFont::StaticClass();
  for (const wchar_t* name : {L"Name", L"Size", L"Height", L"Style", L"Color", L"Charset", L"Pitch", L"Orientation"})
    EXPECT_NE(info.FindProperty(name), nullptr) << std::string(name, name + wcslen(name));
  // The table reaches the setters, and colours are written by name.
  TFont f;
  info.FindProperty(L"Style")->SetOrd(&f, std::int64_t(TFontStyles{fsBold, fsStrikeOut}.Bits()));
  EXPECT_EQ(f.GetStyle(), (TFontStyles{fsBold, fsStrikeOut}));
  info.FindProperty(L"Size")->SetOrd(&f, 12);
  EXPECT_EQ(f.GetSize(), 12);
  EXPECT_FALSE(info.FindProperty(L"Size")->IsStored(&f));
  const TIdentMap* idents = info.FindProperty(L"Color")->Idents();
  ASSERT_NE(idents, nullptr);
  std::wstring name;
  ASSERT_TRUE(idents->ToIdent(std::int64_t(clBtnFace), name));
  EXPECT_EQ(name, L"clBtnFace");
}

TEST(PaintBuffer, CopiesOnlyItsAreaInOneStep) {
  auto target = Surface(40, 40);
  HDC dc = target->GetCanvas()->GetHandle();
  TPaintBuffer buffer;
  TCanvas* c = buffer.Begin(dc, Rect(10, 10, 30, 20));
  c->GetBrush()->SetColor(clRed);
  c->FillRect(Rect(0, 0, 40, 40));  // beyond the area: clipped
  EXPECT_EQ(target->GetPixel(15, 15), clWhite);  // nothing reaches the target before End
  buffer.End();
  EXPECT_EQ(target->GetPixel(10, 10), clRed);
  EXPECT_EQ(target->GetPixel(29, 19), clRed);
  EXPECT_EQ(target->GetPixel(30, 19), clWhite);
  EXPECT_EQ(target->GetPixel(9, 15), clWhite);

  // A second, smaller paint reuses the buffer and shows nothing of the first.
  c = buffer.Begin(dc, Rect(0, 0, 5, 5));
  c->GetBrush()->SetColor(clBlue);
  c->FillRect(Rect(0, 0, 5, 5));
  buffer.End();
  EXPECT_EQ(target->GetPixel(4, 4), clBlue);
  EXPECT_EQ(target->GetPixel(5, 5), clWhite);
}

}  // namespace
