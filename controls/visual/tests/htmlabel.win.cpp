// The HTML label on a real form read from its resource: painting, sizing, anchors
// under the mouse and clicks, and no GDI object left behind by hostile text.
#include <gtest/gtest.h>

#include "controls/visual/HTMLabel.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Bitmap.h"
#include "vcl/Forms.h"

#include <chrono>

using namespace std::chrono_literals;
using Flat::THTMLabel;

namespace {

class TTestHTMLabelForm : public TForm {
  QORN_CLASS(TTestHTMLabelForm, TForm)
 public:
  explicit TTestHTMLabelForm(TComponent* AOwner) : TForm(AOwner) {}
  THTMLabel* Label1 = nullptr;
  THTMLabel* Label2 = nullptr;

 private:
  static void Publish(TPublisher<TTestHTMLabelForm>& p) {
    p.Field(L"Label1", &TTestHTMLabelForm::Label1);
    p.Field(L"Label2", &TTestHTMLabelForm::Label2);
  }
};
QORN_REGISTER_CLASS(TTestHTMLabelForm);

class HTMLabel : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestHTMLabelForm>(Application);
    form->Show();
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
    Flat::SetHTMLShellOpen(nullptr);
  }
  TTestHTMLabelForm* form = nullptr;
};

void SetText(THTMLabel* label, const std::wstring& text) {
  TStringList lines;
  lines.SetText(text);
  label->SetHTMLText(&lines);
}

// Renders into a memory bitmap and returns it (white background).
std::unique_ptr<TBitmap> Render(THTMLabel* label, int w, int h) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(w, h);
  bmp->GetCanvas()->GetBrush()->SetColor(clWhite);
  bmp->GetCanvas()->FillRect(TRect{0, 0, w, h});
  bmp->GetCanvas()->GetFont()->SetColor(clBlack);
  label->PaintToCanvas(bmp->GetCanvas(), TRect{0, 0, w, h});
  return bmp;
}

int CountColour(TBitmap* bmp, TColor c, const TRect& r) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (bmp->GetCanvas()->GetPixel(x, y) == c) ++n;
  return n;
}

}  // namespace

TEST_F(HTMLabel, StreamedFromItsFormAndPainted) {
  THTMLabel* l = form->Label1;
  EXPECT_EQ(l->GetURLColor(), clNavy);
  EXPECT_EQ(l->GetShadowOffset(), 2);
  EXPECT_EQ(l->GetHTMLText()->Count(), 4);
  EXPECT_EQ(l->GetCaption(), L"");
  form->Repaint();
  Pump(50ms);
  ASSERT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "htmlabel.png"));
}

TEST_F(HTMLabel, ColoursAndBackgroundsReachThePixels) {
  THTMLabel* l = form->Label1;
  SetText(l, L"<FONT color=\"#FF0000\">WWWW</FONT><FONT bgcolor=\"clLime\">mm</FONT>");
  auto bmp = Render(l, 200, 40);
  EXPECT_GT(CountColour(bmp.get(), clRed, TRect{0, 0, 200, 40}), 10);
  EXPECT_GT(CountColour(bmp.get(), clLime, TRect{0, 0, 200, 40}), 20);
  SetText(l, L"<P bgcolor=\"clAqua\">x</P>");
  bmp = Render(l, 100, 40);
  EXPECT_EQ(bmp->GetCanvas()->GetPixel(90, 2), clAqua);  // the paragraph fills the whole width
  EXPECT_EQ(bmp->GetCanvas()->GetPixel(90, 35), clWhite);
}

TEST_F(HTMLabel, AmpersandsShowAsThemselves) {
  THTMLabel* l = form->Label1;
  SetText(l, L"R&B");
  auto a = Render(l, 100, 20);
  SetText(l, L"R&amp;B");
  auto b = Render(l, 100, 20);
  int diff = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 100; ++x) diff += a->GetCanvas()->GetPixel(x, y) != b->GetCanvas()->GetPixel(x, y);
  EXPECT_EQ(diff, 0);
  EXPECT_GT(CountColour(a.get(), clBlack, TRect{0, 0, 100, 20}), 10);
}

TEST_F(HTMLabel, AutoSizingTakesTheTextSize) {
  THTMLabel* l = form->Label2;
  SetText(l, L"Some text<BR>two lines");
  form->Repaint();
  Pump(50ms);
  l->RedrawNow();
  Pump(50ms);
  EXPECT_EQ(l->GetWidth(), l->GetTextWidth() + 6);
  EXPECT_EQ(l->GetHeight(), l->GetTextHeight() + 6);
  EXPECT_GT(l->GetHeight(), 20);
}

