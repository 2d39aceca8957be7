#include "controls/extended/VyPrgres.h"

#include "controls/extended/VyPanel.h"
#include "vcl/Bitmap.h"
#include "vcl/Messages.h"
#include "vcl/Themes.h"

#include <cmath>

namespace Vy {

namespace {
// How far from the bar's right end a press is left to a status bar's grip.
constexpr int kStatusGripReach = 12;
constexpr int kStatusBackground = 0;
constexpr int kStatusPane = 1;
}  // namespace

TVyProgressBar::TVyProgressBar(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csOpaque);
  SetBounds(0, 0, 200, 24);
}

TVyProgressBar::~TVyProgressBar() { LinkFrameController(this, FFrameController, nullptr); }

void TVyProgressBar::Publish(TPublisher<TVyProgressBar>& p) {
  using T = TVyProgressBar;
  p.Property(L"BackColor", &T::GetBackColor, &T::SetBackColor).Default(clWhite).Idents(ColorIdents);
  p.Property(L"BarColor", &T::GetBarColor, &T::SetBarColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"BarStyle", &T::GetBarStyle, &T::SetBarStyle).Default(bsTraditional);
  p.Property(L"BevelWidth", &T::GetBevelWidth, &T::SetBevelWidth).Default(1);
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"BorderInner", &T::GetBorderInner, &T::SetBorderInner).Default(fsNone);
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsLowered);
  p.Property(L"BorderWidth", &T::GetBorderWidth, &T::SetBorderWidth).Default(0);
  p.Property(L"FlatColor", &T::GetFlatColor, &T::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(30);
  p.Message(CM_HITTEST, &T::CMHitTest);
  p.Property(L"FrameController", &T::GetFrameController, &T::SetFrameController);
  p.Property(L"InteriorOffset", &T::GetInteriorOffset, &T::SetInteriorOffset).Default(0);
  p.Property(L"NumSegments", &T::GetNumSegments, &T::SetNumSegments).Default(20);
  p.Property(L"Orientation", &T::GetOrientation, &T::SetOrientation).Default(orHorizontal);
  p.Property(L"TotalParts", &T::GetTotalParts, &T::SetTotalParts).Default(0u);
  p.Property(L"PartsComplete", &T::GetPartsComplete, &T::SetPartsComplete).Default(0u);
  p.Property(L"Percent", &T::GetPercent, &T::SetPercent).Default(0);
  p.Property(L"ShowPercent", &T::GetShowPercent, &T::SetShowPercent).Default(true);
  p.Property(L"ThemeAware", &T::GetThemeAware, &T::SetThemeAware).Default(true);
  p.Property(L"OnChange", &T::OnChange);
}

void TVyProgressBar::SetBarColor(TColor v) {
  if (FBarColor == v) return;
  FBarColor = v;
  GetFont()->SetColor(v);
  Invalidate();
}

void TVyProgressBar::SetBarStyle(TBarStyle v) {
  if (FBarStyle == v) return;
  FBarStyle = v;
  FShowPercent = v == bsTraditional;
  FInteriorOffset = v == bsLED ? 1 : 0;
  Invalidate();
}

void TVyProgressBar::SetPercent(int v) {
  if (FPercent == v) return;
  FPercent = v;
  DoChange(v);
  Invalidate();
}

void TVyProgressBar::SetPartsComplete(unsigned v) {
  if (!Loading()) v = std::min(v, FTotalParts);
  if (FPartsComplete == v) return;
  FPartsComplete = v;
  if (!Loading() && FTotalParts != 0) SetPercent(int(std::lround(double(v) / FTotalParts * 100)));
  Invalidate();
}

void TVyProgressBar::SetTotalParts(unsigned v) {
  if (FTotalParts == v) return;
  FTotalParts = v;
  if (!Loading()) {
    FPartsComplete = 0;
    SetPercent(0);
  }
  Invalidate();
}

void TVyProgressBar::Loaded() {
  TGraphicControl::Loaded();
  // The form may hold PartsComplete before TotalParts; the limit applies once both are read.
  FPartsComplete = std::min(FPartsComplete, FTotalParts);
}

void TVyProgressBar::FramingChanged() {
  if (!FFrameController || !FFrameController->GetFrameVisible()) return;
  FBorderOuter = FFrameController->GetFrameStyle();
  FFlatColor = FFrameController->GetFrameColor();
  FFlatColorAdjustment = 0;
  SetBackColor(FFrameController->GetColor());
  SetParentColor(FFrameController->GetParentColor());
  Invalidate();
}

void TVyProgressBar::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFrameController) FFrameController = nullptr;
}

