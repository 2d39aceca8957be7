// Speed buttons (windowless, grouped, flat, with glyphs) and bit buttons
// (owner-drawn push buttons with a kind) on a form read from its resource.
// ctest-lock: keyboard
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "vcl/Buttons.h"
#include "vcl/Forms.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <functional>
#include <thread>

namespace {

using namespace std::chrono_literals;

class TTestButtonsForm : public TForm {
  QORN_CLASS(TTestButtonsForm, TForm)
 public:
  explicit TTestButtonsForm(TComponent* AOwner) : TForm(AOwner) {}
  TSpeedButton* SpeedButton1 = nullptr;
  TSpeedButton* SpeedButton2 = nullptr;
  TSpeedButton* SpeedButton3 = nullptr;
  TSpeedButton* SpeedButton4 = nullptr;
  TEdit* Edit1 = nullptr;
  TButton* Button1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TBitBtn* BitBtn2 = nullptr;
  TBitBtn* BitBtn3 = nullptr;

 private:
  static void Publish(TPublisher<TTestButtonsForm>& p) {
    p.Field(L"SpeedButton1", &TTestButtonsForm::SpeedButton1);
    p.Field(L"SpeedButton2", &TTestButtonsForm::SpeedButton2);
    p.Field(L"SpeedButton3", &TTestButtonsForm::SpeedButton3);
    p.Field(L"SpeedButton4", &TTestButtonsForm::SpeedButton4);
    p.Field(L"Edit1", &TTestButtonsForm::Edit1);
    p.Field(L"Button1", &TTestButtonsForm::Button1);
    p.Field(L"BitBtn1", &TTestButtonsForm::BitBtn1);
    p.Field(L"BitBtn2", &TTestButtonsForm::BitBtn2);
    p.Field(L"BitBtn3", &TTestButtonsForm::BitBtn3);
  }
};
QORN_REGISTER_CLASS(TTestButtonsForm);

class Buttons : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestButtonsForm>(Application);
    form->Show();
    Pump(80ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // A press and release on a windowless button, through its form (release at
  // an offset from the press).
  void Click(TControl* c, int dx = 0, int dy = 0) {
    HWND wnd = form->GetHandle();
    const int x = c->GetLeft() + c->GetWidth() / 2, y = c->GetTop() + c->GetHeight() / 2;
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y + dy));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y + dy));
    Pump(10ms);
  }
  COLORREF FormPixel(int x, int y) {
    RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(20ms);
    HDC dc = GetDC(form->GetHandle());
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(form->GetHandle(), dc);
    return c;
  }
  TTestButtonsForm* form = nullptr;
};

TEST_F(Buttons, OneSpeedButtonOfAGroupIsDown) {
  TSpeedButton* one = form->SpeedButton1;
  TSpeedButton* two = form->SpeedButton2;
  TSpeedButton* three = form->SpeedButton3;
  int clicks = 0;
  two->OnClick = [&](TObject*) { ++clicks; };
  ASSERT_TRUE(one->GetDown());
  Click(two);
  EXPECT_TRUE(two->GetDown());
  EXPECT_FALSE(one->GetDown()) << "the group's other button went up";
  EXPECT_EQ(clicks, 1);
  Click(two);
  EXPECT_TRUE(two->GetDown()) << "the only down button stays down";
  EXPECT_EQ(clicks, 2);
  Click(three, 100, 0);
  EXPECT_FALSE(three->GetDown()) << "released outside: no click";
  EXPECT_EQ(three->GetState(), bsUp);

  // AllowAllUp is the group's: set on one, the others take it.
  three->SetAllowAllUp(true);
  EXPECT_TRUE(two->GetAllowAllUp());
  Click(two);
  EXPECT_FALSE(two->GetDown());
  three->SetDown(true);
  EXPECT_FALSE(one->GetDown());
  EXPECT_FALSE(two->GetDown());

  // Outside a group a button never stays down.
  TSpeedButton* single = form->SpeedButton4;
  single->SetDown(true);
  EXPECT_FALSE(single->GetDown());
  int singleClicks = 0;
  single->OnClick = [&](TObject*) { ++singleClicks; };
  Click(single);
  EXPECT_FALSE(single->GetDown());
  EXPECT_EQ(singleClicks, 1);
}

