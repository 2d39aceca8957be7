#include "controls/visual/TFlatListBoxUnit.h"

#include <algorithm>

#include "vcl/Canvas.h"
#include "vcl/Forms.h"
#include "vcl/SysUtils.h"
#include "vcl/Timer.h"

namespace Flat {

namespace {

constexpr unsigned kFirstRepeatMs = 600;
constexpr unsigned kRepeatMs = 100;
constexpr int kWheelNotch = 120;

// The one repeat timer of all list boxes: made by the first, freed with the last.
struct TSharedRepeat {
  std::unique_ptr<TTimer> Timer;
  TFlatListBox* Target = nullptr;
  int Users = 0;
};

TSharedRepeat& SharedRepeat() {
  static TSharedRepeat shared;
  return shared;
}

void StopSharedRepeat() {
  TSharedRepeat& r = SharedRepeat();
  if (!r.Timer) return;
  r.Timer->SetEnabled(false);
  r.Timer->SetInterval(kFirstRepeatMs);
}

}  // namespace

TFlatListBox::TFlatListBox(TComponent* AOwner)
    : TCustomControl(AOwner), FItems(new TStringList), FWheelRollMsg(RegisterWindowMessageW(L"MSWHEEL_ROLLMSG")) {
  ControlStyle.Include(csOpaque);
  SetBounds(GetLeft(), GetTop(), 137, 99);
  SetColor(kFlatButtonColor);
  SetParentColor(true);
  FItems->OnChange = TNotifyEvent(this, &TFlatListBox::ItemsChanged);
  TSharedRepeat& r = SharedRepeat();
  if (r.Users++ == 0) {
    r.Timer = std::make_unique<TTimer>(nullptr);
    r.Timer->SetEnabled(false);
    r.Timer->SetInterval(kFirstRepeatMs);
    r.Timer->OnTimer = [](TObject*) {
      if (TFlatListBox* target = SharedRepeat().Target) target->RepeatTick();
    };
  }
}

TFlatListBox::~TFlatListBox() {
  FItems->OnChange = nullptr;
  TSharedRepeat& r = SharedRepeat();
  // A tick must never reach a list box that is gone.
  if (r.Target == this) {
    StopSharedRepeat();
    r.Target = nullptr;
  }
  if (--r.Users == 0) r.Timer.reset();
}

bool TFlatListBox::Repeating() const {
  const TSharedRepeat& r = SharedRepeat();
  return r.Target == this && r.Timer && r.Timer->GetEnabled();
}

bool TFlatListBox::AnyRepeating() {
  const TSharedRepeat& r = SharedRepeat();
  return r.Timer && r.Timer->GetEnabled();
}

// --- lines and selection

void TFlatListBox::SetItems(TStrings* v) {
  if (!v || v->Count() > kFlatListMaxItems) return;
  for (int i = 0; i < v->Count(); ++i) {
    const String trimmed = Trim(v->Get(i));
    if (trimmed != v->Get(i)) v->Put(i, trimmed);
  }
  FItems->Assign(v);
  Invalidate();
}

void TFlatListBox::ItemsChanged(TObject*) {
  // Enabled or not: marks of lines that moved or went would point at the wrong
  // lines, and an index past the end at none.
  FSelection.reset();
  if (FItemIndex > FItems->Count() - 1) ChangeIndex(-1);
  if (FTopIndex > LastTop()) FTopIndex = LastTop();
  Invalidate();
}

void TFlatListBox::ChangeIndex(int v) {
  FItemIndex = v;
  if (OnChangeIndex) OnChangeIndex(this);
}

bool TFlatListBox::GetSelected(int index) const {
  return index >= 0 && index < kFlatListMaxItems && FSelection.test(static_cast<size_t>(index));
}

void TFlatListBox::SetSelected(int index, bool v) {
  if (index < 0 || index > FItems->Count() - 1) return;
  const bool markable = index < kFlatListMaxItems;
  if (FMultiSelect) {
    if (v) {
      if (markable) FSelection.set(static_cast<size_t>(index));
      ChangeIndex(index);
    } else if (markable) {
      FSelection.reset(static_cast<size_t>(index));
    }
  } else {
    FSelection.reset();
    if (v) {
      if (markable) FSelection.set(static_cast<size_t>(index));
      ChangeIndex(index);
    }
  }
  Invalidate();
}

void TFlatListBox::SetItemIndex(int v) {
  if (v == FItemIndex) return;
  ChangeIndex(v);
  const bool markable = v >= 0 && v < kFlatListMaxItems;
  if (FMultiSelect) {
    if (markable) FSelection.flip(static_cast<size_t>(v));
  } else {
    FSelection.reset();
    if (markable) FSelection.set(static_cast<size_t>(v));
  }
  Invalidate();
}

void TFlatListBox::SetMultiSelect(bool v) {
  FMultiSelect = v;
  if (v) ChangeIndex(0);
}

void TFlatListBox::SetSorted(bool v) {
  if (v == FSorted) return;
  FSorted = v;
  FItems->SetSorted(v);
  FSelection.reset();
  Invalidate();
}

// --- rows and height

int TFlatListBox::RowsFor(int height) const { return std::max(0, (height - ChromeHeight()) / (FItemHeight + 2)); }

void TFlatListBox::Recount() { FVisibleCount = RowsFor(GetHeight()); }

void TFlatListBox::SnapHeight() {
  Recount();
  SetHeight((FItemHeight + 2) * FVisibleCount + ChromeHeight());
}

TRect TFlatListBox::RowRect(int k) const {
  const TRect c = GetClientRect();
  const int y = c.Top + (FScrollBars ? 13 : 3) + k * (FItemHeight + 2);
  return TRect(c.Left + 3, y, c.Right - 3, y + FItemHeight);
}

int TFlatListBox::LastTop() const { return std::max(0, FItems->Count() - FVisibleCount); }

void TFlatListBox::SetScrollBars(bool v) {
  if (v == FScrollBars) return;
  FScrollBars = v;
  if (!ComponentState().Contains(csLoading)) SetHeight(GetHeight() + (v ? 20 : -20));
  Recount();
  Invalidate();
}

void TFlatListBox::SetItemHeight(int v) {
  if (v <= 0) v = 1;
  FItemHeight = v;
  if (!ComponentState().Contains(csLoading)) SetHeight((v + 2) * FVisibleCount + ChromeHeight());
  Recount();
  Invalidate();
}

void TFlatListBox::Loaded() {
  TCustomControl::Loaded();
  Recount();
}

void TFlatListBox::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  SnapHeight();
}

