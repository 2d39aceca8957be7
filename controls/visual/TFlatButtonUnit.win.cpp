#include "controls/visual/TFlatButtonUnit.h"

#include <algorithm>

#include "vcl/Canvas.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

namespace Flat {

void TFlatButtonLook::Recompute() {
  if (!UseAdvColors) return;
  ColorFocused = AdjustColorLightness(Color, ColorFocused, AdvColorFocused, TColorCalcType::Lighten);
  ColorDown = AdjustColorLightness(Color, ColorDown, AdvColorDown, TColorCalcType::Darken);
  ColorBorder = AdjustColorLightness(Color, ColorBorder, AdvColorBorder, TColorCalcType::Darken);
}

// Cells of a strip by NumGlyphs and state (up, disabled, down, exclusive);
// -1 is the whole strip.
int FlatGlyphCell(int numGlyphs, TButtonState state) {
  static const int cells[4][4] = {{-1, -1, -1, -1}, {0, 1, 0, 0}, {0, 1, 2, 2}, {0, 1, 2, 3}};
  const int n = std::clamp(numGlyphs, 1, 4);
  return cells[n - 1][static_cast<int>(state)];
}

int NumGlyphsOfStrip(const TBitmap* glyph, int current) {
  if (!glyph || glyph->Empty() || glyph->GetWidth() % glyph->GetHeight() != 0) return current;
  const int n = glyph->GetWidth() / glyph->GetHeight();
  return n > 4 ? 1 : n;
}

static TColor FaceFill(const TFlatButtonLook& look, const TFlatButtonFace& face) {
  switch (face.State) {
    case bsUp: return face.MouseOver ? look.ColorFocused : look.Color;
    case bsDisabled: return look.Color;
    case bsDown: return look.ColorDown;
    case bsExclusive: return face.MouseOver ? look.ColorFocused : look.ColorDown;
  }
  return look.Color;
}

static void DrawGlyph(TCanvas* canvas, const TFlatButtonFace& face, TPoint at) {
  TBitmap* glyph = face.Glyph;
  // An empty strip has no cell and no transparent pixel to read.
  if (!glyph || glyph->Empty()) return;
  const int cells = std::clamp(face.NumGlyphs, 1, 4);
  const int cell = FlatGlyphCell(cells, face.State);
  const int w = cell < 0 ? glyph->GetWidth() : glyph->GetWidth() / cells;
  const int h = glyph->GetHeight();
  if (w <= 0) return;
  auto picture = std::make_unique<TBitmap>(w, h, pf24bit);
  const int left = cell < 0 ? 0 : w * cell;
  BitBlt(picture->GetCanvas()->GetHandle(), 0, 0, w, h, glyph->GetCanvas()->GetHandle(), left, 0, SRCCOPY);
  if (cells == 1 && face.State == bsDisabled) {
    picture = CreateDisabledGlyph(picture.get(), clBlack, clBtnFace, clBtnHighlight, clBtnShadow, true);
    if (!picture || picture->Empty()) return;
  }
  const TColor transparent = picture->GetPixel(0, picture->GetHeight() - 1);
  TransparentBlt(canvas->GetHandle(), at.X, at.Y, picture->GetWidth(), picture->GetHeight(),
                 picture->GetCanvas()->GetHandle(), 0, 0, picture->GetWidth(), picture->GetHeight(),
                 ColorToRGB(transparent));
}

void PaintFlatButtonFace(TCanvas* canvas, const TRect& client, const TFlatButtonLook& look,
                         const TFlatButtonFace& face, TControl* parentBehind) {
  const bool pressed = face.State == bsDown || face.State == bsExclusive;
  const TGlyphAndCaption place =
      LayoutGlyphAndCaption(canvas, client, pressed ? TPoint{1, 1} : TPoint{0, 0}, face.Caption, face.Glyph,
                            face.NumGlyphs, face.Margin, face.Spacing, face.Layout);

  const bool fill = face.Mode == tmNone || (face.Mode == tmNotFocused && face.MouseOver);
  if (fill) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(face.Mode == tmNone ? FaceFill(look, face)
                                 : face.State == bsDown ? look.ColorDown
                                 : face.State == bsDisabled ? look.Color
                                                            : look.ColorFocused);
    canvas->FillRect(client);
  } else if (parentBehind) {
    PaintParentBehind(parentBehind, canvas);
  }

