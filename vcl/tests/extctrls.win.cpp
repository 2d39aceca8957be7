// Panels (bevels, border, caption, children inside), images (placement,
// AutoSize, pictures from files) and bevels, painted on a real form.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "testing/TempDir.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/PngImage.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace std::chrono_literals;

class TTestExtCtrlsForm : public TForm {
  QORN_CLASS(TTestExtCtrlsForm, TForm)
 public:
  explicit TTestExtCtrlsForm(TComponent* AOwner) : TForm(AOwner) {}
  TPanel* Panel1 = nullptr;
  TPanel* Panel2 = nullptr;
  TPanel* Panel3 = nullptr;
  TImage* Image1 = nullptr;
  TBevel* Bevel1 = nullptr;

 private:
  static void Publish(TPublisher<TTestExtCtrlsForm>& p) {
    p.Field(L"Panel1", &TTestExtCtrlsForm::Panel1);
    p.Field(L"Panel2", &TTestExtCtrlsForm::Panel2);
    p.Field(L"Panel3", &TTestExtCtrlsForm::Panel3);
    p.Field(L"Image1", &TTestExtCtrlsForm::Image1);
    p.Field(L"Bevel1", &TTestExtCtrlsForm::Bevel1);
  }
};
QORN_REGISTER_CLASS(TTestExtCtrlsForm);