void TVyProgressBar::CMHitTest(TMessage& m) {
  m.Result = HTCLIENT;
  auto* status = dynamic_cast<TVyStatusBar*>(GetParent());
  if (!status) return;
  const TPoint p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
  // Not ours: the press then reaches the status bar, which starts sizing from its grip.
  if (p.X >= GetWidth() - kStatusGripReach && status->GripAt({GetLeft() + p.X, GetTop() + p.Y})) m.Result = HTNOWHERE;
}

void TVyProgressBar::SetBounds(int left, int top, int width, int height) {
  TGraphicControl::SetBounds(left, top, width, height);
  SetOrientation(GetWidth() < GetHeight() ? orVertical : orHorizontal);
}

void TVyProgressBar::Paint() {
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  TBitmap bitmap;
  bitmap.SetSize(w, h);
  TCanvas* c = bitmap.GetCanvas();
  c->SetFont(GetFont());
  TRect r = Rect(0, 0, w, h);
  const bool vertical = FOrientation == orVertical;
  // A bar that is not theme-aware keeps the colours its owner chose on a themed desktop too.
  auto* status = dynamic_cast<TVyStatusBar*>(GetParent());
  const bool themed = FThemeAware && ThemeServices().ThemesEnabled() && (!status || status->GetThemeAware());
  TRect interior;
  if (themed && status) {
    // The bar sits in a themed status pane: the bar's background and the pane under it.
    TThemeServices& t = ThemeServices();
    TBitmap back;
    back.SetSize(status->GetWidth(), status->GetHeight());
    t.DrawElement(back.GetCanvas()->GetHandle(), t.GetElementDetails(L"STATUS", kStatusBackground, 0),
                  Rect(0, 0, status->GetWidth(), status->GetHeight()));
    BitBlt(c->GetHandle(), 0, 0, w, h, back.GetCanvas()->GetHandle(), GetLeft(), GetTop(), SRCCOPY);
    t.DrawElement(c->GetHandle(), t.GetElementDetails(L"STATUS", kStatusPane, 0), r);
    if (FInteriorOffset > 0)
      InflateRect(r, -(FInteriorOffset + 2), -(FInteriorOffset + 1));
    else
      InflateRect(r, -3, -2);
    t.DrawElement(c->GetHandle(), t.GetElementDetails(L"PROGRESS", vertical ? 2 : 1, 0), r);
    interior = r;
    const int by = FInteriorOffset + (FBarStyle == bsTraditional ? 3 : 1);
    InflateRect(interior, -by, -by);
  } else if (themed) {
    c->GetBrush()->SetColor(GetParent() ? GetParent()->GetColor() : clBtnFace);
    c->FillRect(r);
    ThemeServices().DrawElement(c->GetHandle(), ThemeServices().GetElementDetails(L"PROGRESS", vertical ? 2 : 1, 0),
                                r);
    interior = r;
    const int by = FInteriorOffset + (FBarStyle == bsTraditional ? 3 : 1);
    InflateRect(interior, -by, -by);
  } else {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(FBorderColor);
    c->FillRect(r);
    TBevelBorder b;
    b.Outer = FBorderOuter;
    b.Inner = FBorderInner;
    b.CutCorners = true;
    b.TransparentCorners = false;
    b.ParentColor = GetParent() ? GetParent()->GetColor() : clBtnFace;
    b.ControlColor = FBackColor;
    b.FlatColorAdjustment = FFlatColorAdjustment;
    b.FlatColor = FFlatColor;
    b.ShadowColor = clBtnShadow;
    b.HighlightColor = clBtnHighlight;
    b.BorderColor = FBorderColor;
    b.BevelWidth = FBevelWidth;
    b.Sides = AllSides;
    b.BorderWidth = FBorderWidth;
    const TRect inner = PaintBevelBorder(c, r, b);
    interior = inner;
    if (FInteriorOffset > 0) {
      InflateRect(interior, -FInteriorOffset, -FInteriorOffset);
      // The interior frame in the back colour: the ring between inner and interior.
      c->GetBrush()->SetStyle(bsSolid);
      c->GetBrush()->SetColor(FBackColor);
      c->FillRect(Rect(inner.Left, inner.Top, inner.Right, std::max(inner.Top, interior.Top)));
      c->FillRect(Rect(inner.Left, std::min(inner.Bottom, interior.Bottom), inner.Right, inner.Bottom));
      c->FillRect(Rect(inner.Left, inner.Top, std::max(inner.Left, interior.Left), inner.Bottom));
      c->FillRect(Rect(std::min(inner.Right, interior.Right), inner.Top, inner.Right, inner.Bottom));
    }
  }
  if (!interior.IsEmpty()) {
    if (FBarStyle == bsLED)
      PaintSegmentedProgress(c, interior, vertical, themed, FPercent, FNumSegments, FBackColor, FBarColor);
    else
      PaintTraditionalProgress(c, interior, vertical, FShowPercent, FPercent, FBackColor, FBarColor);
  }
  GetCanvas()->Draw(0, 0, &bitmap);
}

}  // namespace Vy
