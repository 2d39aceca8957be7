#include "controls/visual/TFlatComboBoxUnit.h"

#include <algorithm>

#include "vcl/ScopeGuards.h"

namespace Flat {

namespace {

constexpr int kButton = kFlatComboButtonWidth;

void Fill(HDC dc, const RECT& r, TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void Frame(HDC dc, const RECT& r, TColor color) {
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  FrameRect(dc, &r, brush);
  DeleteObject(brush);
}

}  // namespace

TCustomFlatComboBox::TCustomFlatComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner), FSysBtnWidth(GetSystemMetrics(SM_CXVSCROLL)) {
  ControlStyle.Exclude(csFixedHeight);
  ControlStyle.Include(csOpaque);
  SetColor(kFlatComboColor);
  SetItemHeight(13);
}

template <class F>
void TCustomFlatComboBox::OnWindowDC(F draw) {
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  const TOnExit released([&] { ReleaseDC(wnd, dc); });
  draw(dc);
}

TColor TCustomFlatComboBox::ParentColorOrOwn() const { return GetParent() ? GetParent()->GetColor() : GetColor(); }

void TCustomFlatComboBox::RecomputeColors() {
  if (!FUseAdvColors) return;
  const TColor base = ParentColorOrOwn();
  FColorBorder = AdjustColorLightness(base, FColorBorder, FAdvColorBorder, TColorCalcType::Darken);
  FColorArrowBackground =
      AdjustColorLightness(base, FColorArrowBackground, FAdvColorArrowBackground, TColorCalcType::Darken);
}

void TCustomFlatComboBox::SetColorArrow(TColor v) {
  if (v == FColorArrow) return;
  FColorArrow = v;
  Invalidate();
}
void TCustomFlatComboBox::SetColorArrowBackground(TColor v) {
  if (v == FColorArrowBackground) return;
  FColorArrowBackground = v;
  Invalidate();
}
void TCustomFlatComboBox::SetColorBorder(TColor v) {
  if (v == FColorBorder) return;
  FColorBorder = v;
  Invalidate();
}
void TCustomFlatComboBox::SetAdvColorBorder(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FAdvColorBorder) return;
  FAdvColorBorder = v;
  RecomputeColors();
  Invalidate();
}
void TCustomFlatComboBox::SetAdvColorArrowBackground(TAdvColors v) {
  v = std::min(v, kMaxAdvColors);
  if (v == FAdvColorArrowBackground) return;
  FAdvColorArrowBackground = v;
  RecomputeColors();
  Invalidate();
}
void TCustomFlatComboBox::SetUseAdvColors(bool v) {
  if (v == FUseAdvColors) return;
  FUseAdvColors = v;
  RecomputeColors();
  Invalidate();
}

TRect TCustomFlatComboBox::ButtonRect() const {
  return TRect(GetClientWidth() - kButton - 1, 0, GetWidth() - 1, GetHeight());
}

void TCustomFlatComboBox::DrawButton(HDC dc) {
  TRect b = ButtonRect();
  RECT r{b.Left - 1, b.Top, b.Right + 1, b.Bottom};
  Fill(dc, r, FColorArrowBackground);
  Frame(dc, r, FColorBorder);
  const int x0 = r.left + (r.right - r.left) / 2 - 6;
  const int y0 = r.top + (r.bottom - r.top) / 2 - 1;
  const POINT down[3] = {{x0 + 4, y0}, {x0 + 8, y0}, {x0 + 6, y0 + 2}};
  const POINT up[3] = {{x0 + 4, y0 + 2}, {x0 + 8, y0 + 2}, {x0 + 6, y0}};
  const POINT(&arrow)[3] = FListShown ? up : down;
  DrawFlatArrow(dc, arrow, FColorArrow, GetEnabled());
  // The native arrow underneath must not paint over the flat one.
  const int cw = GetClientWidth();
  ExcludeClipRect(dc, cw - FSysBtnWidth, 0, cw, GetClientHeight());
}