  if (face.State == bsUp && face.MouseOver)
    DrawFrame3D(canvas, client, look.ColorHighLight, look.ColorShadow, 1);
  else if (face.State == bsUp)
    DrawFrame3D(canvas, client, look.ColorBorder, look.ColorBorder, face.IdleFrameWidth);
  else if (face.State == bsDisabled)
    DrawFrame3D(canvas, client, look.ColorBorder, look.ColorBorder, 1);
  else
    DrawFrame3D(canvas, client, look.ColorShadow, look.ColorHighLight, 1);

  DrawGlyph(canvas, face, place.GlyphPos);

  canvas->GetBrush()->SetStyle(bsClear);
  const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
  TRect text = place.TextRect;
  if (face.State == bsDisabled) {
    const TColor own = canvas->GetFont()->GetColor();
    TRect moved{text.Left + 1, text.Top + 1, text.Right + 1, text.Bottom + 1};
    canvas->GetFont()->SetColor(clBtnHighlight);
    canvas->DrawText(face.Caption, moved, flags);
    canvas->GetFont()->SetColor(clBtnShadow);
    canvas->DrawText(face.Caption, text, flags);
    canvas->GetFont()->SetColor(own);
  } else {
    canvas->DrawText(face.Caption, text, flags);
  }
}

// ---- TFlatButton ----

THoverTimer& TFlatButton::ClassHoverTimer() {
  static THoverTimer timer;
  return timer;
}

TFlatButton::TFlatButton(TComponent* AOwner) : TCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  ControlStyle = TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks};
  SetBounds(0, 0, 25, 25);
  SetColor(kFlatButtonColor);
  SetParentFont(true);
  SetParentColor(true);
  SetTabStop(true);
  ClassHoverTimer().AddInstance();
}

TFlatButton::~TFlatButton() { ClassHoverTimer().RemoveInstance(this); }

void TFlatButton::Loaded() {
  TCustomControl::Loaded();
  Invalidate();
}

void TFlatButton::SetTransparentMode(TTransparentMode v) {
  FFace.Mode = v;
  Invalidate();
}

void TFlatButton::SetDefault(bool v) {
  FDefault = v;
  if (HandleAllocated()) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->GetActiveControl()));
    }
  }
  Invalidate();
}

void TFlatButton::SetAllowAllUp(bool v) {
  if (v == FAllowAllUp) return;
  FAllowAllUp = v;
  BroadcastDown();
}

void TFlatButton::SetGroupIndex(int v) {
  if (v == FGroupIndex) return;
  FGroupIndex = v;
  BroadcastDown();
}

void TFlatButton::BroadcastDown() {
  TWinControl* parent = GetParent();
  if (FGroupIndex == 0 || !parent) return;
  TMessage m{};
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = static_cast<WPARAM>(FGroupIndex);
  m.LParam = reinterpret_cast<LPARAM>(static_cast<TControl*>(this));
  parent->Broadcast(m);
}

void TFlatButton::SetDown(bool v) {
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = v;
  if (v) {
    if (FFace.State == bsUp) Invalidate();
    FFace.State = bsExclusive;
    BroadcastDown();
  } else {
    FFace.State = bsUp;
    Repaint();
  }
}

