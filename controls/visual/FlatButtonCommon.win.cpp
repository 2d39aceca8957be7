#include "controls/visual/FlatButtonCommon.h"

#include <algorithm>

#include "vcl/Canvas.h"
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
  // The strip's bottom-left pixel is the transparent colour of every cell.
  TColor transparent = glyph->GetPixel(0, h - 1);
  auto picture = std::make_unique<TBitmap>(w, h, pf24bit);
  const int left = cell < 0 ? 0 : w * cell;
  BitBlt(picture->GetCanvas()->GetHandle(), 0, 0, w, h, glyph->GetCanvas()->GetHandle(), left, 0, SRCCOPY);
  if (cells == 1 && face.State == bsDisabled) {
    picture = CreateDisabledGlyph(picture.get(), clBlack, clBtnFace, clBtnHighlight, clBtnShadow, true);
    if (!picture || picture->Empty()) return;
    transparent = picture->GetPixel(0, picture->GetHeight() - 1);
  }
  TransparentBlt(canvas->GetHandle(), at.X, at.Y, picture->GetWidth(), picture->GetHeight(),
                 picture->GetCanvas()->GetHandle(), 0, 0, picture->GetWidth(), picture->GetHeight(),
                 ColorToRGB(transparent));
}

void PaintFlatButtonFace(TCanvas* canvas, const TRect& client, const TFlatButtonLook& look, const TFlatButtonFace& face,
                         TControl* parentBehind) {
  const bool pressed = face.State == bsDown || face.State == bsExclusive;
  const TGlyphAndCaption place =
      LayoutGlyphAndCaption(canvas, client, pressed ? TPoint{1, 1} : TPoint{0, 0}, face.Caption, face.Glyph,
                            face.NumGlyphs, face.Margin, face.Spacing, face.Layout);

  const bool fill = face.Mode == tmNone || (face.Mode == tmNotFocused && face.MouseOver);
  if (fill) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(face.Mode == tmNone        ? FaceFill(look, face)
                                 : face.State == bsDown     ? look.ColorDown
                                 : face.State == bsDisabled ? look.Color
                                                            : look.ColorFocused);
    canvas->FillRect(client);
  } else if (parentBehind) {
    PaintParentBehind(parentBehind, canvas);
  }

  if (face.State == bsUp && face.MouseOver) DrawFrame3D(canvas, client, look.ColorHighLight, look.ColorShadow, 1);
  else if (face.State == bsUp) DrawFrame3D(canvas, client, look.ColorBorder, look.ColorBorder, face.IdleFrameWidth);
  else if (face.State == bsDisabled) DrawFrame3D(canvas, client, look.ColorBorder, look.ColorBorder, 1);
  else DrawFrame3D(canvas, client, look.ColorShadow, look.ColorHighLight, 1);

  DrawGlyph(canvas, face, place.GlyphPos);

  DrawFlatCaption(canvas, face.Caption, place.TextRect, DT_SINGLELINE | DT_VCENTER | DT_CENTER,
                  face.State != bsDisabled);
}

// ---- the behaviour of both buttons ----

template <class Base>
TFlatButtonCommon<Base>::TFlatButtonCommon(TComponent* AOwner) : Base(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  this->SetBounds(0, 0, 25, 25);
  this->SetColor(kFlatButtonColor);
  this->SetParentFont(true);
  this->SetParentColor(true);
}

template <class Base>
TFlatButtonCommon<Base>::~TFlatButtonCommon() = default;