void TCustomFlatComboBox::DrawBorders(HDC dc) {
  RECT r{0, 0, GetWidth() - kButton - 1, GetHeight()};
  Frame(dc, r, FColorBorder);
  InflateRect(&r, -1, -1);
  Frame(dc, r, GetColor());
  InflateRect(&r, -1, -1);
  Frame(dc, r, GetColor());
  if (GetStyle() != csSimple) DrawButton(dc);
}

void TCustomFlatComboBox::DrawFocusArea(HDC dc) {
  if (!HasFocusStrip()) return;
  const bool focused = HandleAllocated() && GetFocus() == WindowHandle();
  const bool lit = focused && !FListShown;
  const int cw = GetClientWidth(), ch = GetClientHeight();
  RECT r{2, 3, cw - 2, ch - 3};
  const RECT strip{r.right - kButton - 8, r.top, r.right - kButton - 3, r.bottom};
  Fill(dc, strip, lit ? FocusColor() : GetColor());
  if (lit) Frame(dc, RECT{3, 3, cw - 3 - kButton - 2, ch - 3}, FocusColor());
  ExcludeClipRect(dc, cw - FSysBtnWidth, 0, cw, ch);
}

void TCustomFlatComboBox::PaintClient(HDC dc, RECT update) {
  update.right = std::min<LONG>(update.right, GetWidth() - kButton - 4);
  if (update.right > update.left) FillRect(dc, &update, BrushHandle());
  {
    const int saved = SaveDC(dc);
    const TOnExit restored([&] { RestoreDC(dc, saved); });
    DrawButton(dc);
    const int cw = GetClientWidth();
    ExcludeClipRect(dc, cw - FSysBtnWidth - 2, 0, cw, GetClientHeight());
    PaintWindow(dc);
  }
  if (GetStyle() == csDropDown && FListShown) {
    Frame(dc, RECT{2, 2, GetWidth() - kButton - 3, GetClientHeight() - 2}, clWindow);
  } else {
    const int saved = SaveDC(dc);
    const TOnExit restored([&] { RestoreDC(dc, saved); });
    DrawFocusArea(dc);
  }
}

void TCustomFlatComboBox::WMPaint(TMessage& m) {
  m.Result = 0;
  if (m.WParam != 0) {
    // Painting into a given DC (a memory bitmap): the borders go there too.
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    RECT clip{};
    GetClipBox(dc, &clip);
    PaintClient(dc, clip);
    const int saved = SaveDC(dc);
    const TOnExit restored([&] { RestoreDC(dc, saved); });
    DrawBorders(dc);
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(WindowHandle(), &ps);
  {
    const TOnExit ended([&] { EndPaint(WindowHandle(), &ps); });
    PaintClient(dc, ps.rcPaint);
  }
  OnWindowDC([this](HDC w) { DrawBorders(w); });
}

void TCustomFlatComboBox::WMNCPaint(TMessage& m) {
  QORN_INHERITED(m);
  OnWindowDC([this](HDC w) { DrawBorders(w); });
}

void TCustomFlatComboBox::UpdateActive() {
  bool active = FListShown;
  if (HandleAllocated()) {
    HWND focus = GetFocus();
    active = active || focus == WindowHandle() || (focus && focus == GetEditHandle());
  }
  if (active == FActive) return;
  FActive = active;
  OnWindowDC([this](HDC w) { DrawBorders(w); });
}

void TCustomFlatComboBox::ComboWndProc(TMessage& m, HWND wnd, WNDPROC defProc) {
  TCustomComboBox::ComboWndProc(m, wnd, defProc);
  if (m.Msg == WM_SETFOCUS || m.Msg == WM_KILLFOCUS) UpdateActive();
}

void TCustomFlatComboBox::WMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  UpdateActive();
  OnWindowDC([this](HDC w) { DrawFocusArea(w); });
}

