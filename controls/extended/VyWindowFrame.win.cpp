#include "controls/extended/VyWindowFrame.h"

#include "vcl/Filer.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Themes.h"

namespace Vy {

TVyWindowFrame::TVyWindowFrame(TWinControl* control) : FControl(control), FFrameCanvas(new TCanvas) {}

void TVyWindowFrame::SetColor(TColor v) {
  if (v == FControl->GetColor()) {
    if (!FColorUpdating) FIdleColor = v;
    return;
  }
  FControl->SetColor(v);
  if (!FColorUpdating) {
    if (FFocusColor == FIdleColor) FFocusColor = v;
    FIdleColor = v;
  }
  if (FFrameVisible && !ThemesInUse()) RedrawFrame();
}

void TVyWindowFrame::SetDisabledColor(TColor v) {
  if (FDisabledColor == v) return;
  FDisabledColor = v;
  if (!FControl->GetEnabled()) UpdateColors();
}

void TVyWindowFrame::SetFocusColor(TColor v) {
  if (FFocusColor == v) return;
  FFocusColor = v;
  if (FControl->Focused()) UpdateColors();
}

bool TVyWindowFrame::IsFocusColorStored() const {
  return !FFrameController && ColorToRGB(FFocusColor) != ColorToRGB(FIdleColor);
}

void TVyWindowFrame::SetFrameColor(TColor v) { ChangeFrame(FFrameColor, v); }
void TVyWindowFrame::SetFrameHotColor(TColor v) { ChangeFrame(FFrameHotColor, v); }
void TVyWindowFrame::SetFrameHotStyle(TFrameStyle v) { ChangeFrame(FFrameHotStyle, v); }
void TVyWindowFrame::SetFrameSides(TSides v) { ChangeFrame(FFrameSides, v); }
void TVyWindowFrame::SetFrameStyle(TFrameStyle v) { ChangeFrame(FFrameStyle, v); }
void TVyWindowFrame::SetFramingPreference(TFramingPreference v) { ChangeFrame(FFramingPreference, v); }

void TVyWindowFrame::SetFrameController(TVyFrameController* v) { LinkFrameController(FControl, FFrameController, v); }

void TVyWindowFrame::UnlinkFrameController() { LinkFrameController(FControl, FFrameController, nullptr); }

void TVyWindowFrame::FrameNotification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component == FFrameController) FFrameController = nullptr;
}

void TVyWindowFrame::SetFrameHotTrack(bool v) {
  if (FFrameHotTrack == v) return;
  FFrameHotTrack = v;
  if (v) {
    SetFrameVisible(true);
    if (!Loading()) FFrameSides = AllSides;
  }
  RedrawFrame();
  FControl->Invalidate();
}

void TVyWindowFrame::SetFrameVisible(bool v) {
  if (FFrameVisible == v) return;
  FFrameVisible = v;
  FrameVisibleChanged();
}

bool TVyWindowFrame::ThemesInUse() const { return FFramingPreference == fpXPThemes && ThemeServices().ThemesEnabled(); }

bool TVyWindowFrame::FrameIsHot() const { return FFrameHotTrack && (FControl->Focused() || FHoverControl); }

void TVyWindowFrame::UpdateColors() {
  if (Loading()) return;
  FColorUpdating = true;
  TOnExit done([this] { FColorUpdating = false; });
  if (!FControl->GetEnabled()) SetColor(FDisabledColor);
  else if (FControl->Focused()) SetColor(FFocusColor);
  else SetColor(FIdleColor);
}

void TVyWindowFrame::UpdateFrame(bool changeOverControl, bool over) {
  if (changeOverControl) FHoverControl = over;
  if (FFrameHotTrack) RedrawFrame();
  UpdateColors();
}

void TVyWindowFrame::RedrawFrame() {
  if (!FControl->HandleAllocated()) return;
  const RECT r{0, 0, FControl->GetWidth(), FControl->GetHeight()};
  RedrawWindow(FControl->GetHandle(), &r, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TVyWindowFrame::MouseEntered() {
  if (OnMouseEnter) OnMouseEnter(FControl);
}

void TVyWindowFrame::MouseLeft() {
  if (OnMouseLeave) OnMouseLeave(FControl);
}

void TVyWindowFrame::PaintFrame(TMessage& m) {
  if (!FFrameVisible || ThemesInUse()) return;
  HWND wnd = FControl->GetHandle();
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  TOnExit release([&] {
    FFrameCanvas->SetHandle(nullptr);
    ReleaseDC(wnd, dc);
  });
  FFrameCanvas->SetHandle(dc);
  const bool hot = FrameIsHot();
  PaintNonClientFrame(FFrameCanvas.get(), FControl->GetWidth(), FControl->GetHeight(), false, FFrameSides,
                      hot ? FFrameHotColor : FFrameColor, FControl->GetColor(), hot ? FFrameHotStyle : FFrameStyle);
  m.Result = 0;
}

void TVyWindowFrame::FramedWndProc(TMessage& m, const std::function<void()>& inherited) {
  switch (m.Msg) {
    case CM_ENTER:
      UpdateFrame(false, true);
      inherited();
      break;
    case CM_EXIT:
      inherited();
      UpdateFrame(false, false);
      break;
    case CM_MOUSEENTER:
      inherited();
      UpdateFrame(true, true);
      MouseEntered();
      break;
    case CM_MOUSELEAVE:
      inherited();
      UpdateFrame(true, false);
      MouseLeft();
      break;
    case CM_ENABLEDCHANGED:
      inherited();
      UpdateColors();
      break;
    case WM_NCPAINT:
      inherited();
      PaintFrame(m);
      break;
    case WM_SIZE:
      inherited();
      if (FFrameVisible && !ThemesInUse()) RedrawFrame();
      break;
    case CM_PARENTCOLORCHANGED:
      inherited();
      if (FFrameVisible) RedrawFrame();
      break;
    case CM_SYSCOLORCHANGE:
      inherited();
      // A system colour may have changed its value.
      if ((FControl->GetColor() & clSystemColor) == clSystemColor) FControl->Perform(CM_COLORCHANGED);
      break;
    default: inherited();
  }
}

void TVyWindowFrame::DefineObsoleteFrameProperties(TFiler& filer) {
  filer.DefineProperty(
      L"FrameFlat",
      [this](TReader& r) {
        if (!r.ReadBoolean()) return;
        SetFrameHotTrack(true);
        SetFrameStyle(fsStatus);
        SetFrameHotStyle(fsLowered);
      },
      nullptr, false);
  filer.DefineProperty(
      L"FrameFocusStyle", [this](TReader& r) { SetFrameHotStyle(ReadOldFrameStyle(r)); }, nullptr, false);
  filer.DefineProperty(L"FrameFlatStyle", SkipOldIdent, nullptr, false);
}

}  // namespace Vy
