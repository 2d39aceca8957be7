#include "controls/extended/VySpnEdt.h"

#include "vcl/ScopeGuards.h"

namespace Vy {

TVyRapidFireButton::TVyRapidFireButton(TComponent* AOwner) : TSpeedButton(AOwner) {}

TVyRapidFireButton::~TVyRapidFireButton() = default;

void TVyRapidFireButton::Publish(TPublisher<TVyRapidFireButton>& p) {
  using T = TVyRapidFireButton;
  p.Property(L"Delay", &T::GetDelay, &T::SetDelay).Default(WORD(100));
  p.Property(L"InitialDelay", &T::GetInitialDelay, &T::SetInitialDelay).Default(WORD(400));
  p.Property(L"ScrollStyle", &T::GetScrollStyle, &T::SetScrollStyle).Default(scsNone);
}

void TVyRapidFireButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TSpeedButton::MouseDown(button, shift, x, y);
  if (!FRepeating) return;
  if (!FRepeatTimer) {
    FRepeatTimer = std::make_unique<TTimer>(nullptr);
    FRepeatTimer->OnTimer = TNotifyEvent(this, &TVyRapidFireButton::TimerExpired);
  }
  FRepeatTimer->SetInterval(FInitialDelay);
  FRepeatTimer->SetEnabled(true);
}

void TVyRapidFireButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  // The release's own click comes first; the repeats stop however it ends.
  const TOnExit stop([this] {
    if (FRepeatTimer) FRepeatTimer->SetEnabled(false);
  });
  TSpeedButton::MouseUp(button, shift, x, y);
}

void TVyRapidFireButton::TimerExpired(TObject*) {
  FRepeatTimer->SetInterval(FDelay);
  if (FState != bsDown || !GetMouseCapture()) return;
  // A click that fails stops the repeats; the failure goes on to the message loop.
  TOnFailure stop([this] { FRepeatTimer->SetEnabled(false); });
  Click();
}

void TVyRapidFireButton::Paint() {
  TSpeedButton::Paint();
  if (!FFocusRect) return;
  TRect r = GetClientRect();
  InflateRect(r, -3, -3);
  if (FState == bsDown) OffsetRect(r, 1, 1);
  GetCanvas()->DrawFocusRect(r);
}

void TVyRapidFireButton::SetScrollStyle(TVyScrollStyle v) {
  if (v == FScrollStyle) return;
  FScrollStyle = v;
  BuildScrollGlyph();
  Invalidate();
}

void TVyRapidFireButton::BuildScrollGlyph() {
  TBitmap glyph;
  if (FScrollStyle == scsNone) {
    SetGlyph(&glyph);
    return;
  }
  const bool across = FScrollStyle == scsLeft || FScrollStyle == scsRight;
  UINT arrow = DFCS_SCROLLLEFT;
  TPoint from{4, 4};
  switch (FScrollStyle) {
    case scsLeft:
      arrow = DFCS_SCROLLLEFT;
      from = {4, 4};
      break;
    case scsUp:
      arrow = DFCS_SCROLLUP;
      from = {4, 5};
      break;
    case scsRight:
      arrow = DFCS_SCROLLRIGHT;
      from = {6, 4};
      break;
    case scsDown:
      arrow = DFCS_SCROLLDOWN;
      from = {4, 6};
      break;
    case scsNone: break;
  }
  if (GetDown()) arrow |= DFCS_PUSHED;
  if (!GetEnabled()) arrow |= DFCS_INACTIVE;
  TBitmap scratch(17, 17);
  RECT all{0, 0, 17, 17};
  DrawFrameControl(scratch.GetCanvas()->GetHandle(), &all, DFC_SCROLL, arrow);
  glyph.SetSize(9, across ? 9 : 6);
  const TRect dest = Rect(0, 0, glyph.GetWidth(), glyph.GetHeight());
  glyph.GetCanvas()->CopyRect(dest, scratch.GetCanvas(), Bounds(from.X, from.Y, glyph.GetWidth(), glyph.GetHeight()));
  SetGlyph(&glyph);
}

}  // namespace Vy
