#include "controls/extended/VyTrkBar.h"

#include "vcl/ScopeGuards.h"
#include "vcl/Themes.h"

#include <cmath>

namespace Vy {

namespace {
constexpr unsigned kFirstRepeatMs = 200;
constexpr unsigned kRepeatMs = 100;

bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }
}  // namespace

std::vector<std::pair<TColor, TColor>> ThumbColorMap(TColor highlight, TColor hotTrack, TVyHotTrackColorType hotType) {
  TColor a, b, c;
  if (hotType == TVyHotTrackColorType::htctActual) {
    a = LightenColor(hotTrack, 30);
    b = DarkenColor(hotTrack, 30);
    c = ColorToRGB(hotTrack);
  } else {
    const int hue = HueOfColor(hotTrack);
    a = HueSatLumToColor(hue >= 120 ? hue - 120 : hue + 120, 220, 180);
    b = DarkenColor(a, 30);
    c = DarkenColor(a, 15);
  }
  const TColor shadow = ColorToRGB(clBtnShadow);
  return {
      {TColor(0xC0C0C0), ColorToRGB(clBtnFace)},
      {TColor(0x808080), shadow},
      {TColor(0x008080), ColorToRGB(cl3DDkShadow)},
      {TColor(0x00FFFF), ColorToRGB(cl3DLight)},
      {TColor(0x008000), LightenColor(shadow, 30)},
      {TColor(0xFF0000), TColor(ColorToRGB(highlight) + 1)},
      {TColor(0x800000), DarkenColor(highlight, 30)},
      {TColor(0xFFFF00), LightenColor(highlight, 30)},
      {TColor(0x0000FF), c},
      {TColor(0x000080), b},
      {TColor(0xFF00FF), a},
      {TColor(0x808000), shadow},
      {TColor(0x800080), DarkenColor(shadow, 30)},
      {TColor(0x00FF00), LightenColor(shadow, 30)},
  };
}

TVyTrackBar::TVyTrackBar(TComponent* AOwner)
    : TCustomControl(AOwner),
      FCustomThumb(new TBitmap),
      FImgNormal(new TBitmap),
      FImgHot(new TBitmap),
      FImgMask(new TBitmap),
      FImgDisabled(new TBitmap),
      FBackBitmap(new TBitmap),
      FAutoRepeatTimer(new TTimer(nullptr)) {
  ControlStyle << csCaptureMouse << csOpaque;
  SetParentColor(true);
  SetTabStop(true);
  SetBounds(0, 0, 200, 35);
  FAutoRepeatTimer->SetEnabled(false);
  FAutoRepeatTimer->SetInterval(kFirstRepeatMs);
  FAutoRepeatTimer->OnTimer = TNotifyEvent(this, &TVyTrackBar::RepeatTick);
  FCustomThumb->OnChange = TNotifyEvent(this, &TVyTrackBar::CustomThumbChanged);
  HINSTANCE program = GetModuleHandleW(nullptr);
  FHorzCursor = LoadCursorW(program, L"VYTRKBAR_H_CURSOR");
  FVertCursor = LoadCursorW(program, L"VYTRKBAR_V_CURSOR");
  BuildThumbImages();
}

TVyTrackBar::~TVyTrackBar() { FCustomThumb->OnChange = nullptr; }