void TFlatButton::CMButtonPressed(TMessage& m) {
  auto* sender = dynamic_cast<TFlatButton*>(reinterpret_cast<TControl*>(m.LParam));
  if (static_cast<int>(m.WParam) != FGroupIndex || !sender || sender == this) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FFace.State = bsUp;
    Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

void TFlatButton::SetGlyph(TBitmap* v) {
  if (v == FGlyph.get()) return;
  if (v) {
    FGlyph->Assign(v);
  } else {
    FGlyph = std::make_unique<TBitmap>();
  }
  FFace.NumGlyphs = NumGlyphsOfStrip(FGlyph.get(), FFace.NumGlyphs);
  Invalidate();
}

void TFlatButton::SetLayout(TButtonLayout v) {
  if (v == FFace.Layout) return;
  FFace.Layout = v;
  Invalidate();
}
void TFlatButton::SetMargin(int v) {
  if (v < -1 || v == FFace.Margin) return;
  FFace.Margin = v;
  Invalidate();
}
void TFlatButton::SetNumGlyphs(int v) {
  v = std::clamp(v, 1, 4);
  if (v == FFace.NumGlyphs) return;
  FFace.NumGlyphs = v;
  Invalidate();
}
void TFlatButton::SetSpacing(int v) {
  if (v == FFace.Spacing) return;
  FFace.Spacing = v;
  Invalidate();
}

void TFlatButton::SetColorFocused(TColor v) {
  FLook.ColorFocused = v;
  Invalidate();
}
void TFlatButton::SetColorDown(TColor v) {
  FLook.ColorDown = v;
  Invalidate();
}
void TFlatButton::SetColorBorder(TColor v) {
  FLook.ColorBorder = v;
  Invalidate();
}
void TFlatButton::SetColorHighLight(TColor v) {
  FLook.ColorHighLight = v;
  Invalidate();
}
void TFlatButton::SetColorShadow(TColor v) {
  FLook.ColorShadow = v;
  Invalidate();
}
void TFlatButton::SetAdvColorFocused(TAdvColors v) {
  FLook.AdvColorFocused = std::min(v, kMaxAdvColors);
  FLook.Color = GetColor();
  FLook.Recompute();
  Invalidate();
}
void TFlatButton::SetAdvColorDown(TAdvColors v) {
  FLook.AdvColorDown = std::min(v, kMaxAdvColors);
  FLook.Color = GetColor();
  FLook.Recompute();
  Invalidate();
}
void TFlatButton::SetAdvColorBorder(TAdvColors v) {
  FLook.AdvColorBorder = std::min(v, kMaxAdvColors);
  FLook.Color = GetColor();
  FLook.Recompute();
  Invalidate();
}
void TFlatButton::SetUseAdvColors(bool v) {
  if (v == FLook.UseAdvColors) return;
  FLook.UseAdvColors = v;
  SetParentColor(v);
  FLook.Color = GetColor();
  FLook.Recompute();
  Invalidate();
}

void TFlatButton::Click() {
  if (GetParent()) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  }
  TCustomControl::Click();
}

bool TFlatButton::Inside(int x, int y) const {
  return x >= 0 && x < GetClientWidth() && y >= 0 && y <= GetClientHeight();
}

void TFlatButton::Paint() {
  const TRect client = GetClientRect();
  if (GetEnabled() && FFace.State == bsDisabled) {
    FFace.State = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  } else if (!GetEnabled()) {
    FFace.State = bsDisabled;
    FDragActive = false;
  }
  FLook.Color = GetColor();
  FFace.IdleFrameWidth = FDefault ? 2 : 1;
  FFace.Glyph = FGlyph.get();
  FFace.Caption = GetCaption();
  TCanvas* c = FBuffer.Begin(GetCanvas()->GetHandle(), client);
  c->SetFont(GetFont());
  PaintFlatButtonFace(c, client, FLook, FFace, this);
  FBuffer.End();
}

// ---- hover ----

void TFlatButton::HoverEnter() {
  if (!GetEnabled() || FFace.MouseOver) return;
  FFace.MouseOver = true;
  Invalidate();
}

void TFlatButton::HoverLeave() {
  // While the button is held the hot look stays until the release.
  if (FDragActive) return;
  if (FFace.MouseOver) {
    FFace.MouseOver = false;
    Invalidate();
  }
  ClassHoverTimer().Stop(this);
}

void TFlatButton::UpdateTracking() {
  if (!GetEnabled()) return;
  const bool here = ControlUnderCursor() == this;
  // Start from the opposite state so that the transition always happens.
  FFace.MouseOver = !here;
  if (here) {
    FFace.MouseOver = false;
    ClassHoverTimer().Watch(this, [this] {
      if (ControlUnderCursor() != this) HoverLeave();
    });
    HoverEnter();
  } else {
    HoverLeave();
  }
}

void TFlatButton::MouseMove(TShiftState shift, int x, int y) {
  TCustomControl::MouseMove(shift, x, y);
  if (FDragActive) {
    TButtonState next = FDown ? bsExclusive : bsUp;
    if (Inside(x, y)) next = FDown ? bsExclusive : bsDown;
    if (next != FFace.State) {
      FFace.State = next;
      Invalidate();
    }
  }
  THoverTimer& hover = ClassHoverTimer();
  if (ControlUnderPoint(ClientToScreen({x, y})) != this || hover.Watched() == this) return;
  if (auto* old = dynamic_cast<TFlatButton*>(hover.Watched())) old->HoverLeave();
  hover.Watch(this, [this] {
    if (ControlUnderCursor() != this) HoverLeave();
  });
  HoverEnter();
}

void TFlatButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  // The second press of a double click is OnDblClick's: its release clicks nothing.
  if (shift.Contains(ssDouble)) return;
  if (!FDown) {
    FFace.State = bsDown;
    Invalidate();
  }
  FDragActive = true;
  if (CanFocus()) SetFocus();
}

void TFlatButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft || !FDragActive) return;
  FDragActive = false;
  const bool inside = Inside(x, y);
  if (FGroupIndex == 0) {
    FFace.State = bsUp;
    FFace.MouseOver = false;
    if (inside) Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) Repaint();
  } else {
    if (FDown) FFace.State = bsExclusive;
    Repaint();
  }
  if (inside)
    Click();
  else
    HoverLeave();
  UpdateTracking();
}

void TFlatButton::WMLButtonDblClk(TMessage& m) {
  QORN_INHERITED(m);
  if (FDown) DblClick();
}

// ---- messages ----

void TFlatButton::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (!GetEnabled()) {
    FFace.MouseOver = false;
    FFace.State = bsDisabled;
    FDragActive = false;
    FSpacePressed = false;
    ClassHoverTimer().Stop(this);
  }
  UpdateTracking();
  Invalidate();
}

void TFlatButton::CMDialogChar(TMessage& m) {
  const auto key = static_cast<wchar_t>(m.WParam);
  if (IsAccel(key, GetCaption()) && GetEnabled()) {
    if (FGroupIndex != 0) SetDown(true);
    Click();
    m.Result = 1;
  }
}

void TFlatButton::CMFontOrTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TFlatButton::CMSysColorChange(TMessage& m) {
  (void)m;
  if (FLook.UseAdvColors) {
    SetParentColor(true);
    FLook.Color = GetColor();
    FLook.Recompute();
  }
  Invalidate();
}

void TFlatButton::CMParentColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  CMSysColorChange(m);
}

void TFlatButton::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TFlatButton::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TFlatButton::WMSetFocus(TMessage& m) {
  QORN_INHERITED(m);
  // The focused button looks hot.
  if (GetEnabled()) FFace.MouseOver = true;
  Invalidate();
}

void TFlatButton::WMKillFocus(TMessage& m) {
  QORN_INHERITED(m);
  FSpacePressed = false;
  HoverLeave();
}

// Space presses and releases the button; other keys are left to the form (no
// OnKeyDown of the button's own).
void TFlatButton::WMKeyDown(TMessage& m) {
  if (m.WParam != VK_SPACE) return;
  // Auto-repeat sends more key-downs: one press all the same.
  FSpacePressed = true;
  if (FGroupIndex != 0) {
    SetDown(true);
  } else {
    FFace.State = bsDown;
  }
  Invalidate();
}

void TFlatButton::WMKeyUp(TMessage& m) {
  // A release clicks only after this button's own key-down: a Space pressed
  // elsewhere and released here is not a click.
  if (m.WParam != VK_SPACE || !FSpacePressed) return;
  FSpacePressed = false;
  if (FGroupIndex != 0) {
    SetDown(false);
  } else {
    FFace.State = bsUp;
  }
  Click();
  Invalidate();
}

void TFlatButton::WMSizeOrMove(TMessage& m) {
  QORN_INHERITED(m);
  if (FFace.Mode != tmNone) Invalidate();
}