// --- colours

void TFlatListBox::RecomputeColors() {
  if (!FUseAdvColors) return;
  FColorBorder = AdjustColorLightness(GetColor(), FColorBorder, FAdvColorBorder, TColorCalcType::Darken);
}

void TFlatListBox::SetColorArrow(TColor v) {
  if (v == FColorArrow) return;
  FColorArrow = v;
  Invalidate();
}
void TFlatListBox::SetColorBorder(TColor v) {
  if (v == FColorBorder) return;
  FColorBorder = v;
  Invalidate();
}
void TFlatListBox::SetColorItemsRect(TColor v) {
  if (v == FColorItemsRect) return;
  FColorItemsRect = v;
  Invalidate();
}
void TFlatListBox::SetColorItemsSelect(TColor v) {
  if (v == FColorItemsSelect) return;
  FColorItemsSelect = v;
  Invalidate();
}
void TFlatListBox::SetTransparentMode(TTransparentMode v) {
  if (v == FTransparentMode) return;
  FTransparentMode = v;
  Invalidate();
}
void TFlatListBox::SetAdvColorBorder(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FAdvColorBorder) return;
  FAdvColorBorder = v;
  RecomputeColors();
  Invalidate();
}
void TFlatListBox::SetUseAdvColors(bool v) {
  if (v == FUseAdvColors) return;
  FUseAdvColors = v;
  if (v) SetParentColor(true);
  RecomputeColors();
  Invalidate();
}

void TFlatListBox::CMColorsFollow(TMessage& m) {
  QORN_INHERITED(m);
  if (FUseAdvColors) {
    SetParentColor(true);
    RecomputeColors();
  }
  Invalidate();
}

void TFlatListBox::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TFlatListBox::WMRepaintUnlessOpaque(TMessage& m) {
  QORN_INHERITED(m);
  if (FTransparentMode != tmNone) Invalidate();
}

void TFlatListBox::WMEraseBkgnd(TMessage& m) { m.Result = 1; }

void TFlatListBox::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

// --- painting

void TFlatListBox::DrawArrows(TCanvas* canvas, const TRect& c) {
  HDC dc = canvas->GetHandle();
  const int mid = (c.Right - c.Left) / 2 - 6;
  const POINT up[3] = {{mid + 4, c.Top + 6}, {mid + 8, c.Top + 6}, {mid + 6, c.Top + 4}};
  const POINT down[3] = {{mid + 4, c.Bottom - 7}, {mid + 8, c.Bottom - 7}, {mid + 6, c.Bottom - 5}};
  DrawFlatArrow(dc, up, FColorArrow, GetEnabled() && FTopIndex > 0);
  DrawFlatArrow(dc, down, FColorArrow, GetEnabled() && CanScrollDown());
}