void TVyTrackBar::Publish(TPublisher<TVyTrackBar>& p) {
  using T = TVyTrackBar;
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(WM_GETDLGCODE, &T::WMGetDlgCode);
  p.Message(WM_SETCURSOR, &T::WMSetCursor);
  p.Message(WM_SETFOCUS, &T::WMFocusChanged);
  p.Message(WM_KILLFOCUS, &T::WMFocusChanged);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_ENABLEDCHANGED, &T::CMBackgroundChanged);
  p.Message(CM_PARENTCOLORCHANGED, &T::CMBackgroundChanged);
  p.Message(CM_COLORCHANGED, &T::CMBackgroundChanged);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Default(clWindow).Idents(ColorIdents);
  p.Property(L"ParentColor", &T::GetParentColor, &T::SetParentColor).Default(true);
  p.Property(L"TabStop", &T::GetTabStop, &T::SetTabStop).Default(true);
  p.Property(L"TabOrder", &T::GetTabOrder, &T::SetTabOrder);
  p.Property(L"Min", &T::GetMin, &T::SetMin).Default(0);
  p.Property(L"Max", &T::GetMax, &T::SetMax).Default(10);
  p.Property(L"Position", &T::GetPosition, &T::SetPosition);
  p.Property(L"PageSize", &T::GetPageSize, &T::SetPageSize).Default(1u);
  p.Property(L"Orientation", &T::GetOrientation, &T::SetOrientation).Default(orHorizontal);
  p.Property(L"ThumbStyle", &T::GetThumbStyle, &T::SetThumbStyle).Default(tsPointer);
  p.Property(L"PointerType", &T::GetPointerType, &T::SetPointerType).Default(ptStandard);
  p.Property(L"CustomThumb", &T::GetCustomThumb, &T::SetCustomThumb);
  p.Property(L"HighlightColor", &T::GetHighlightColor, &T::SetHighlightColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"HotTrackColor", &T::GetHotTrackColor, &T::SetHotTrackColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"HotTrackColorType", &T::GetHotTrackColorType, &T::SetHotTrackColorType)
      .Default(TVyHotTrackColorType::htctComplement);
  p.Property(L"ShowTicks", &T::GetShowTicks, &T::SetShowTicks).Default(true);
  p.Property(L"TickColor", &T::GetTickColor, &T::SetTickColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"TickStep", &T::GetTickStep, &T::SetTickStep).Default(1);
  p.Property(L"TickStyle", &T::GetTickStyle, &T::SetTickStyle).Default(tkStandard);
  p.Property(L"TrackColor", &T::GetTrackColor, &T::SetTrackColor).Default(cl3DLight).Idents(ColorIdents);
  p.Property(L"TrackOffset", &T::GetTrackOffset, &T::SetTrackOffset).Default(20u);
  p.Property(L"TrackFrame", &T::GetTrackFrame, &T::SetTrackFrame).Default(fsStatus);
  p.Property(L"TrackFrameColor", &T::GetTrackFrameColor, &T::SetTrackFrameColor)
      .Default(clBtnShadow)
      .Idents(ColorIdents);
  p.Property(L"TrackWidth", &T::GetTrackWidth, &T::SetTrackWidth).Default(8u);
  p.Property(L"Transparent", &T::GetTransparent, &T::SetTransparent).Default(false);
  p.Property(L"ShowFocusRect", &T::GetShowFocusRect, &T::SetShowFocusRect).Default(true);
  p.Property(L"TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  p.Property(L"OnChange", &T::OnChange);
  p.Property(L"OnChanging", &T::OnChanging);
  p.Property(L"OnDrawTick", &T::OnDrawTick);
}

// --- range and position

void TVyTrackBar::SetMin(int v) {
  if (FMin == v) return;
  FMin = v;
  if (Loading()) return;  // Loaded repairs the range once every value is in
  if (FMin >= FMax) FMin = FMax - 1;
  if (FPosition < FMin) SetPosition(FMin);
  FBackgroundStale = true;
  Invalidate();
}

void TVyTrackBar::SetMax(int v) {
  if (FMax == v) return;
  FMax = v;
  if (Loading()) return;
  if (FMin >= FMax) FMax = FMin + 1;
  if (FPosition > FMax) SetPosition(FMax);
  FBackgroundStale = true;
  Invalidate();
}

void TVyTrackBar::SetRange(int min, int max) {
  FMin = min;
  FMax = max > min ? max : min + 1;
  FBackgroundStale = true;
  Invalidate();
  SetPosition(std::clamp(FPosition, FMin, FMax));
}

void TVyTrackBar::Loaded() {
  TCustomControl::Loaded();
  if (FMin >= FMax) FMax = FMin + 1;
  FPosition = std::clamp(FPosition, FMin, FMax);
  FBackgroundStale = true;
  BuildThumbImages();
}

void TVyTrackBar::SetPosition(int v) {
  if (Loading()) {
    FPosition = v;
    return;
  }
  v = std::clamp(v, FMin, FMax);
  if (v == FPosition) return;
  if (!CanChangePosition(v)) return;
  FPosition = v;
  RedrawThumb();
  FireChange();
}

void TVyTrackBar::MoveBy(int delta) {
  const int target = std::clamp(FPosition + delta, FMin, FMax);
  if (AcceptsPosition(target)) SetPosition(target);
}

// --- looks

void TVyTrackBar::SetOrientation(TOrientation v) {
  if (FOrientation == v) return;
  FOrientation = v;
  FBackgroundStale = true;
  BuildThumbImages();
  Invalidate();
}

void TVyTrackBar::SetThumbStyle(TThumbStyle v) {
  if (FThumbStyle == v) return;
  FThumbStyle = v;
  if (!Loading()) FTrackWidth = v == tsMixer || v == tsFlat ? 6 : 8;
  FBackgroundStale = true;
  BuildThumbImages();
  Invalidate();
}