void TFlatButton::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TFlatButton::Publish(TPublisher<TFlatButton>& p) {
  p.Message(WM_LBUTTONDBLCLK, &TFlatButton::WMLButtonDblClk);
  p.Message(CM_ENABLEDCHANGED, &TFlatButton::CMEnabledChanged);
  p.Message(CM_BUTTONPRESSED, &TFlatButton::CMButtonPressed);
  p.Message(CM_DIALOGCHAR, &TFlatButton::CMDialogChar);
  p.Message(CM_FONTCHANGED, &TFlatButton::CMFontOrTextChanged);
  p.Message(CM_TEXTCHANGED, &TFlatButton::CMFontOrTextChanged);
  p.Message(CM_SYSCOLORCHANGE, &TFlatButton::CMSysColorChange);
  p.Message(CM_PARENTCOLORCHANGED, &TFlatButton::CMParentColorChanged);
  p.Message(CM_MOUSEENTER, &TFlatButton::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &TFlatButton::CMMouseLeave);
  p.Message(WM_SETFOCUS, &TFlatButton::WMSetFocus);
  p.Message(WM_KILLFOCUS, &TFlatButton::WMKillFocus);
  p.Message(WM_KEYDOWN, &TFlatButton::WMKeyDown);
  p.Message(WM_KEYUP, &TFlatButton::WMKeyUp);
  p.Message(WM_SIZE, &TFlatButton::WMSizeOrMove);
  p.Message(WM_MOVE, &TFlatButton::WMSizeOrMove);
  p.Message(WM_ERASEBKGND, &TFlatButton::WMEraseBkgnd);
  p.Property(L"Caption", &TFlatButton::GetCaption, &TFlatButton::SetCaption);
  p.Property(L"TransparentMode", &TFlatButton::GetTransparentMode, &TFlatButton::SetTransparentMode)
      .Default(tmNone);
  p.Property(L"Default", &TFlatButton::GetDefault, &TFlatButton::SetDefault).Default(false);
  p.Property(L"AllowAllUp", &TFlatButton::GetAllowAllUp, &TFlatButton::SetAllowAllUp).Default(false);
  p.Property(L"GroupIndex", &TFlatButton::GetGroupIndex, &TFlatButton::SetGroupIndex).Default(0);
  p.Property(L"Down", &TFlatButton::GetDown, &TFlatButton::SetDown).Default(false);
  p.Property(L"Glyph", &TFlatButton::GetGlyph, &TFlatButton::SetGlyph);
  p.Property(L"Layout", &TFlatButton::GetLayout, &TFlatButton::SetLayout).Default(blGlyphTop);
  p.Property(L"Margin", &TFlatButton::GetMargin, &TFlatButton::SetMargin).Default(-1);
  p.Property(L"NumGlyphs", &TFlatButton::GetNumGlyphs, &TFlatButton::SetNumGlyphs).Default(1);
  p.Property(L"Spacing", &TFlatButton::GetSpacing, &TFlatButton::SetSpacing).Default(4);
  p.Property(L"ModalResult", &TFlatButton::GetModalResult, &TFlatButton::SetModalResult).Default(mrNone);
  p.Property(L"ColorFocused", &TFlatButton::GetColorFocused, &TFlatButton::SetColorFocused)
      .Default(kFlatButtonColor)
      .Idents(ColorIdents);
  p.Property(L"ColorDown", &TFlatButton::GetColorDown, &TFlatButton::SetColorDown)
      .Default(kFlatButtonColorDown)
      .Idents(ColorIdents);
  p.Property(L"ColorBorder", &TFlatButton::GetColorBorder, &TFlatButton::SetColorBorder)
      .Default(kFlatButtonColorBorder)
      .Idents(ColorIdents);
  p.Property(L"ColorHighLight", &TFlatButton::GetColorHighLight, &TFlatButton::SetColorHighLight)
      .Default(clWhite)
      .Idents(ColorIdents);
  p.Property(L"ColorShadow", &TFlatButton::GetColorShadow, &TFlatButton::SetColorShadow)
      .Default(clBlack)
      .Idents(ColorIdents);
  p.Property(L"AdvColorFocused", &TFlatButton::GetAdvColorFocused, &TFlatButton::SetAdvColorFocused).Default(10);
  p.Property(L"AdvColorDown", &TFlatButton::GetAdvColorDown, &TFlatButton::SetAdvColorDown).Default(10);
  p.Property(L"AdvColorBorder", &TFlatButton::GetAdvColorBorder, &TFlatButton::SetAdvColorBorder).Default(50);
  p.Property(L"UseAdvColors", &TFlatButton::GetUseAdvColors, &TFlatButton::SetUseAdvColors).Default(false);
  p.Property(L"TabStop", &TFlatButton::GetTabStop, &TFlatButton::SetTabStop).Default(true);
  p.Property(L"OnMouseEnter", &TFlatButton::OnMouseEnter);
  p.Property(L"OnMouseLeave", &TFlatButton::OnMouseLeave);
}

}  // namespace Flat
