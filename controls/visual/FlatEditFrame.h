// What the flat edit, memo and spin edit share: their colours and the 3-pixel
// band they paint in the non-client area in place of the sunken edge (a 1-pixel
// outer line and a 2-pixel band whose colour follows focus and hover).
//
// The band is drawn on the window DC outside the paint cycle; it also sets the
// control's Color to the band's, so the text area and the band meet without a
// seam. Color's setter does nothing on an equal value, so a redraw from
// WM_NCPAINT never starts another paint.
#pragma once
#include "controls/visual/FlatCheckControl.h"
#include "controls/visual/FlatUtilitys.h"
#include "vcl/Controls.h"

namespace Flat {

// Width of the painted non-client border on every side.
inline constexpr int kFlatEditBorder = 3;

struct TFlatEditColors {
  TColor Focused = clWhite;
  TColor Border = static_cast<TColor>(0x8396A0);
  TColor Flat = kFlatDefaultColor;
  TAdvColors AdvFocused = 10;
  TAdvColors AdvBorder = 50;
  bool UseAdv = false;
  // The controls' own flag: Flat follows the parent's Color.
  bool ParentColor = true;

  // The controls' setters: each returns whether the band must be drawn again, and
  // does nothing on an equal value. SetFlat turns ParentColor off; SetParentColor
  // and SetUseAdv take the parent's colour from control when they turn it on.
  bool SetFocused(TColor v);
  bool SetBorder(TColor v);
  bool SetFlat(TColor v);
  bool SetParentColor(bool v, TControl* control);
  bool SetAdvFocused(TAdvColors v);
  bool SetAdvBorder(TAdvColors v);
  bool SetUseAdv(bool v, TControl* control);

  // With UseAdv, Focused and Border derived from Flat.
  void Recompute();
  // The parent's colour changed (or the system's): follow it where asked.
  void ParentChanged(TControl* control);
};

// The colour properties of a control C with the accessors of TCustomFlatEdit,
// with their streamed defaults.
template <class C>
void PublishFlatEditColors(TPublisher<C>& p) {
  p.Property(L"ColorFocused", &C::GetColorFocused, &C::SetColorFocused).Default(clWhite).Idents(ColorIdents);
  p.Property(L"ColorBorder", &C::GetColorBorder, &C::SetColorBorder).Default(0x8396A0).Idents(ColorIdents);
  p.Property(L"ColorFlat", &C::GetColorFlat, &C::SetColorFlat).Default(kFlatDefaultColor).Idents(ColorIdents);
  // On by default, as a new control is: a form that turned it off says so.
  p.Property(L"ParentColor", &C::GetFlatParentColor, &C::SetFlatParentColor).Default(true);
  p.Property(L"AdvColorFocused", &C::GetAdvColorFocused, &C::SetAdvColorFocused).Default(10);
  p.Property(L"AdvColorBorder", &C::GetAdvColorBorder, &C::SetAdvColorBorder).Default(50);
  p.Property(L"UseAdvColors", &C::GetUseAdvColors, &C::SetUseAdvColors).Default(false);
}

// Paints the band of control: active (focused or hovered) or idle. sizeBox also
// fills the square between two scroll bars. Nothing without a window.
void DrawFlatEditFrame(TWinControl* control, const TFlatEditColors& colors, bool active, bool sizeBox);

// WM_NCCALCSIZE after the default: the client area shrinks by the band.
void ShrinkForFlatEditFrame(TMessage& m);

// Whether the focused window is a C (a spin edit is no TFlatEdit): hovering a
// flat control lights it only while no other of its kind holds the focus.
template <class C>
bool FocusIsA() {
  return dynamic_cast<C*>(FindControl(GetFocus())) != nullptr;
}

}  // namespace Flat