void TVyTrackBar::SetPointerType(TPointerType v) {
  if (FPointerType == v) return;
  FPointerType = v;
  FBackgroundStale = true;
  BuildThumbImages();
  Invalidate();
}

void TVyTrackBar::SetHighlightColor(TColor v) {
  if (FHighlightColor == v) return;
  FHighlightColor = v;
  BuildThumbImages();
  Invalidate();
}

void TVyTrackBar::SetHotTrackColor(TColor v) {
  if (FHotTrackColor == v) return;
  FHotTrackColor = v;
  BuildThumbImages();
  Invalidate();
}

void TVyTrackBar::SetHotTrackColorType(TVyHotTrackColorType v) {
  if (FHotTrackColorType == v) return;
  FHotTrackColorType = v;
  BuildThumbImages();
  Invalidate();
}

void TVyTrackBar::CustomThumbChanged(TObject*) {
  FThumbStyle = tsCustom;
  BuildThumbImages();
  FBackgroundStale = true;
  Invalidate();
}

TThumbStyle TVyTrackBar::EffectiveThumbStyle() const {
  if (ThemeServices().ThemesEnabled()) {
    if (FThumbStyle == tsBox) return tsXPBox;
    if (FThumbStyle == tsPointer) return tsXPPointer;
  }
  return FThumbStyle;
}

void TVyTrackBar::BuildThumbImages() {
  const TThumbStyle style = EffectiveThumbStyle();
  if (style == tsCustom) {
    const int w = FCustomThumb->GetWidth() / 3, h = FCustomThumb->GetHeight();
    if (w <= 0 || h <= 0) return;
    auto cut = [&](TBitmap& part, int index) {
      part.SetSize(w, h);
      part.GetCanvas()->CopyRect(Rect(0, 0, w, h), FCustomThumb->GetCanvas(), Bounds(index * w, 0, w, h));
    };
    cut(*FImgNormal, 0);
    cut(*FImgHot, 0);
    cut(*FImgMask, 1);
    cut(*FImgDisabled, 2);
    return;
  }
  const bool vertical = FOrientation == orVertical;
  std::wstring name;
  switch (style) {
    case tsBox: name = vertical ? L"VYTRKBAR_V_BOX" : L"VYTRKBAR_H_BOX"; break;
    case tsMixer: name = vertical ? L"VYTRKBAR_V_MIXER" : L"VYTRKBAR_H_MIXER"; break;
    case tsFlat: name = vertical ? L"VYTRKBAR_V_FLAT" : L"VYTRKBAR_H_FLAT"; break;
    case tsXPPointer: name = vertical ? L"VYTRKBAR_V_XPPTR" : L"VYTRKBAR_H_XPPTR"; break;
    case tsXPBox: name = vertical ? L"VYTRKBAR_V_XPBOX" : L"VYTRKBAR_H_XPBOX"; break;
    default: name = vertical ? L"VYTRKBAR_V_PTR" : FPointerType == ptWin95 ? L"VYTRKBAR_WIN95" : L"VYTRKBAR_H_PTR";
  }
  const bool recoloured = style != tsXPPointer && style != tsXPBox;
  const auto map = ThumbColorMap(FHighlightColor, FHotTrackColor, FHotTrackColorType);
  auto load = [&](TBitmap& image, const std::wstring& resource, bool mapped) {
    if (mapped) image.LoadMappedFromResourceName(nullptr, resource, map);
    else image.LoadFromResourceName(nullptr, resource);
  };
  load(*FImgNormal, name, recoloured);
  load(*FImgHot, name + L"_HOT", recoloured);
  load(*FImgDisabled, name + L"_DISABLED", recoloured);
  load(*FImgMask, name + L"_MASK", false);
}

TTrackLayout TVyTrackBar::Layout() const {
  TTrackLayout l;
  l.Width = GetWidth();
  l.Height = GetHeight();
  l.Vertical = FOrientation == orVertical;
  const int w = FImgNormal->GetWidth(), h = FImgNormal->GetHeight();
  l.ThumbLength = l.Vertical ? h : w;
  l.ThumbThickness = l.Vertical ? w : h;
  const TThumbStyle style = EffectiveThumbStyle();
  const bool pointer = style == tsPointer || style == tsXPPointer;
  l.ThumbShift = pointer && !(FPointerType == ptWin95 && !l.Vertical && style == tsPointer) ? 2 : 0;
  l.TrackOffset = int(FTrackOffset);
  l.TrackWidth = int(FTrackWidth);
  l.Min = FMin;
  l.Max = FMax;
  return l;
}

