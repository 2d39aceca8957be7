#include "controls/visual/TFlatScrollbarUnit.h"

#include <algorithm>
#include <climits>

#include "controls/visual/FlatScrollbarGeometry.h"
#include "vcl/Timer.h"

namespace Flat {

namespace {

constexpr unsigned kArrowRepeatMs = 10;

int Saturated(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

std::unique_ptr<TBitmap> ThumbGlyph(TScrollBarKind kind, bool first, bool enabled) {
  const wchar_t* side = kind == sbVertical ? (first ? L"UP" : L"DOWN") : (first ? L"LEFT" : L"RIGHT");
  auto bmp = std::make_unique<TBitmap>();
  bmp->LoadFromResourceName(nullptr, std::wstring(L"THUMB_") + side + (enabled ? L"_ENABLED" : L"_DISABLED"));
  return bmp;
}

}  // namespace

// --- thumb

TFlatScrollbarThumb::TFlatScrollbarThumb(TComponent* AOwner, TFlatScrollbarTrack* track, TFlatScrollbar* bar)
    : TFlatButton(AOwner), FTrack(track), FBar(bar) {
  SetTabStop(false);
  SetColor(kFlatThumbColor);
  SetColorFocused(kFlatThumbColor);
  SetColorDown(kFlatThumbColor);
  SetColorBorder(kFlatThumbColor);
  SetColorHighLight(kFlatThumbColor);
  SetColorShadow(kFlatThumbColor);
}

void TFlatScrollbarThumb::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) {
    FDragging = true;
    FPressAt = FTrack->GetKind() == sbHorizontal ? x : y;
  }
  TFlatButton::MouseDown(button, shift, x, y);
}

void TFlatScrollbarThumb::MouseMove(TShiftState shift, int x, int y) {
  // Only a drag moves the thumb and the value: a pointer passing over it does not.
  if (FDragging) {
    const bool horizontal = FTrack->GetKind() == sbHorizontal;
    const int length = FTrack->Length(), thumb = horizontal ? GetWidth() : GetHeight();
    int offset = (horizontal ? x + GetLeft() : y + GetTop()) - FPressAt;
    offset = std::clamp(offset, 0, std::max(0, length - thumb));
    if (horizontal) SetLeft(offset);
    else SetTop(offset);
    FTrack->FPosition = FlatPositionForOffset(offset, length, thumb, FTrack->GetMin(), FTrack->GetMax());
    FBar->FPosition = FTrack->FPosition;
    FBar->DoScroll();
  }
  TFlatButton::MouseMove(shift, x, y);
}

void TFlatScrollbarThumb::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft) FDragging = false;
  TFlatButton::MouseUp(button, shift, x, y);
}

// --- track

TFlatScrollbarTrack::TFlatScrollbarTrack(TComponent* AOwner, TFlatScrollbar* bar) : TCustomControl(AOwner) {
  ControlStyle.Include(csOpaque);
  SetColor(kFlatScrollColor);
  FThumb = new TFlatScrollbarThumb(this, this, bar);
  FThumb->SetBounds(0, 0, GetWidth(), kFlatThumbLength);
  FThumb->SetParent(this);
}

int TFlatScrollbarTrack::Length() const { return FKind == sbHorizontal ? GetWidth() : GetHeight(); }

void TFlatScrollbarTrack::SetMin(int v) {
  FMin = v;
  SetPosition(FPosition);
}

void TFlatScrollbarTrack::SetMax(int v) {
  FMax = v;
  SetPosition(FPosition);
}

void TFlatScrollbarTrack::SetPosition(int v) {
  FPosition = std::clamp(v, FMin, std::max(FMin, FMax));
  const int thumb = FKind == sbHorizontal ? FThumb->GetWidth() : FThumb->GetHeight();
  const int offset = FlatThumbOffset(Length(), thumb, FMin, FMax, FPosition);
  if (FKind == sbHorizontal) FThumb->SetLeft(offset);
  else FThumb->SetTop(offset);
}

void TFlatScrollbarTrack::SetKind(TScrollBarKind v) {
  if (v == FKind) return;
  FKind = v;
  if (v == sbHorizontal) FThumb->SetBounds(0, 0, kFlatThumbLength, GetHeight());
  else FThumb->SetBounds(0, 0, GetWidth(), kFlatThumbLength);
  SetPosition(FPosition);
}

void TFlatScrollbarTrack::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  if (FKind == sbVertical) FThumb->SetWidth(GetWidth());
  else FThumb->SetHeight(GetHeight());
}

