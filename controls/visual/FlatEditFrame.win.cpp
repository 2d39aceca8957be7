#include "controls/visual/FlatEditFrame.h"

#include <algorithm>

namespace Flat {

bool TFlatEditColors::SetFocused(TColor v) {
  if (v == Focused) return false;
  Focused = v;
  return true;
}

bool TFlatEditColors::SetBorder(TColor v) {
  if (v == Border) return false;
  Border = v;
  return true;
}

bool TFlatEditColors::SetFlat(TColor v) {
  if (v == Flat && !ParentColor) return false;
  Flat = v;
  ParentColor = false;
  return true;
}

bool TFlatEditColors::SetParentColor(bool v, TControl* control) {
  if (v == ParentColor) return false;
  ParentColor = v;
  if (!v) return false;
  if (TWinControl* parent = control->GetParent()) Flat = parent->GetColor();
  return true;
}

bool TFlatEditColors::SetAdvFocused(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == AdvFocused) return false;
  AdvFocused = v;
  if (!UseAdv) return false;
  Recompute();
  return true;
}

bool TFlatEditColors::SetAdvBorder(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == AdvBorder) return false;
  AdvBorder = v;
  if (!UseAdv) return false;
  Recompute();
  return true;
}

bool TFlatEditColors::SetUseAdv(bool v, TControl* control) {
  if (v == UseAdv) return false;
  UseAdv = v;
  SetParentColor(v, control);
  Recompute();
  return true;
}

void TFlatEditColors::Recompute() {
  if (!UseAdv) return;
  Focused = AdjustColorLightness(Flat, Focused, AdvFocused, TColorCalcType::Lighten);
  Border = AdjustColorLightness(Flat, Border, AdvBorder, TColorCalcType::Darken);
}

void TFlatEditColors::ParentChanged(TControl* control) {
  TWinControl* parent = control->GetParent();
  if (UseAdv) {
    if (parent) Flat = parent->GetColor();
    Recompute();
  } else if (ParentColor && parent) {
    Flat = parent->GetColor();
  }
}

namespace {

void FrameOf(HDC dc, RECT& r, HBRUSH brush) {
  FrameRect(dc, &r, brush);
  InflateRect(&r, -1, -1);
}

}  // namespace

void DrawFlatEditFrame(TWinControl* control, const TFlatEditColors& colors, bool active, bool sizeBox) {
  if (!control->HandleAllocated()) return;
  const TColor band = active ? colors.Focused : colors.Flat;
  control->SetColor(band);
  HWND wnd = control->GetHandle();
  RECT r{};
  GetWindowRect(wnd, &r);
  OffsetRect(&r, -r.left, -r.top);
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  HBRUSH border = CreateSolidBrush(ColorToRGB(colors.Border));
  HBRUSH fill = CreateSolidBrush(ColorToRGB(band));
  const int w = r.right, h = r.bottom;
  FrameOf(dc, r, border);
  FrameOf(dc, r, fill);
  FrameOf(dc, r, fill);
  if (sizeBox) {
    RECT box{w - 19, h - 19, w - 3, h - 3};
    FillRect(dc, &box, fill);
  }
  ReleaseDC(wnd, dc);
  DeleteObject(border);
  DeleteObject(fill);
}

void ShrinkForFlatEditFrame(TMessage& m) {
  // Both forms of the message start with the proposed client rectangle.
  auto* r = reinterpret_cast<RECT*>(m.LParam);
  InflateRect(r, -kFlatEditBorder, -kFlatEditBorder);
}

}  // namespace Flat