// --- painting

void TVyTrackBar::PaintTrack(TCanvas* canvas) {
  const TRect track = TrackRect();
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(GetEnabled() ? FTrackColor : clBtnFace);
  canvas->FillRect(track);
  if (FTrackFrame == fsFlat) PaintSides(canvas, track, FTrackFrameColor, AllSides, FTrackFrameColor);
  else PaintFrame(canvas, track, FTrackFrame);
}

void TVyTrackBar::PaintTicks(TCanvas* canvas) {
  const TTrackLayout l = Layout();
  const int m = TTrackLayout::EndMargin, w = GetWidth(), h = GetHeight();
  const TThumbStyle style = EffectiveThumbStyle();
  const bool pointer = style == tsPointer || style == tsXPPointer;
  const bool win95 = style == tsPointer && FPointerType == ptWin95;
  canvas->GetPen()->SetColor(FTickColor);
  canvas->GetPen()->SetStyle(psSolid);
  for (const TTickMark& t : TickMarks(l, FTickStep)) {
    if (FTickStyle == tkOwnerDraw) {
      FireDrawTick(canvas, l.Vertical ? TPoint{0, t.Offset} : TPoint{t.Offset, 0}, t.Value);
      continue;
    }
    if (!l.Vertical) {
      if (!win95) {
        canvas->MoveTo(t.Offset, m);
        canvas->LineTo(t.Offset, 10);
      }
      if (!pointer || win95) {
        canvas->MoveTo(t.Offset, h - 10);
        canvas->LineTo(t.Offset, h - m);
      }
    } else {
      canvas->MoveTo(m, t.Offset);
      canvas->LineTo(10, t.Offset);
      if (!pointer) {
        canvas->MoveTo(w - 10, t.Offset);
        canvas->LineTo(w - m, t.Offset);
      }
    }
  }
}

void TVyTrackBar::BuildBackground() {
  FBackBitmap->SetSize(GetWidth(), GetHeight());
  TCanvas* canvas = FBackBitmap->GetCanvas();
  if (FTransparent) {
    PaintParentBackground(this, canvas->GetHandle(), false);
  } else {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(GetColor());
    canvas->FillRect(Rect(0, 0, GetWidth(), GetHeight()));
  }
  PaintTrack(canvas);
  if (FShowTicks) PaintTicks(canvas);
  FBackgroundStale = false;
}

void TVyTrackBar::PaintThumb(TCanvas* canvas) {
  const TRect thumb = ThumbRect();
  const TRect old = FThumbRect;
  FThumbRect = thumb;
  // What the thumb leaves behind shows the background again.
  if (old.Width() > 0 && old != thumb) canvas->CopyRect(old, FBackBitmap->GetCanvas(), old);
  TBitmap* image = !GetEnabled() ? FImgDisabled.get() : FThumbHot ? FImgHot.get() : FImgNormal.get();
  const int w = thumb.Width(), h = thumb.Height();
  if (w <= 0 || h <= 0 || image->Empty()) return;
  TBitmap composed(w, h);
  TCanvas* c = composed.GetCanvas();
  c->CopyRect(Rect(0, 0, w, h), FBackBitmap->GetCanvas(), thumb);
  c->SetCopyMode(cmSrcAnd);
  c->CopyRect(Rect(0, 0, w, h), FImgMask->GetCanvas(), Rect(0, 0, w, h));
  c->SetCopyMode(cmSrcPaint);
  c->CopyRect(Rect(0, 0, w, h), image->GetCanvas(), Rect(0, 0, w, h));
  c->SetCopyMode(cmSrcCopy);
  canvas->CopyRect(thumb, c, Rect(0, 0, w, h));
}

void TVyTrackBar::Paint() {
  FPainting = true;
  const TOnExit painted([this] { FPainting = false; });
  if (FBackgroundStale || FBackBitmap->GetWidth() != GetWidth() || FBackBitmap->GetHeight() != GetHeight())
    BuildBackground();
  TCanvas* canvas = GetCanvas();
  const TRect all = Rect(0, 0, GetWidth(), GetHeight());
  canvas->CopyRect(all, FBackBitmap->GetCanvas(), all);
  if (Focused() && FShowFocusRect) PaintFocusRect(canvas, all);
  FThumbRect = TRect{};
  PaintThumb(canvas);
}