void TFlatScrollbarTrack::Paint() {
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
}

void TFlatScrollbarTrack::Publish(TPublisher<TFlatScrollbarTrack>& p) {
  p.Message(WM_SIZE, &TFlatScrollbarTrack::WMSize);
}

// --- arrow buttons

TFlatScrollbarButton::TFlatScrollbarButton(TComponent* AOwner, TFlatScrollbar* bar, int direction)
    : TFlatButton(AOwner), FBar(bar), FDirection(direction) {
  SetTabStop(false);
}

TFlatScrollbarButton::~TFlatScrollbarButton() = default;

void TFlatScrollbarButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TFlatButton::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetInterval(kArrowRepeatMs);
  FTimer->OnTimer = [this](TObject*) { Tick(); };
  FTimer->SetEnabled(true);
}

void TFlatScrollbarButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TFlatButton::MouseUp(button, shift, x, y);
  if (button == mbLeft) FTimer.reset();
}

void TFlatScrollbarButton::Tick() {
  FBar->SetPosition(Saturated(static_cast<long long>(FBar->GetPosition()) +
                              static_cast<long long>(FDirection) * FBar->GetSmallChange()));
  FBar->DoScroll();
}

// --- scroll bar

TFlatScrollbar::TFlatScrollbar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(GetLeft(), GetTop(), 200, 17);
  SetColor(kFlatScrollColor);
  FFirst = new TFlatScrollbarButton(this, this, -1);
  FFirst->SetParent(this);
  FSecond = new TFlatScrollbarButton(this, this, +1);
  FSecond->SetParent(this);
  FTrack = new TFlatScrollbarTrack(this, this);
  FTrack->SetParent(this);
  ToButtons([](TFlatScrollbarButton* b) {
    b->SetColor(kFlatScrollColor);
    b->SetColorFocused(kFlatScrollColor);
    b->SetColorDown(kFlatScrollColor);
    b->SetColorBorder(kFlatScrollColor);
    b->SetColorHighLight(clWhite);
    b->SetColorShadow(clBlack);
  });
  LoadGlyphs();
  PlaceParts();
}

template <class Setter>
void TFlatScrollbar::ToButtons(Setter set) {
  set(FFirst);
  set(FSecond);
}

template <class Setter>
void TFlatScrollbar::ToThumb(Setter set) {
  set(FTrack->Thumb());
}

void TFlatScrollbar::DoScroll() {
  if (OnScroll) OnScroll(this, FPosition);
}

void TFlatScrollbar::SetPosition(int v) {
  // While loading, Max may come after Position: the value is held in Loaded.
  FPosition = ComponentState().Contains(csLoading) ? v : std::clamp(v, FMin, std::max(FMin, FMax));
  FTrack->SetPosition(FPosition);
}

void TFlatScrollbar::Loaded() {
  TCustomControl::Loaded();
  SetPosition(FPosition);
}

void TFlatScrollbar::SetMin(int v) {
  if (v == FMin) return;
  FMin = v;
  FTrack->SetMin(v);
}

void TFlatScrollbar::SetMax(int v) {
  if (v == FMax) return;
  FMax = v;
  FTrack->SetMax(v);
}

void TFlatScrollbar::SetSmallChange(int v) {
  if (v == FSmallChange) return;
  FSmallChange = v;
  FTrack->SetSmallChange(v);
}

void TFlatScrollbar::SetLargeChange(int v) {
  if (v == FLargeChange) return;
  FLargeChange = v;
  FTrack->SetLargeChange(v);
}

void TFlatScrollbar::SetKind(TScrollBarKind v) {
  if (v == FKind) return;
  FKind = v;
  FTrack->SetKind(v);
  LoadGlyphs();
  PlaceParts();
}

void TFlatScrollbar::LoadGlyphs() {
  EnableArrow(FFirst, true, FFirst->GetEnabled());
  EnableArrow(FSecond, false, FSecond->GetEnabled());
}

void TFlatScrollbar::EnableArrow(TFlatScrollbarButton* button, bool first, bool enabled) {
  const std::unique_ptr<TBitmap> glyph = ThumbGlyph(FKind, first, enabled);
  button->SetGlyph(glyph.get());
  // A greyed arrow may never hear the release of a press it was holding.
  if (!enabled) button->StopRepeat();
  button->SetEnabled(enabled);
}