void TFlatListBox::Paint() {
  const TRect c = GetClientRect();
  TCanvas* canvas = FBuffer.Begin(GetCanvas()->GetHandle(), c);
  canvas->GetFont()->Assign(GetFont());
  const bool fill = FTransparentMode == tmNone || (FTransparentMode == tmNotFocused && Focused());
  if (fill) {
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(FColorItemsRect);
    canvas->FillRect(c);
  } else {
    PaintParentBehind(this, canvas);
  }
  canvas->GetBrush()->SetStyle(bsSolid);
  canvas->GetBrush()->SetColor(FColorBorder);
  canvas->FrameRect(c);
  if (FScrollBars) {
    for (const TRect& strip :
         {TRect(c.Left, c.Top, c.Right, c.Top + 11), TRect(c.Left, c.Bottom - 11, c.Right, c.Bottom)}) {
      canvas->GetBrush()->SetColor(GetColor());
      canvas->FillRect(strip);
      canvas->GetBrush()->SetColor(FColorBorder);
      canvas->FrameRect(strip);
    }
    DrawArrows(canvas, c);
  }
  unsigned flags = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
  flags |= GetBiDiMode() == bdRightToLeft ? DT_RIGHT : DT_LEFT;
  for (int k = 0; k < FVisibleCount; ++k) {
    const int item = FTopIndex + k;
    if (item >= FItems->Count()) break;
    const TRect row = RowRect(k);
    if (GetSelected(item)) {
      canvas->GetBrush()->SetStyle(bsSolid);
      canvas->GetBrush()->SetColor(FColorItemsSelect);
      canvas->FillRect(row);
      canvas->GetBrush()->SetColor(FColorBorder);
      canvas->FrameRect(row);
    }
    DrawFlatCaption(canvas, FItems->Get(item), TRect(row.Left + 3, row.Top, row.Right - 3, row.Bottom), flags,
                    GetEnabled());
  }
  FBuffer.End();
}

// --- mouse

void TFlatListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  // The point under the cursor now, as the press reached the control.
  POINT p{x, y};
  if (HandleAllocated() && GetCursorPos(&p)) ::ScreenToClient(WindowHandle(), &p);
  const int count = FItems->Count();
  if (count > 0 && button == mbLeft) {
    for (int k = 0; k < FVisibleCount; ++k) {
      const TRect row = RowRect(k);
      if (p.x < row.Left || p.x >= row.Right || p.y < row.Top || p.y >= row.Bottom) continue;
      const int c = FTopIndex + k;
      if (FMultiSelect) {
        if (c < count && c < kFlatListMaxItems) FSelection.flip(static_cast<size_t>(c));
      } else {
        FSelection.reset();
        if (c < count && c < kFlatListMaxItems) FSelection.set(static_cast<size_t>(c));
      }
      ChangeIndex(c < count ? c : -1);
      if (CanFocus()) SetFocus();
      Invalidate();
      return;
    }
  }
  if (FScrollBars && button == mbLeft) {
    const TRect cl = GetClientRect();
    if (p.y >= cl.Top && p.y < cl.Top + 11) {
      FTopIndex = std::max(0, FTopIndex - 1);
      StartRepeat(false);
    } else if (p.y >= cl.Bottom - 11 && p.y < cl.Bottom) {
      if (CanScrollDown()) ++FTopIndex;
      StartRepeat(true);
    }
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TFlatListBox::StartRepeat(bool down) {
  if (CanFocus()) SetFocus();
  Invalidate();
  FRepeatDown = down;
  TSharedRepeat& r = SharedRepeat();
  r.Target = this;
  r.Timer->SetInterval(kFirstRepeatMs);
  r.Timer->SetEnabled(true);
}

void TFlatListBox::RepeatTick() {
  TSharedRepeat& r = SharedRepeat();
  r.Timer->SetInterval(kRepeatMs);
  if (FRepeatDown) {
    if (!CanScrollDown()) {
      StopSharedRepeat();
    } else {
      ++FTopIndex;
    }
  } else if (FTopIndex == 0) {
    StopSharedRepeat();
  } else {
    --FTopIndex;
  }
  Invalidate();
}

void TFlatListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  StopSharedRepeat();
  TCustomControl::MouseUp(button, shift, x, y);
}

// --- scrolling