template <class Base>
void TFlatButtonCommon<Base>::Loaded() {
  Base::Loaded();
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::Redraw() {
  this->Invalidate();
  this->Update();
}

template <class Base>
void TFlatButtonCommon<Base>::SetTransparentMode(TTransparentMode v) {
  FFace.Mode = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetAllowAllUp(bool v) {
  if (v == FAllowAllUp) return;
  FAllowAllUp = v;
  BroadcastDown();
}

template <class Base>
void TFlatButtonCommon<Base>::SetGroupIndex(int v) {
  if (v == FGroupIndex) return;
  FGroupIndex = v;
  BroadcastDown();
}

template <class Base>
void TFlatButtonCommon<Base>::BroadcastDown() {
  TWinControl* parent = this->GetParent();
  if (FGroupIndex == 0 || !parent) return;
  TMessage m{};
  m.Msg = CM_BUTTONPRESSED;
  m.WParam = static_cast<WPARAM>(FGroupIndex);
  m.LParam = reinterpret_cast<LPARAM>(static_cast<TControl*>(this));
  parent->Broadcast(m);
}

template <class Base>
void TFlatButtonCommon<Base>::SetDown(bool v) {
  if (FGroupIndex == 0) v = false;
  if (v == FDown) return;
  if (FDown && !FAllowAllUp) return;
  FDown = v;
  if (v) {
    if (FFace.State == bsUp) this->Invalidate();
    FFace.State = bsExclusive;
    BroadcastDown();
  } else {
    FFace.State = bsUp;
    Redraw();
  }
}

template <class Base>
void TFlatButtonCommon<Base>::CMButtonPressed(TMessage& m) {
  // Only a button of the same kind on the same parent and group counts.
  auto* sender = dynamic_cast<TFlatButtonCommon*>(reinterpret_cast<TControl*>(m.LParam));
  if (static_cast<int>(m.WParam) != FGroupIndex || !sender || sender == this) return;
  if (sender->FDown && FDown) {
    FDown = false;
    FFace.State = bsUp;
    this->Invalidate();
  }
  FAllowAllUp = sender->FAllowAllUp;
}

template <class Base>
void TFlatButtonCommon<Base>::SetGlyph(TBitmap* v) {
  if (v == FGlyph.get()) return;
  if (v) {
    FGlyph->Assign(v);
  } else {
    FGlyph = std::make_unique<TBitmap>();
  }
  FFace.NumGlyphs = NumGlyphsOfStrip(FGlyph.get(), FFace.NumGlyphs);
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetLayout(TButtonLayout v) {
  if (v == FFace.Layout) return;
  FFace.Layout = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetMargin(int v) {
  if (v < -1 || v == FFace.Margin) return;
  FFace.Margin = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetNumGlyphs(int v) {
  v = std::clamp(v, 1, 4);
  if (v == FFace.NumGlyphs) return;
  FFace.NumGlyphs = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetSpacing(int v) {
  if (v == FFace.Spacing) return;
  FFace.Spacing = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetColorFocused(TColor v) {
  FLook.ColorFocused = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetColorDown(TColor v) {
  FLook.ColorDown = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetColorBorder(TColor v) {
  FLook.ColorBorder = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetColorHighLight(TColor v) {
  FLook.ColorHighLight = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetColorShadow(TColor v) {
  FLook.ColorShadow = v;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetAdvColorFocused(TAdvColors v) {
  FLook.AdvColorFocused = std::min(v, kMaxAdvColors);
  FLook.Color = this->GetColor();
  FLook.Recompute();
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetAdvColorDown(TAdvColors v) {
  FLook.AdvColorDown = std::min(v, kMaxAdvColors);
  FLook.Color = this->GetColor();
  FLook.Recompute();
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetAdvColorBorder(TAdvColors v) {
  FLook.AdvColorBorder = std::min(v, kMaxAdvColors);
  FLook.Color = this->GetColor();
  FLook.Recompute();
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::SetUseAdvColors(bool v) {
  if (v == FLook.UseAdvColors) return;
  FLook.UseAdvColors = v;
  this->SetParentColor(v);
  FLook.Color = this->GetColor();
  FLook.Recompute();
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::Click() {
  if (this->GetParent()) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FModalResult);
  }
  Base::Click();
}

template <class Base>
bool TFlatButtonCommon<Base>::Inside(int x, int y) const {
  return x >= 0 && x < this->GetClientWidth() && y >= 0 && y <= this->GetClientHeight();
}

template <class Base>
void TFlatButtonCommon<Base>::PaintFace(TCanvas* canvas, TControl* parentBehind, int idleFrameWidth) {
  if (this->GetEnabled() && FFace.State == bsDisabled) {
    FFace.State = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  } else if (!this->GetEnabled()) {
    FFace.State = bsDisabled;
    FDragActive = false;
  }
  FLook.Color = this->GetColor();
  FFace.IdleFrameWidth = idleFrameWidth;
  FFace.Glyph = FGlyph.get();
  FFace.Caption = this->GetCaption();
  canvas->SetFont(this->GetFont());
  PaintFlatButtonFace(canvas, this->GetClientRect(), FLook, FFace, parentBehind);
}

template <class Base>
void TFlatButtonCommon<Base>::HoverEnter() {
  if (!this->GetEnabled() || FFace.MouseOver) return;
  FFace.MouseOver = true;
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::HoverLeave() {
  // While the button is held the hot look stays until the release.
  if (FDragActive) return;
  if (FFace.MouseOver) {
    FFace.MouseOver = false;
    this->Invalidate();
  }
  HoverTimer().Stop(this);
}

template <class Base>
void TFlatButtonCommon<Base>::UpdateTracking() {
  if (!this->GetEnabled()) return;
  // From the opposite look, so that the enter or leave always takes effect.
  if (ControlUnderCursor() == this) {
    FFace.MouseOver = false;
    HoverTimer().Watch(this, [this] {
      if (ControlUnderCursor() != this) HoverLeave();
    });
    HoverEnter();
  } else {
    FFace.MouseOver = true;
    HoverLeave();
  }
}

template <class Base>
void TFlatButtonCommon<Base>::MouseMove(TShiftState shift, int x, int y) {
  Base::MouseMove(shift, x, y);
  if (FDragActive) {
    TButtonState next = FDown ? bsExclusive : bsUp;
    if (Inside(x, y)) next = FDown ? bsExclusive : bsDown;
    if (next != FFace.State) {
      FFace.State = next;
      this->Invalidate();
    }
  }
  THoverTimer& hover = HoverTimer();
  if (ControlUnderPoint(this->ClientToScreen({x, y})) != this || hover.Watched() == this) return;
  if (auto* old = dynamic_cast<TFlatButtonCommon*>(hover.Watched())) old->HoverLeave();
  hover.Watch(this, [this] {
    if (ControlUnderCursor() != this) HoverLeave();
  });
  HoverEnter();
}

template <class Base>
void TFlatButtonCommon<Base>::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  Base::MouseDown(button, shift, x, y);
  if (button != mbLeft || !this->GetEnabled()) return;
  // The second press of a double click is OnDblClick's: its release clicks nothing.
  if (shift.Contains(ssDouble)) return;
  if (!FDown) {
    FFace.State = bsDown;
    this->Invalidate();
  }
  FDragActive = true;
  Pressed();
}

template <class Base>
void TFlatButtonCommon<Base>::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  Base::MouseUp(button, shift, x, y);
  if (button != mbLeft || !FDragActive) return;
  FDragActive = false;
  const bool inside = Inside(x, y);
  if (FGroupIndex == 0) {
    FFace.State = bsUp;
    FFace.MouseOver = false;
    if (inside) this->Invalidate();
  } else if (inside) {
    SetDown(!FDown);
    if (FDown) Redraw();
  } else {
    if (FDown) FFace.State = bsExclusive;
    Redraw();
  }
  if (inside) Click();
  else HoverLeave();
  UpdateTracking();
}

template <class Base>
void TFlatButtonCommon<Base>::WMLButtonDblClk(TMessage& m) {
  this->DispatchAs(Base::StaticClass(), &m);
  if (FDown) this->DblClick();
}

template <class Base>
void TFlatButtonCommon<Base>::CMEnabledChanged(TMessage& m) {
  this->DispatchAs(Base::StaticClass(), &m);
  if (!this->GetEnabled()) {
    FFace.MouseOver = false;
    FFace.State = bsDisabled;
    FDragActive = false;
    HoverTimer().Stop(this);
  }
  UpdateTracking();
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::CMFontOrTextChanged(TMessage& m) {
  this->DispatchAs(Base::StaticClass(), &m);
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::CMSysColorChange(TMessage&) {
  if (FLook.UseAdvColors) {
    this->SetParentColor(true);
    FLook.Color = this->GetColor();
    FLook.Recompute();
  }
  this->Invalidate();
}

template <class Base>
void TFlatButtonCommon<Base>::CMParentColorChanged(TMessage& m) {
  this->DispatchAs(Base::StaticClass(), &m);
  CMSysColorChange(m);
}

template <class Base>
void TFlatButtonCommon<Base>::CMMouseEnter(TMessage& m) {
  this->DispatchAs(Base::StaticClass(), &m);
  if (OnMouseEnter) OnMouseEnter(this);
}

template <class Base>
void TFlatButtonCommon<Base>::CMMouseLeave(TMessage& m) {
  this->DispatchAs(Base::StaticClass(), &m);
  if (OnMouseLeave) OnMouseLeave(this);
}

template class TFlatButtonCommon<TCustomControl>;
template class TFlatButtonCommon<TGraphicControl>;

}  // namespace Flat