void TCustomFlatComboBox::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TCustomFlatComboBox::CNCommand(TMessage& m) {
  const unsigned code = HIWORD(m.WParam);
  // The arrow turns with the list, before the handlers of the platform hear of it.
  if (code == CBN_DROPDOWN) FListShown = true;
  if (code == CBN_CLOSEUP) FListShown = false;
  QORN_INHERITED(m);
  switch (code) {
    case CBN_SELCHANGE:
    case CBN_DROPDOWN:
    case CBN_SELENDOK:
      UpdateActive();
      OnWindowDC([this](HDC w) {
        DrawButton(w);
        DrawFocusArea(w);
      });
      break;
    case CBN_CLOSEUP: {
      UpdateActive();
      if (!HandleAllocated()) break;
      TRect b = ButtonRect();
      RECT r{b.Left - 2, b.Top, b.Right, b.Bottom};
      InvalidateRect(WindowHandle(), &r, FALSE);
      break;
    }
  }
}

void TCustomFlatComboBox::WMKeyDown(TMessage& m) {
  const std::wstring before = GetText();
  QORN_INHERITED(m);
  if (HasFocusStrip() && GetText() != before) OnWindowDC([this](HDC w) { DrawFocusArea(w); });
}

void TCustomFlatComboBox::WMWindowPosChanging(TMessage& m) {
  HWND edit = GetEditHandle();
  if (edit && (GetStyle() == csDropDown || GetStyle() == csSimple)) {
    // The inner edit ends before the focus strip and the flat button.
    ::SetWindowPos(edit, nullptr, 0, 0, GetClientWidth() - kButton - 8, GetHeight() - 6,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  QORN_INHERITED(m);
}

void TCustomFlatComboBox::WMCtlColorListBox(TMessage& m) {
  QORN_INHERITED(m);
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  SetBkColor(dc, ColorToRGB(GetColor()));
  // The control's own brush: made once per colour and freed with the control, as
  // the list asks for it on every paint.
  m.Result = reinterpret_cast<intptr_t>(BrushHandle());
}

void TCustomFlatComboBox::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  SetItemHeight(13);
  if (HandleAllocated() && !ComponentState().Contains(csLoading)) RecreateWnd();
}

void TCustomFlatComboBox::CMColorsFollow(TMessage& m) {
  QORN_INHERITED(m);
  if (FUseAdvColors) RecomputeColors();
  Invalidate();
}

void TCustomFlatComboBox::Publish(TPublisher<TCustomFlatComboBox>& p) {
  using T = TCustomFlatComboBox;
  p.Message(WM_PAINT, &T::WMPaint);
  p.Message(WM_NCPAINT, &T::WMNCPaint);
  p.Message(WM_SETFOCUS, &T::WMFocusChanged);
  p.Message(WM_KILLFOCUS, &T::WMFocusChanged);
  p.Message(WM_KEYDOWN, &T::WMKeyDown);
  p.Message(WM_WINDOWPOSCHANGING, &T::WMWindowPosChanging);
  p.Message(WM_CTLCOLORLISTBOX, &T::WMCtlColorListBox);
  p.Message(CN_COMMAND, &T::CNCommand);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(CM_SYSCOLORCHANGE, &T::CMColorsFollow);
  p.Message(CM_PARENTCOLORCHANGED, &T::CMColorsFollow);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Default(kFlatComboColor).Idents(ColorIdents).Stored(&T::ColorStored);
  p.Property(L"ItemHeight", &T::GetItemHeight, &T::SetItemHeight).Default(13);
  p.Property(L"ColorArrow", &T::GetColorArrow, &T::SetColorArrow).Default(clBlack).Idents(ColorIdents);
  p.Property(L"ColorArrowBackground", &T::GetColorArrowBackground, &T::SetColorArrowBackground)
      .Default(kFlatComboArrowBackground)
      .Idents(ColorIdents);
  p.Property(L"ColorBorder", &T::GetColorBorder, &T::SetColorBorder).Default(kFlatComboBorder).Idents(ColorIdents);
  p.Property(L"AdvColorBorder", &T::GetAdvColorBorder, &T::SetAdvColorBorder).Default(50);
  p.Property(L"AdvColorArrowBackground", &T::GetAdvColorArrowBackground, &T::SetAdvColorArrowBackground).Default(10);
  p.Property(L"UseAdvColors", &T::GetUseAdvColors, &T::SetUseAdvColors).Default(false);
}

}  // namespace Flat