TEST_F(Buttons, AFlatSpeedButtonShowsItsEdgeOnlyUnderTheMouse) {
  TSpeedButton* flat = form->SpeedButton4;
  const TPoint corner = form->ClientToScreen({flat->GetLeft(), flat->GetTop()});
  const COLORREF face = static_cast<COLORREF>(ColorToRGB(form->GetColor()));
  EXPECT_EQ(FormPixel(flat->GetLeft(), flat->GetTop()), face);

  SetCursorPos(corner.X + 12, corner.Y + 12);
  SendMessageW(form->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(flat->GetLeft() + 12, flat->GetTop() + 12));
  Pump(20ms);
  EXPECT_TRUE(flat->MouseInControl());
  EXPECT_EQ(FormPixel(flat->GetLeft(), flat->GetTop()), static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));

  SetCursorPos(corner.X + 200, corner.Y + 120);
  SendMessageW(form->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(flat->GetLeft() + 200, flat->GetTop() + 120));
  Pump(20ms);
  EXPECT_FALSE(flat->MouseInControl());
  EXPECT_EQ(FormPixel(flat->GetLeft(), flat->GetTop()), face);
}

TEST_F(Buttons, AGlyphIsDrawnWithoutItsTransparentColourAndEmbossedWhenDisabled) {
  TSpeedButton* button = form->SpeedButton4;  // 24 x 24, a 16 x 16 glyph centred
  ASSERT_EQ(button->GetGlyph()->GetWidth(), 16);
  const int x0 = button->GetLeft() + (24 - 16 + 1) / 2, y0 = button->GetTop() + (24 - 16 + 1) / 2;
  const COLORREF face = static_cast<COLORREF>(ColorToRGB(form->GetColor()));
  // The glyph: a navy frame from (3,3) to (12,12) on olive.
  EXPECT_EQ(FormPixel(x0 + 3, y0 + 3), RGB(0, 0, 128));
  EXPECT_EQ(FormPixel(x0 + 1, y0 + 1), face) << "olive, the bottom-left colour, is not drawn";
  button->SetEnabled(false);
  EXPECT_EQ(FormPixel(x0 + 3, y0 + 3), static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(FormPixel(x0 + 1, y0 + 1), face);
}

TEST_F(Buttons, LayoutPlacesGlyphAndCaption) {
  TBitmap bitmap(200, 100);
  TCanvas* canvas = bitmap.GetCanvas();
  canvas->GetFont()->SetName(L"Tahoma");
  const int tw = canvas->TextWidth(L"OK");
  ASSERT_GT(tw, 0);
  TPoint g;
  TRect t;
  // A centred group: as much room on either side, spacing between.
  CalcButtonLayout(canvas, TRect(0, 0, 75, 25), {16, 16}, L"OK", blGlyphLeft, -1, 4, g, t);
  EXPECT_EQ(t.Left - (g.X + 16), 4);
  EXPECT_LE(std::abs(g.X - (75 - t.Right)), 1);
  EXPECT_EQ(g.Y, 5);
  // On the right, the glyph is last; on top, the text is below it.
  CalcButtonLayout(canvas, TRect(0, 0, 75, 25), {16, 16}, L"OK", blGlyphRight, 2, 4, g, t);
  EXPECT_EQ(g.X, 75 - 2 - 16);
  EXPECT_EQ(t.Right, g.X - 4);
  CalcButtonLayout(canvas, TRect(10, 20, 60, 80), {16, 16}, L"OK", blGlyphTop, -1, 4, g, t);
  EXPECT_EQ(t.Top - (g.Y + 16), 4);
  EXPECT_LE(std::abs((g.Y - 20) - (80 - t.Bottom)), 1);
  EXPECT_EQ(g.X, 10 + (50 - 16 + 1) / 2);
  // Without a caption the glyph is centred, no spacing added.
  CalcButtonLayout(canvas, TRect(0, 0, 24, 24), {16, 16}, L"", blGlyphLeft, -1, 4, g, t);
  EXPECT_EQ(g.X, 4);
  EXPECT_EQ(g.Y, 4);
}

TEST_F(Buttons, ABitButtonsKindGivesItsCaptionResultAndRole) {
  TBitBtn* ok = form->BitBtn1;
  TBitBtn* later = form->BitBtn2;
  EXPECT_EQ(ok->GetCaption(), L"OK");
  EXPECT_EQ(ok->GetModalResult(), mrOk);
  EXPECT_TRUE(ok->GetDefault());
  EXPECT_EQ(later->GetCaption(), L"&Later") << "the form's caption wins over the kind's";
  EXPECT_TRUE(later->GetCancel());
  EXPECT_EQ(later->GetModalResult(), mrCancel);
  later->SetKind(bkYes);
  EXPECT_EQ(later->GetCaption(), L"&Yes");
  EXPECT_TRUE(later->GetDefault());
  EXPECT_FALSE(later->GetCancel());
  EXPECT_EQ((GetWindowLongW(ok->GetHandle(), GWL_STYLE) & BS_TYPEMASK), BS_OWNERDRAW);

  int clicks = 0;
  ok->OnClick = [&](TObject*) { ++clicks; };
  HWND wnd = ok->GetHandle();
  SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  Pump(10ms);
  EXPECT_EQ(clicks, 2) << "a quick second click is a click";
  EXPECT_EQ(form->GetModalResult(), mrOk);
}

TEST_F(Buttons, ABitButtonIsDrawnWithItsGlyphCaptionAndDefaultLook) {
  TBitBtn* ok = form->BitBtn1;
  TBitBtn* custom = form->BitBtn3;
  form->Edit1->SetFocus();
  Pump(20ms);
  EXPECT_TRUE(ok->IsFocusedLook()) << "the default button, while no button has the focus";
  auto shot = [&](TBitBtn* b, const std::function<bool(COLORREF)>& want) {
    RedrawWindow(b->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(20ms);
    HDC dc = GetDC(b->GetHandle());
    int n = 0;
    for (int x = 0; x < b->GetWidth(); ++x)
      for (int y = 0; y < b->GetHeight(); ++y)
        if (want(GetPixel(dc, x, y))) ++n;
    const COLORREF corner = GetPixel(dc, 0, 0);
    ReleaseDC(b->GetHandle(), dc);
    return std::make_pair(n, corner);
  };
  const auto green = [](COLORREF c) { return c == RGB(0, 128, 0); };
  const auto navy = [](COLORREF c) { return c == RGB(0, 0, 128); };
  const auto [tick, okCorner] = shot(ok, green);
  EXPECT_GT(tick, 5) << "bkOK draws its tick";
  EXPECT_EQ(okCorner, static_cast<COLORREF>(ColorToRGB(clWindowFrame)));
  EXPECT_GT(shot(custom, navy).first, 20) << "a custom button draws its own glyph";

  // A focused push button takes the default look from the default button.
  form->Button1->SetFocus();
  Pump(20ms);
  EXPECT_FALSE(ok->IsFocusedLook());
  EXPECT_EQ(GetWindowLongW(form->Button1->GetHandle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_NE(shot(ok, green).second, static_cast<COLORREF>(ColorToRGB(clWindowFrame)));
}

TEST_F(Buttons, CloseAndHelpButtonsDoTheirKindsWork) {
  TBitBtn* button = form->BitBtn3;
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  std::vector<std::wstring> keywords;
  Application->HelpKeywordHandler = [&](const std::wstring& k) {
    keywords.push_back(k);
    return true;
  };
  button->SetKind(bkHelp);
  form->SetHelpKeyword(L"buttons-form");
  button->Perform(BM_CLICK);
  Pump(10ms);
  EXPECT_EQ(keywords, (std::vector<std::wstring>{L"buttons-form"})) << "the nearest help up the parents";
  Application->HelpKeywordHandler = nullptr;

  bool closed = false;
  form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
  button->SetKind(bkClose);
  EXPECT_EQ(button->GetCaption(), L"&Close");
  button->Perform(BM_CLICK);
  Pump(10ms);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(IsWindowVisible(form->GetHandle()));
  EXPECT_EQ(clicks, 2);
}

}  // namespace