TEST_F(HTMLabel, LeftClickOpensOnlyWebAndMailAnchors) {
  THTMLabel* l = form->Label1;
  std::vector<std::wstring> opened, clicked;
  Flat::SetHTMLShellOpen([&](const std::wstring& a) { opened.push_back(a); });
  l->OnAnchorClick = [&](TObject*, const std::wstring& a) { clicked.push_back(a); };
  struct TCase {
    const wchar_t* anchor;
    bool opens;
  } cases[] = {{L"http://example.org/", true}, {L"HTTPS://x/", true}, {L"mailto:a@b", true},
               {L"file://c:/x.exe", false}, {L"local", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.anchor);
    opened.clear();
    clicked.clear();
    SetText(l, std::wstring(L"<A href=\"") + c.anchor + L"\">LINKLINK</A>");
    TRect rect;
    ASSERT_EQ(l->AnchorAt(10, 8, rect), c.anchor);
    EXPECT_GT(rect.Right, rect.Left);
    POINT p{l->GetLeft() + 10, l->GetTop() + 8};
    SendMessageW(form->GetHandle(), WM_RBUTTONDOWN, 0, MAKELPARAM(p.x, p.y));
    SendMessageW(form->GetHandle(), WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_TRUE(clicked.empty());
    SendMessageW(form->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    SendMessageW(form->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    EXPECT_EQ(clicked, std::vector<std::wstring>{c.anchor});
    EXPECT_EQ(opened.size(), c.opens ? 1u : 0u);
  }
  // Off the anchor: no anchor, no event.
  TRect rect;
  EXPECT_EQ(l->AnchorAt(300, 100, rect), L"");
  EXPECT_EQ(rect.Left, -1);
}

TEST_F(HTMLabel, MouseOverAnAnchorShowsTheHandAndFiresEnterAndExit) {
  THTMLabel* l = form->Label1;
  std::vector<std::wstring> entered;
  int exits = 0;
  l->OnAnchorEnter = [&](TObject*, const std::wstring& a) { entered.push_back(a); };
  l->OnAnchorExit = [&](TObject*, const std::wstring&) { ++exits; };
  SetText(l, L"<A href=\"one\">ONEONE</A>");
  SendMessageW(form->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(l->GetLeft() + 10, l->GetTop() + 8));
  EXPECT_EQ(l->GetCursor(), crHandPoint);
  EXPECT_EQ(entered, std::vector<std::wstring>{L"one"});
  SendMessageW(form->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(l->GetLeft() + 300, l->GetTop() + 100));
  EXPECT_EQ(l->GetCursor(), crDefault);
  EXPECT_EQ(exits, 1);
}

TEST_F(HTMLabel, HostileTextLeavesNoGdiObjectBehind) {
  THTMLabel* l = form->Label1;
  const wchar_t* texts[] = {L"<R a=\"90\">rotated", L"</R></R>x", L"<R a=\"45\"><R a=\"90\">x</R>",
                            L"<B><I><FONT face=\"Arial\" size=\"30\">big", L"<FONT color=\"#1", L"abc<B",
                            L"<UL><LI><LI><LI>", L"<IMG src=\"IDX:-5\"><IMG src=\"IDX:99\">"};
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(200, 100);
  static std::vector<HFONT> created;
  created.clear();
  Flat::WatchHTMLFonts([](HFONT f) { created.push_back(f); });
  for (const wchar_t* t : texts) {
    SCOPED_TRACE(t);
    size_t first = created.size();
    SetText(l, t);
    l->PaintToCanvas(bmp->GetCanvas(), TRect{0, 0, 200, 100});
    // Every font the render made is gone once it returns (nothing else ran meanwhile
    // that could have been given the same handle).
    for (size_t i = first; i < created.size(); ++i) EXPECT_EQ(GetObjectType(created[i]), 0u);
  }
  Flat::WatchHTMLFonts(nullptr);
  EXPECT_GT(created.size(), 8u);  // the rotated and sized fonts were made
  // The canvas keeps its own font selected afterwards.
  HDC dc = bmp->GetCanvas()->GetHandle();
  HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
  l->PaintToCanvas(bmp->GetCanvas(), TRect{0, 0, 200, 100});
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font);
}