void TFlatScrollbar::PlaceParts() {
  const int w = GetWidth(), h = GetHeight(), n = kFlatThumbLength;
  if (FKind == sbVertical) {
    FFirst->SetBounds(0, 0, w, n);
    FSecond->SetBounds(0, h - n, w, n);
    FTrack->SetBounds(0, n, w, h - 2 * n);
  } else {
    FFirst->SetBounds(0, 0, n, h);
    FSecond->SetBounds(w - n, 0, n, h);
    FTrack->SetBounds(n, 0, w - 2 * n, h);
  }
  SetPosition(FPosition);
}

void TFlatScrollbar::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  PlaceParts();
}

void TFlatScrollbar::WMScroll(TMessage& m) {
  const int at = FTrack->GetPosition();
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: FTrack->SetPosition(Saturated(static_cast<long long>(at) - FSmallChange)); break;
    case SB_LINEDOWN: FTrack->SetPosition(Saturated(static_cast<long long>(at) + FSmallChange)); break;
    case SB_PAGEUP: FTrack->SetPosition(Saturated(static_cast<long long>(at) - FLargeChange)); break;
    case SB_PAGEDOWN: FTrack->SetPosition(Saturated(static_cast<long long>(at) + FLargeChange)); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: FTrack->SetPosition(static_cast<short>(HIWORD(m.WParam))); break;
    case SB_TOP: FTrack->SetPosition(FTrack->GetMin()); break;
    case SB_BOTTOM: FTrack->SetPosition(FTrack->GetMax()); break;
    default: break;
  }
  m.Result = 0;
}

void TFlatScrollbar::SBMSetPos(TMessage& m) { FTrack->SetPosition(static_cast<int>(m.WParam)); }

void TFlatScrollbar::SBMGetPos(TMessage& m) { m.Result = FTrack->GetPosition(); }

void TFlatScrollbar::SBMSetRange(TMessage& m) {
  FTrack->SetMin(static_cast<int>(m.WParam));
  FTrack->SetMax(static_cast<int>(m.LParam));
}

void TFlatScrollbar::SBMGetRange(TMessage& m) {
  // Either pointer may be left out by a caller that wants one end.
  if (auto* min = reinterpret_cast<int*>(m.WParam)) *min = FTrack->GetMin();
  if (auto* max = reinterpret_cast<int*>(m.LParam)) *max = FTrack->GetMax();
}

void TFlatScrollbar::SBMEnableArrows(TMessage& m) {
  const unsigned flags = static_cast<unsigned>(m.WParam);
  EnableArrow(FFirst, true, (flags & ESB_DISABLE_LTUP) == 0);
  EnableArrow(FSecond, false, (flags & ESB_DISABLE_RTDN) == 0);
  m.Result = 1;
}

void TFlatScrollbar::WMKeyDown(TMessage& m) {
  const int at = FTrack->GetPosition();
  long long by = 0;
  switch (static_cast<WORD>(m.WParam)) {
    case VK_PRIOR: by = -FLargeChange; break;
    case VK_NEXT: by = FLargeChange; break;
    case VK_LEFT: by = FKind == sbHorizontal ? -FSmallChange : 0; break;
    case VK_RIGHT: by = FKind == sbHorizontal ? FSmallChange : 0; break;
    case VK_UP: by = FKind == sbVertical ? -FSmallChange : 0; break;
    case VK_DOWN: by = FKind == sbVertical ? FSmallChange : 0; break;
    default: break;
  }
  if (by != 0) FTrack->SetPosition(Saturated(at + by));
  QORN_INHERITED(m);
}

void TFlatScrollbar::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

#define QORN_FLAT_COLOUR_SETTER(Name, Field, Target, Call) \
  void TFlatScrollbar::Set##Name(TColor v) {               \
    if (v == Field) return;                                \
    Field = v;                                             \
    Target([v](TFlatButton* b) { b->Call(v); });           \
  }
