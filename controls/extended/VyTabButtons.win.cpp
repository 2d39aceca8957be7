#include "controls/extended/VyTabButtons.h"

#include "vcl/Themes.h"
#include "vcl/Win.h"

#include <vssym32.h>

namespace Vy {

void PaintDirectionArrow(TCanvas* canvas, const TRect& rect, bool enabled, bool pressed, TVyArrowDirection direction) {
  const int w = rect.Width(), h = rect.Height(), push = pressed ? 1 : 0;
  TBrush* brush = canvas->GetBrush();
  TPen* pen = canvas->GetPen();
  const TColor oldBrush = brush->GetColor();
  const TPenStyle oldPen = pen->GetStyle();
  brush->SetStyle(bsSolid);
  brush->SetColor(enabled ? clBlack : clBtnShadow);
  pen->SetStyle(psClear);
  // The centre sits half a pixel towards the point, as the drop-down arrow's does.
  const int cx = rect.Left + w / 2 + push, cy = rect.Top + h / 2 + push;
  switch (direction) {
    case TVyArrowDirection::adDown: canvas->Polygon({{cx, cy + 2}, {cx - 3, cy - 2}, {cx + 4, cy - 2}}); break;
    case TVyArrowDirection::adUp: canvas->Polygon({{cx, cy - 2}, {cx - 4, cy + 2}, {cx + 4, cy + 2}}); break;
    case TVyArrowDirection::adRight: canvas->Polygon({{cx + 2, cy}, {cx - 2, cy - 3}, {cx - 2, cy + 4}}); break;
    case TVyArrowDirection::adLeft: canvas->Polygon({{cx - 2, cy}, {cx + 2, cy - 4}, {cx + 2, cy + 4}}); break;
  }
  pen->SetStyle(oldPen);
  brush->SetColor(oldBrush);
}

// --- scroller

TVyTabScroller::TVyTabScroller(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csOpaque << csCaptureMouse;
  SetBounds(0, 0, 31, 16);
}

void TVyTabScroller::Publish(TPublisher<TVyTabScroller>& p) {
  using T = TVyTabScroller;
  p.Property(L"FrameColor", &T::GetFrameColor, &T::SetFrameColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"Orientation", &T::GetOrientation, &T::SetOrientation);
  p.Property(L"OnUpRightClick", &T::OnUpRightClick);
  p.Property(L"OnDownLeftClick", &T::OnDownLeftClick);
}

void TVyTabScroller::SetFrameColor(TColor v) {
  if (v == FFrameColor) return;
  FFrameColor = v;
  Invalidate();
}

void TVyTabScroller::SetOrientation(TOrientation v) {
  if (v == FOrientation) return;
  FOrientation = v;
  Invalidate();
}

bool TVyTabScroller::InPressedHalf(int x, int y) const {
  if (FOrientation == orHorizontal) {
    const bool right = x >= GetWidth() / 2;
    return y >= 0 && y < GetHeight() && x < GetWidth() && x >= 0 && (FPressedHalf == 1) == right;
  }
  const bool top = y <= GetHeight() / 2;
  return x >= 0 && x < GetWidth() && y >= 0 && y < GetHeight() && (FPressedHalf == 1) == top;
}

void TVyTabScroller::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  FPressedHalf = FOrientation == orHorizontal ? (x >= GetWidth() / 2 ? 1 : 0) : (y <= GetHeight() / 2 ? 1 : 0);
  FTracking = true;
  FDown = true;
  Invalidate();
  SetCapture(GetHandle());
}

void TVyTabScroller::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FTracking) return;
  const bool down = InPressedHalf(x, y);
  if (down == FDown) return;
  FDown = down;
  Invalidate();
}

void TVyTabScroller::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (GetCapture() == GetHandle()) ReleaseCapture();
  FTracking = false;
  if (FDown) {
    FDown = false;
    if (FPressedHalf == 0) {
      if (OnDownLeftClick) OnDownLeftClick(this);
    } else if (OnUpRightClick) {
      OnUpRightClick(this);
    }
  }
  Invalidate();
}