class ExtControls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestExtCtrlsForm>(Application);
    form->Show();
    Pump(60ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // A pixel of a window as painted now.
  COLORREF Pixel(HWND wnd, int x, int y) {
    RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(20ms);
    HDC dc = GetDC(wnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(wnd, dc);
    return c;
  }
  COLORREF Rgb(TColor c) { return static_cast<COLORREF>(ColorToRGB(c)); }
  TTestExtCtrlsForm* form = nullptr;
};

TEST_F(ExtControls, PanelChildrenAlignInsideItsBevelsAndBorder) {
  TPanel* outer = form->Panel1;
  TPanel* inner = form->Panel2;
  struct Case {
    TPanelBevel outerBevel, innerBevel;
    int bevelWidth, borderWidth, inset;
  };
  const Case cases[] = {
      {bvRaised, bvLowered, 2, 3, 7},
      {bvNone, bvNone, 2, 3, 3},
      {bvRaised, bvNone, 1, 0, 1},
      {bvSpace, bvSpace, 1, 1, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.inset);
    outer->SetBevelOuter(c.outerBevel);
    outer->SetBevelInner(c.innerBevel);
    outer->SetBevelWidth(c.bevelWidth);
    outer->SetBorderWidth(c.borderWidth);
    EXPECT_EQ(inner->GetBoundsRect(), TRect(c.inset, c.inset, 200 - c.inset, 100 - c.inset));
  }
  EXPECT_EQ(Pixel(inner->GetHandle(), 5, 5), RGB(255, 0, 0));
}

TEST_F(ExtControls, PanelDrawsItsBevelsAndCentresItsCaption) {
  TPanel* panel = form->Panel3;  // raised, 120 x 40
  HWND wnd = panel->GetHandle();
  EXPECT_EQ(Pixel(wnd, 5, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(Pixel(wnd, 0, 20), Rgb(clBtnHighlight));
  EXPECT_EQ(Pixel(wnd, 119, 20), Rgb(clBtnShadow));
  EXPECT_EQ(Pixel(wnd, 60, 39), Rgb(clBtnShadow));
  EXPECT_EQ(Pixel(wnd, 5, 5), Rgb(clBtnFace));
  panel->SetBevelOuter(bvLowered);
  EXPECT_EQ(Pixel(wnd, 5, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Pixel(wnd, 119, 20), Rgb(clBtnHighlight));

  // The caption's ink lies in the middle band, as much left as right of centre.
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump(20ms);
  HDC dc = GetDC(wnd);
  int left = 120, right = -1;
  for (int x = 2; x < 118; ++x)
    for (int y = 2; y < 38; ++y)
      if (GetRValue(GetPixel(dc, x, y)) < 80) {
        left = std::min(left, x);
        right = std::max(right, x);
        EXPECT_GT(y, 10);
        EXPECT_LT(y, 30);
      }
  ReleaseDC(wnd, dc);
  ASSERT_GT(right, left);
  EXPECT_LE(std::abs(left - (119 - right)), 2);
}

TEST_F(ExtControls, ImagePlacesItsPicture) {
  TImage* image = form->Image1;  // a 32 x 32 picture in 100 x 60
  struct Case {
    bool stretch, center, proportional;
    TRect dest;
  };
  const Case cases[] = {
      {false, false, false, TRect(0, 0, 32, 32)},  {false, true, false, TRect(34, 14, 66, 46)},
      {true, false, false, TRect(0, 0, 100, 60)},  {true, false, true, TRect(0, 0, 60, 60)},
      {true, true, true, TRect(20, 0, 80, 60)},    {false, false, true, TRect(0, 0, 32, 32)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.stretch << c.center << c.proportional);
    image->SetStretch(c.stretch);
    image->SetCenter(c.center);
    image->SetProportional(c.proportional);
    EXPECT_EQ(image->DestRect(), c.dest);
  }
  // Centred at its size: the sun (22, 9) of the picture on the form.
  image->SetStretch(false);
  image->SetCenter(true);
  image->SetProportional(false);
  EXPECT_EQ(Pixel(form->GetHandle(), image->GetLeft() + 34 + 22, image->GetTop() + 14 + 9), RGB(255, 220, 0));
  image->SetAutoSize(true);
  EXPECT_EQ(image->GetWidth(), 32);
  EXPECT_EQ(image->GetHeight(), 32);

  // Transparent: the bottom-left colour (the green hill) lets the form through,
  // also for a picture assigned later.
  image->SetCenter(false);
  image->SetTransparent(true);
  const int x = image->GetLeft(), y = image->GetTop();
  EXPECT_EQ(Pixel(form->GetHandle(), x + 2, y + 30), Rgb(form->GetColor()));
  EXPECT_EQ(Pixel(form->GetHandle(), x + 22, y + 9), RGB(255, 220, 0));
  TPicture copy;
  copy.Assign(image->GetPicture());
  image->GetPicture()->SetGraphic(nullptr);
  image->SetPicture(&copy);
  EXPECT_EQ(Pixel(form->GetHandle(), x + 2, y + 30), Rgb(form->GetColor()));
}

TEST_F(ExtControls, ImageLoadsAPngFileAndBlendsItsAlphaOverTheForm) {
  TBitmap source(8, 8);
  PixelBuffer pixels(8, 8, 0x800000FF);  // blue, half transparent
  source.SetPixels(pixels, afDefined);
  TPngImage png;
  png.Assign(&source);
  qorn::testing::TempDir dir("image");
  const std::wstring file = (dir / "half.png").wstring();
  png.SaveToFile(file);

  TImage* image = form->Image1;
  image->GetPicture()->LoadFromFile(file);
  ASSERT_EQ(image->GetPicture()->GetWidth(), 8);
  const COLORREF got = Pixel(form->GetHandle(), image->GetLeft() + 3, image->GetTop() + 3);
  const COLORREF face = Rgb(form->GetColor());
  EXPECT_NEAR(GetBValue(got), (GetBValue(face) + 255) / 2, 2);
  EXPECT_NEAR(GetRValue(got), GetRValue(face) / 2, 2);
  EXPECT_THROW(image->GetPicture()->LoadFromFile((dir / "none.xyz").wstring()), EInvalidGraphic);
  EXPECT_EQ(image->GetPicture()->GetWidth(), 8) << "a failed load keeps the picture";
}

TEST_F(ExtControls, BevelShapesDrawTheirLines) {
  TBevel* bevel = form->Bevel1;  // 100 x 40
  HWND wnd = form->GetHandle();
  const int x0 = bevel->GetLeft(), y0 = bevel->GetTop();
  struct Point {
    int x, y;
    bool first;  // the shadow side when lowered, the light side when raised
  };
  struct Case {
    TBevelShape shape;
    Point a, b;
  };
  const Case cases[] = {
      {bsBox, {0, 0, true}, {99, 39, false}},     {bsFrame, {0, 0, true}, {1, 1, false}},
      {bsTopLine, {50, 0, true}, {50, 1, false}}, {bsBottomLine, {50, 38, true}, {50, 39, false}},
      {bsLeftLine, {0, 20, true}, {1, 20, false}}, {bsRightLine, {98, 20, true}, {99, 20, false}},
  };
  for (TBevelStyle style : {bsLowered, bsRaised}) {
    bevel->SetStyle(style);
    const COLORREF first = Rgb(style == bsLowered ? clBtnShadow : clBtnHighlight);
    const COLORREF second = Rgb(style == bsLowered ? clBtnHighlight : clBtnShadow);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "shape " << c.shape << " style " << style);
      bevel->SetShape(c.shape);
      EXPECT_EQ(Pixel(wnd, x0 + c.a.x, y0 + c.a.y), c.a.first ? first : second);
      EXPECT_EQ(Pixel(wnd, x0 + c.b.x, y0 + c.b.y), c.b.first ? first : second);
      EXPECT_EQ(Pixel(wnd, x0 + 50, y0 + 20), Rgb(form->GetColor())) << "nothing inside";
    }
  }
  bevel->SetShape(bsSpacer);
  EXPECT_EQ(Pixel(wnd, x0, y0), Rgb(form->GetColor()));
}

}  // namespace