QORN_FLAT_COLOUR_SETTER(ButtonColor, FButtonColor, ToButtons, SetColor)
QORN_FLAT_COLOUR_SETTER(ButtonFocusedColor, FButtonFocusedColor, ToButtons, SetColorFocused)
QORN_FLAT_COLOUR_SETTER(ButtonDownColor, FButtonDownColor, ToButtons, SetColorDown)
QORN_FLAT_COLOUR_SETTER(ButtonBorderColor, FButtonBorderColor, ToButtons, SetColorBorder)
QORN_FLAT_COLOUR_SETTER(ButtonHighlightColor, FButtonHighlightColor, ToButtons, SetColorHighLight)
QORN_FLAT_COLOUR_SETTER(ButtonShadowColor, FButtonShadowColor, ToButtons, SetColorShadow)
QORN_FLAT_COLOUR_SETTER(ThumbColor, FThumbColor, ToThumb, SetColor)
QORN_FLAT_COLOUR_SETTER(ThumbFocusedColor, FThumbFocusedColor, ToThumb, SetColorFocused)
QORN_FLAT_COLOUR_SETTER(ThumbDownColor, FThumbDownColor, ToThumb, SetColorDown)
QORN_FLAT_COLOUR_SETTER(ThumbBorderColor, FThumbBorderColor, ToThumb, SetColorBorder)
QORN_FLAT_COLOUR_SETTER(ThumbHighlightColor, FThumbHighlightColor, ToThumb, SetColorHighLight)
QORN_FLAT_COLOUR_SETTER(ThumbShadowColor, FThumbShadowColor, ToThumb, SetColorShadow)
#undef QORN_FLAT_COLOUR_SETTER

void TFlatScrollbar::Publish(TPublisher<TFlatScrollbar>& p) {
  using T = TFlatScrollbar;
  p.Message(WM_SIZE, &T::WMSize);
  p.Message(WM_HSCROLL, &T::WMScroll);
  p.Message(WM_VSCROLL, &T::WMScroll);
  p.Message(SBM_SETPOS, &T::SBMSetPos);
  p.Message(SBM_GETPOS, &T::SBMGetPos);
  p.Message(SBM_SETRANGE, &T::SBMSetRange);
  p.Message(SBM_GETRANGE, &T::SBMGetRange);
  p.Message(SBM_ENABLE_ARROWS, &T::SBMEnableArrows);
  p.Message(WM_KEYDOWN, &T::WMKeyDown);
  p.Message(WM_GETDLGCODE, &T::WMGetDlgCode);
  p.Property(L"Kind", &T::GetKind, &T::SetKind).Default(sbVertical);
  p.Property(L"Min", &T::GetMin, &T::SetMin).Default(0);
  p.Property(L"Max", &T::GetMax, &T::SetMax).Default(100);
  p.Property(L"SmallChange", &T::GetSmallChange, &T::SetSmallChange).Default(1);
  p.Property(L"LargeChange", &T::GetLargeChange, &T::SetLargeChange).Default(1);
  p.Property(L"Position", &T::GetPosition, &T::SetPosition).Default(0);
  p.Property(L"Color", &T::GetColor, &T::SetColor)
      .Default(kFlatScrollColor)
      .Idents(ColorIdents)
      .Stored(&T::ColorStored);
  p.Property(L"ButtonColor", &T::GetButtonColor, &T::SetButtonColor).Idents(ColorIdents);
  p.Property(L"ButtonFocusedColor", &T::GetButtonFocusedColor, &T::SetButtonFocusedColor).Idents(ColorIdents);
  p.Property(L"ButtonDownColor", &T::GetButtonDownColor, &T::SetButtonDownColor).Idents(ColorIdents);
  p.Property(L"ButtonBorderColor", &T::GetButtonBorderColor, &T::SetButtonBorderColor).Idents(ColorIdents);
  p.Property(L"ButtonHighlightColor", &T::GetButtonHighlightColor, &T::SetButtonHighlightColor).Idents(ColorIdents);
  p.Property(L"ButtonShadowColor", &T::GetButtonShadowColor, &T::SetButtonShadowColor).Idents(ColorIdents);
  p.Property(L"ThumbColor", &T::GetThumbColor, &T::SetThumbColor).Idents(ColorIdents);
  p.Property(L"ThumbFocusedColor", &T::GetThumbFocusedColor, &T::SetThumbFocusedColor).Idents(ColorIdents);
  p.Property(L"ThumbDownColor", &T::GetThumbDownColor, &T::SetThumbDownColor).Idents(ColorIdents);
  p.Property(L"ThumbBorderColor", &T::GetThumbBorderColor, &T::SetThumbBorderColor).Idents(ColorIdents);
  p.Property(L"ThumbHighlightColor", &T::GetThumbHighlightColor, &T::SetThumbHighlightColor).Idents(ColorIdents);
  p.Property(L"ThumbShadowColor", &T::GetThumbShadowColor, &T::SetThumbShadowColor).Idents(ColorIdents);
  p.Property(L"OnScroll", &T::OnScroll);
}

}  // namespace Flat