void TVyTrackBar::RedrawThumb() {
  if (!HandleAllocated()) return;
  if (FBackgroundStale || FPainting) {
    Invalidate();
    return;
  }
  PaintThumb(GetCanvas());
}

void TVyTrackBar::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TVyTrackBar::CMBackgroundChanged(TMessage& m) {
  QORN_INHERITED(m);
  FBackgroundStale = true;
  Invalidate();
}

void TVyTrackBar::BoundsChanged() {
  TCustomControl::BoundsChanged();
  FBackgroundStale = true;
  SetOrientation(GetHeight() > GetWidth() ? orVertical : orHorizontal);
}

void TVyTrackBar::WMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  Repaint();
}

// --- mouse

void TVyTrackBar::EndPaging() {
  FAutoRepeatTimer->SetEnabled(false);
  FAutoRepeatTimer->SetInterval(kFirstRepeatMs);
  FPaging = false;
}

void TVyTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (CanFocus() && !Focused()) SetFocus();
  if (button != mbLeft) return;
  const TRect thumb = ThumbRect();
  if (Inside(thumb, x, y)) {
    EndPaging();
    SetMouseCapture(true);
    FDragActive = true;
    FGrabOffset = {x - (thumb.Left + thumb.Width() / 2), y - (thumb.Top + thumb.Height() / 2)};
    return;
  }
  if (!Inside(TrackRect(), x, y)) return;
  if (!FAutoRepeatTimer->GetEnabled()) FAutoRepeatTimer->SetEnabled(true);
  FPageClickPoint = {x, y};
  const bool up = PagesUp(Layout(), FPosition, x, y);
  if (!FPaging) {
    FPaging = true;
    FPageUp = up;
  }
  if (up != FPageUp) {
    // The thumb has passed the held point.
    EndPaging();
    return;
  }
  MoveBy(up ? int(FPageSize) : -int(FPageSize));
}

void TVyTrackBar::RepeatTick(TObject*) {
  FAutoRepeatTimer->SetInterval(kRepeatMs);
  if (!GetMouseCapture()) return;
  TOnFailure stopped([this] { EndPaging(); });
  MouseDown(mbLeft, {}, FPageClickPoint.X, FPageClickPoint.Y);
}

void TVyTrackBar::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (!FDragActive) {
    const bool hot = Inside(ThumbRect(), x, y);
    if (hot == FThumbHot) return;
    FThumbHot = hot;
    RedrawThumb();
    return;
  }
  if (const auto pos = DragPosition(Layout(), x, y, FGrabOffset.X, FGrabOffset.Y))
    if (AcceptsPosition(*pos)) SetPosition(*pos);
}

void TVyTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  EndPaging();
  if (FDragActive && button == mbLeft) {
    FDragActive = false;
    SetMouseCapture(false);
    FThumbHot = false;
    RedrawThumb();
  }
}

void TVyTrackBar::WMSetCursor(TMessage& m) {
  POINT p{};
  GetCursorPos(&p);
  const TPoint at = ScreenToClient(TPoint{p.x, p.y});
  HCURSOR cursor = FOrientation == orVertical ? FVertCursor : FHorzCursor;
  if (cursor && LOWORD(m.LParam) == HTCLIENT && Inside(ThumbRect(), at.X, at.Y)) {
    ::SetCursor(cursor);
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

void TVyTrackBar::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  if (FDragActive || !FThumbHot) return;
  FThumbHot = false;
  RedrawThumb();
}

// --- keys

void TVyTrackBar::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

void TVyTrackBar::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const bool vertical = FOrientation == orVertical;
  switch (key) {
    case VK_PRIOR: MoveBy(int(FPageSize)); break;
    case VK_NEXT: MoveBy(-int(FPageSize)); break;
    case VK_END: MoveBy((vertical ? FMin : FMax) - FPosition); break;
    case VK_HOME: MoveBy((vertical ? FMax : FMin) - FPosition); break;
    case VK_LEFT:
    case VK_DOWN:
    case VK_SUBTRACT:
      if (FPosition > FMin) MoveBy(-1);
      break;
    case VK_UP:
    case VK_RIGHT:
    case VK_ADD:
      if (FPosition < FMax) MoveBy(1);
      break;
    default: break;
  }
}

void TVyTrackBar::KeyPress(wchar_t& key) {
  TCustomControl::KeyPress(key);
  if (FTabOnEnter && key == L'\r') {
    key = 0;
    if (HandleAllocated()) PostMessageW(WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
  }
}

}  // namespace Vy