void TFlatListBox::ScrollBy(int lines) {
  if (lines > 0) {
    // Down, but never so far that the last page is less than full.
    FTopIndex = FItems->Count() < FTopIndex + FVisibleCount + lines ? LastTop() : FTopIndex + lines;
  } else if (lines < 0) {
    FTopIndex = std::max(0, FTopIndex + lines);
  }
  Invalidate();
}

void TFlatListBox::WndProc(TMessage& m) {
  if (FWheelRollMsg != 0 && m.Msg == FWheelRollMsg) Perform(WM_MOUSEWHEEL, m.WParam, m.LParam);
  TCustomControl::WndProc(m);
}

void TFlatListBox::WMMouseWheel(TMessage& m) {
  m.Result = 0;
  const int delta = static_cast<short>(HIWORD(m.WParam));
  // What was left of a turn the other way is no part of this one.
  if ((delta < 0) != (FWheelCarry < 0)) FWheelCarry = 0;
  FWheelCarry += delta;
  const int notches = FWheelCarry / kWheelNotch;
  FWheelCarry -= notches * kWheelNotch;
  if (notches == 0) return;
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  // No lines set, or page scrolling: a notch is a page.
  const int perNotch = lines == 0 || lines == WHEEL_PAGESCROLL || lines > static_cast<UINT>(kFlatListMaxItems)
                           ? std::max(1, FVisibleCount)
                           : static_cast<int>(lines);
  // A positive delta turns the wheel away from the user: up the list.
  ScrollBy(-notches * perNotch);
}

void TFlatListBox::CNKeyDown(TMessage& m) {
  switch (static_cast<WORD>(m.WParam)) {
    case VK_PRIOR: ScrollBy(-std::max(1, FVisibleCount)); break;
    case VK_NEXT: ScrollBy(std::max(1, FVisibleCount)); break;
    case VK_UP: ScrollBy(-1); break;
    case VK_DOWN:
      if (CanScrollDown()) ScrollBy(1);
      break;
    default: QORN_INHERITED(m); return;
  }
  m.Result = 1;
}

void TFlatListBox::Publish(TPublisher<TFlatListBox>& p) {
  using T = TFlatListBox;
  p.Message(WM_MOUSEWHEEL, &T::WMMouseWheel);
  p.Message(WM_SIZE, &T::WMSize);
  p.Message(WM_GETDLGCODE, &T::WMGetDlgCode);
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(CN_KEYDOWN, &T::CNKeyDown);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Message(CM_SYSCOLORCHANGE, &T::CMColorsFollow);
  p.Message(CM_PARENTCOLORCHANGED, &T::CMColorsFollow);
  p.Message(WM_MOVE, &T::WMRepaintUnlessOpaque);
  p.Message(WM_SETFOCUS, &T::WMRepaintUnlessOpaque);
  p.Message(WM_KILLFOCUS, &T::WMRepaintUnlessOpaque);
  p.Property(L"TransparentMode", &T::GetTransparentMode, &T::SetTransparentMode).Default(tmNone);
  p.Property(L"ItemHeight", &T::GetItemHeight, &T::SetItemHeight).Default(17);
  p.Property(L"MultiSelect", &T::GetMultiSelect, &T::SetMultiSelect).Default(false);
  p.Property(L"ScrollBars", &T::GetScrollBars, &T::SetScrollBars).Default(false);
  p.Property(L"Sorted", &T::GetSorted, &T::SetSorted).Default(false);
  p.Property(L"Items", &T::GetItems, &T::SetItems);
  p.Property(L"Color", &T::GetColor, &T::SetColor)
      .Default(kFlatButtonColor)
      .Idents(ColorIdents)
      .Stored(&T::ColorStored);
  p.Property(L"ParentColor", &T::GetParentColor, &T::SetParentColor).Default(true);
  p.Property(L"ColorArrow", &T::GetColorArrow, &T::SetColorArrow).Default(clBlack).Idents(ColorIdents);
  p.Property(L"ColorBorder", &T::GetColorBorder, &T::SetColorBorder).Default(0x8396A0).Idents(ColorIdents);
  p.Property(L"ColorItemsRect", &T::GetColorItemsRect, &T::SetColorItemsRect).Default(clWhite).Idents(ColorIdents);
  p.Property(L"ColorItemsSelect", &T::GetColorItemsSelect, &T::SetColorItemsSelect)
      .Default(0x9CDEF7)
      .Idents(ColorIdents);
  p.Property(L"AdvColorBorder", &T::GetAdvColorBorder, &T::SetAdvColorBorder).Default(40);
  p.Property(L"UseAdvColors", &T::GetUseAdvColors, &T::SetUseAdvColors).Default(false);
  p.Property(L"OnChangeIndex", &T::OnChangeIndex);
}

}  // namespace Flat