void TVyTabScroller::Paint() {
  TCanvas* c = GetCanvas();
  const int w = GetWidth(), h = GetHeight();
  // The two buttons share their middle line.
  TRect halves[2];
  if (FOrientation == orHorizontal) {
    halves[0] = Rect(0, 0, w / 2 + 1, h);
    halves[1] = Rect(w - (w / 2 + 1), 0, w, h);
  } else {
    halves[0] = Rect(0, h - (h / 2 + 1), w, h);
    halves[1] = Rect(0, 0, w, h / 2 + 1);
  }
  const TVyArrowDirection arrows[2] = {
      FOrientation == orHorizontal ? TVyArrowDirection::adLeft : TVyArrowDirection::adDown,
      FOrientation == orHorizontal ? TVyArrowDirection::adRight : TVyArrowDirection::adUp};
  const bool themed = ThemeServices().ThemesEnabled();
  for (int half = 0; half < 2; ++half) {
    const bool enabled = !HalfEnabled || HalfEnabled(half);
    const bool pressed = FDown && FPressedHalf == half;
    const TRect& r = halves[half];
    if (themed) {
      static const int base[] = {ABS_LEFTNORMAL, ABS_RIGHTNORMAL, ABS_UPNORMAL, ABS_DOWNNORMAL};
      const int state = base[int(arrows[half])] + (!enabled ? 3 : pressed ? 2 : 0);
      ThemeServices().DrawElement(c->GetHandle(), ThemeServices().GetElementDetails(L"SCROLLBAR", SBP_ARROWBTN, state),
                                  r, nullptr);
      continue;
    }
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clBtnFace);
    c->FillRect(r);
    PaintDirectionArrow(c, r, enabled, pressed, arrows[half]);
    c->GetBrush()->SetStyle(bsClear);
    c->GetPen()->SetColor(FFrameColor);
    c->Rectangle(r);
    c->GetBrush()->SetStyle(bsSolid);
  }
}

// --- close button

TVyTabCloseButton::TVyTabCloseButton(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csOpaque << csCaptureMouse;
  SetBounds(0, 0, 16, 16);
}

void TVyTabCloseButton::Publish(TPublisher<TVyTabCloseButton>& p) {
  using T = TVyTabCloseButton;
  p.Property(L"FrameColor", &T::GetFrameColor, &T::SetFrameColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"OnClose", &T::OnClose);
}

void TVyTabCloseButton::SetFrameColor(TColor v) {
  if (v == FFrameColor) return;
  FFrameColor = v;
  Invalidate();
}

void TVyTabCloseButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  FTracking = true;
  FDown = true;
  Invalidate();
  SetCapture(GetHandle());
}

void TVyTabCloseButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FTracking) return;
  const bool down = GetClientRect().Contains({x, y});
  if (down == FDown) return;
  FDown = down;
  Invalidate();
}

void TVyTabCloseButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (GetCapture() == GetHandle()) ReleaseCapture();
  FTracking = false;
  if (FDown) {
    FDown = false;
    if (OnClose) OnClose(this);
  }
  Invalidate();
}

void TVyTabCloseButton::Paint() {
  TCanvas* c = GetCanvas();
  const TRect r = GetClientRect();
  const bool active = !Active || Active();
  if (ThemeServices().ThemesEnabled()) {
    const int state = !active ? CBS_DISABLED : FDown ? CBS_PUSHED : CBS_NORMAL;
    ThemeServices().DrawElement(c->GetHandle(), ThemeServices().GetElementDetails(L"WINDOW", WP_CLOSEBUTTON, state), r,
                                nullptr);
    return;
  }
  RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  DrawFrameControl(c->GetHandle(), &rr, DFC_CAPTION,
                   DFCS_CAPTIONCLOSE | DFCS_FLAT | (FDown ? DFCS_PUSHED : 0) | (active ? 0 : DFCS_INACTIVE));
  c->GetBrush()->SetStyle(bsClear);
  c->GetPen()->SetColor(FFrameColor);
  c->Rectangle(r);
  c->GetBrush()->SetStyle(bsSolid);
}

}  // namespace Vy
