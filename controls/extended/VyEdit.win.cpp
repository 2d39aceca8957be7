#include "controls/extended/VyEdit.h"

#include "controls/extended/VyGrafxGlyphs.h"
#include "vcl/Filer.h"
#include "vcl/ScopeGuards.h"
#include "vcl/Themes.h"

#include <vssym32.h>

namespace Vy {

TVyCustomEdit::TVyCustomEdit(TComponent* AOwner) : TCustomMaskEdit(AOwner) {
  ControlStyle.Exclude(csSetCaption);
  ControlStyle.Include(csCaptureMouse);
  SetBounds(0, 0, 121, 21);
}

TVyCustomEdit::~TVyCustomEdit() { LinkFrameController(this, FFrameController, nullptr); }

void TVyCustomEdit::Publish(TPublisher<TVyCustomEdit>& p) {
  using T = TVyCustomEdit;
  p.Message(WM_NCCALCSIZE, &T::WMNCCalcSize);
  p.Message(WM_NCHITTEST, &T::WMNCHitTest);
  p.Message(WM_NCPAINT, &T::WMNCPaint);
  p.Message(WM_SETCURSOR, &T::WMSetCursor);
  p.Message(WM_LBUTTONDOWN, &T::WMLButtonDown);
  p.Message(WM_LBUTTONDBLCLK, &T::WMLButtonDown);
  p.Message(WM_LBUTTONUP, &T::WMLButtonUp);
  p.Message(WM_RBUTTONDOWN, &T::WMRButtonDown);
  p.Message(WM_KILLFOCUS, &T::WMKillFocus);
  p.Message(WM_SIZE, &T::WMSize);
  p.Message(CM_ENTER, &T::CMEnter);
  p.Message(CM_EXIT, &T::CMExit);
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Message(CM_PARENTCOLORCHANGED, &T::CMParentColorChanged);
  p.Property(L"Alignment", &T::GetAlignment, &T::SetAlignment).Default(taLeftJustify);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Default(clWindow).Stored(&T::IsFramingStored).Idents(ColorIdents);
  p.Property(L"DisabledColor", &T::GetDisabledColor, &T::SetDisabledColor)
      .Default(clBtnFace)
      .Stored(&T::IsFramingStored)
      .Idents(ColorIdents);
  p.Property(L"FocusColor", &T::GetFocusColor, &T::SetFocusColor).Stored(&T::IsFocusColorStored).Idents(ColorIdents);
  p.Property(L"FrameColor", &T::GetFrameColor, &T::SetFrameColor)
      .Default(clBtnShadow)
      .Stored(&T::IsFramingStored)
      .Idents(ColorIdents);
  p.Property(L"FrameController", &T::GetFrameController, &T::SetFrameController);
  p.Property(L"FrameHotColor", &T::GetFrameHotColor, &T::SetFrameHotColor)
      .Default(clBtnShadow)
      .Stored(&T::IsFramingStored)
      .Idents(ColorIdents);
  p.Property(L"FrameHotTrack", &T::GetFrameHotTrack, &T::SetFrameHotTrack).Default(false).Stored(&T::IsFramingStored);
  p.Property(L"FrameHotStyle", &T::GetFrameHotStyle, &T::SetFrameHotStyle)
      .Default(fsFlatBold)
      .Stored(&T::IsFramingStored);
  p.Property(L"FrameSides", &T::GetFrameSides, &T::SetFrameSides).Default(AllSides).Stored(&T::IsFramingStored);
  p.Property(L"FrameStyle", &T::GetFrameStyle, &T::SetFrameStyle).Default(fsFlat).Stored(&T::IsFramingStored);
  p.Property(L"FrameVisible", &T::GetFrameVisible, &T::SetFrameVisible).Default(false).Stored(&T::IsFramingStored);
  p.Property(L"FramingPreference", &T::GetFramingPreference, &T::SetFramingPreference).Default(fpXPThemes);
  p.Property(L"TabOnEnter", &T::GetTabOnEnter, &T::SetTabOnEnter).Default(false);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
}

void TVyCustomEdit::DefineProperties(TFiler& Filer) {
  TCustomMaskEdit::DefineProperties(Filer);
  DefineOldFrameProperties(
      Filer, [this](bool v) { SetFrameHotTrack(v); }, [this](TFrameStyle v) { SetFrameStyle(v); },
      [this](TFrameStyle v) { SetFrameHotStyle(v); });
}

bool TVyCustomEdit::IsFocusColorStored() const {
  return !FramedByController() && ColorToRGB(FFocusColor) != ColorToRGB(FPlainColor);
}

void TVyCustomEdit::CreateParams(TCreateParams& params) {
  TCustomMaskEdit::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.Style &= ~static_cast<DWORD>(ES_MULTILINE);
  if (FAlignment == taRightJustify) params.Style |= ES_RIGHT;
}

void TVyCustomEdit::Loaded() {
  TCustomMaskEdit::Loaded();
  ApplyStateColor();
  NoteActivity(false, false);
}

void TVyCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomMaskEdit::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFrameController) FFrameController = nullptr;
}

bool TVyCustomEdit::UsesThemedFrame() const {
  return FFramingPreference == fpXPThemes && ThemeServices().ThemesEnabled();
}

void TVyCustomEdit::RedrawFrame() {
  if (!HandleAllocated()) return;
  RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

void TVyCustomEdit::RequestNCPaint() {
  if (HandleAllocated()) SendMessageW(WindowHandle(), WM_NCPAINT, 0, 0);
}

// --- colours and state

void TVyCustomEdit::ApplyStateColor() {
  if (Loading()) return;
  FApplyingColor = true;
  const TOnExit applied([this] { FApplyingColor = false; });
  TControl::SetColor(!GetEnabled() ? FDisabledColor : FHasFocus ? FFocusColor : FPlainColor);
}

void TVyCustomEdit::SetColor(TColor v) {
  if (v == FPlainColor) return;
  if (FFocusColor == FPlainColor) FFocusColor = v;
  FPlainColor = v;
  if (Loading()) {
    TControl::SetColor(v);
    return;
  }
  // The state's colour stays on screen; the idle edit shows the new one.
  ApplyStateColor();
  if (FFrameVisible && !UsesThemedFrame()) RedrawFrame();
}

void TVyCustomEdit::SetDisabledColor(TColor v) {
  if (FDisabledColor == v) return;
  FDisabledColor = v;
  if (!GetEnabled()) ApplyStateColor();
}

void TVyCustomEdit::SetFocusColor(TColor v) {
  if (FFocusColor == v) return;
  FFocusColor = v;
  if (FHasFocus) ApplyStateColor();
}

void TVyCustomEdit::NoteActivity(bool viaMouse, bool active) {
  (viaMouse ? FIsHot : FHasFocus) = active;
  if (FDropButtonVisible) {
    if ((FFlatButtons || FFrameHotTrack || ThemeServices().ThemesEnabled()) && FDropButtonState != bsDown &&
        HandleAllocated()) {
      RECT r{0, 0, GetClientWidth(), GetClientHeight()};
      if (!FFrameHotTrack) r.left = r.right - (GetSystemMetrics(SM_CXVSCROLL) + 2);
      RedrawWindow(WindowHandle(), &r, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
    }
  } else if (FFrameHotTrack) {
    RedrawFrame();
  }
  ApplyStateColor();
}

void TVyCustomEdit::CMEnter(TMessage& m) {
  NoteActivity(false, true);
  QORN_INHERITED(m);
}

void TVyCustomEdit::CMExit(TMessage& m) {
  QORN_INHERITED(m);
  NoteActivity(false, false);
}

void TVyCustomEdit::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  NoteActivity(true, true);
  FireMouseEnter();
}

void TVyCustomEdit::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  NoteActivity(true, false);
  FireMouseLeave();
}

void TVyCustomEdit::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  RequestNCPaint();
  ApplyStateColor();
}

void TVyCustomEdit::CMParentColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (GetParentColor()) {
    // The parent's colour came in as the window's: it is the idle colour now.
    const TColor parent = TControl::GetColor();
    if (FFocusColor == FPlainColor) FFocusColor = parent;
    FPlainColor = parent;
    ApplyStateColor();
  }
  if (FFrameVisible && !UsesThemedFrame()) RedrawFrame();
}

void TVyCustomEdit::WMSize(TMessage& m) {
  QORN_INHERITED(m);
  if (FFrameVisible && !UsesThemedFrame()) RedrawFrame();
}

// --- setters

void TVyCustomEdit::SetAlignment(TAlignment v) {
  if (v == taCenter) v = taLeftJustify;
  if (FAlignment == v) return;
  FAlignment = v;
  if (HandleAllocated()) RecreateWnd();
}

void TVyCustomEdit::SetFrameColor(TColor v) {
  if (FFrameColor == v) return;
  FFrameColor = v;
  RedrawFrame();
}

void TVyCustomEdit::SetFrameHotColor(TColor v) {
  if (FFrameHotColor == v) return;
  FFrameHotColor = v;
  RedrawFrame();
}

void TVyCustomEdit::SetFrameHotStyle(TFrameStyle v) {
  if (FFrameHotStyle == v) return;
  FFrameHotStyle = v;
  RedrawFrame();
}

void TVyCustomEdit::SetFrameSides(TSides v) {
  if (FFrameSides == v) return;
  FFrameSides = v;
  RedrawFrame();
}

void TVyCustomEdit::SetFrameStyle(TFrameStyle v) {
  if (FFrameStyle == v) return;
  FFrameStyle = v;
  RedrawFrame();
}

void TVyCustomEdit::SetFrameHotTrack(bool v) {
  if (FFrameHotTrack == v) return;
  FFrameHotTrack = v;
  if (v) {
    SetFrameVisible(true);
    if (!Loading()) SetFrameSides(AllSides);
  }
  RedrawFrame();
  Invalidate();
}

void TVyCustomEdit::SetFrameVisible(bool v) {
  if (FFrameVisible == v) return;
  if (v) SetCtl3D(true);
  FFrameVisible = v;
  if (HandleAllocated()) RecreateWnd();
}

void TVyCustomEdit::SetFramingPreference(TFramingPreference v) {
  if (FFramingPreference == v) return;
  FFramingPreference = v;
  if (v == fpCustomFraming) RedrawFrame();
}

void TVyCustomEdit::SetDropButtonVisible(bool v) {
  if (FDropButtonVisible == v) return;
  FDropButtonVisible = v;
  if (HandleAllocated()) RecreateWnd();
}

void TVyCustomEdit::SetFlatButtons(bool v) {
  if (FFlatButtons == v) return;
  FFlatButtons = v;
  RequestNCPaint();
}

void TVyCustomEdit::SetFlatButtonColor(TColor v) {
  if (FFlatButtonColor == v) return;
  FFlatButtonColor = v;
  RequestNCPaint();
}

// --- non-client area

int TVyCustomEdit::DropStripWidth() const {
  return GetSystemMetrics(SM_CXVSCROLL) - (ThemeServices().ThemesEnabled() ? 1 : 0);
}

void TVyCustomEdit::WMNCCalcSize(TMessage& m) {
  // Both forms of the message start with the proposed client rectangle.
  if (FDropButtonVisible) reinterpret_cast<RECT*>(m.LParam)->right -= DropStripWidth();
  QORN_INHERITED(m);
}

void TVyCustomEdit::WMNCHitTest(TMessage& m) {
  QORN_INHERITED(m);
  FOverDropButton = false;
  if (!FDropButtonVisible || !HandleAllocated()) return;
  // The strip is the part of the window right of the client area, inside the border.
  POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  ::ScreenToClient(WindowHandle(), &p);
  if (p.x >= GetClientWidth() && p.x < GetClientWidth() + DropStripWidth() && p.y >= 0 && p.y < GetClientHeight()) {
    FOverDropButton = true;
    m.Result = HTCLIENT;
  }
}

void TVyCustomEdit::WMSetCursor(TMessage& m) {
  if (FOverDropButton && LOWORD(m.LParam) == HTCLIENT) m.LParam = MAKELPARAM(HTNOWHERE, HIWORD(m.LParam));
  QORN_INHERITED(m);
}

void TVyCustomEdit::WMNCPaint(TMessage& m) {
  QORN_INHERITED(m);
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  const TOnExit released([wnd, dc] { ReleaseDC(wnd, dc); });
  TCanvas canvas;
  canvas.SetHandle(dc);
  const TOnExit detached([&canvas] { canvas.SetHandle(nullptr); });
  RECT wr{};
  GetWindowRect(wnd, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  if (FFrameVisible && !UsesThemedFrame()) {
    const bool hot = FFrameHotTrack && (FHasFocus || FIsHot);
    PaintNonClientFrame(&canvas, w, h, false, FFrameSides, hot ? FFrameHotColor : FFrameColor, TControl::GetColor(),
                        hot ? FFrameHotStyle : FFrameStyle);
    m.Result = 0;
  }
  if (FDropButtonVisible) {
    TRect r = Rect(0, 0, w, h);
    if (GetBorderStyle() == bsSingle) {
      const int in = ThemeServices().ThemesEnabled() ? 1 : 2;
      InflateRect(r, -in, -in);
      IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
    DrawButtonArea(&canvas, Rect(r.Right - GetSystemMetrics(SM_CXVSCROLL), r.Top, r.Right, r.Bottom));
    m.Result = 0;
  }
}

void TVyCustomEdit::DrawButtonArea(TCanvas* canvas, TRect r) {
  const bool pressed = FDropButtonState == bsDown, active = FHasFocus || FIsHot;
  TBrush* brush = canvas->GetBrush();
  brush->SetStyle(bsSolid);
  if (ThemeServices().ThemesEnabled()) {
    if (FFlatButtons && !active) {
      brush->SetColor(TControl::GetColor());
      canvas->FillRect(r);
      PaintDropDownArrow(canvas, r, true, GetEnabled(), false);
      return;
    }
    const int state = !GetEnabled() ? CBXS_DISABLED : pressed ? CBXS_PRESSED : active ? CBXS_HOT : CBXS_NORMAL;
    ThemeServices().DrawElement(canvas->GetHandle(),
                                ThemeServices().GetElementDetails(L"COMBOBOX", CP_DROPDOWNBUTTON, state), r);
    return;
  }
  if (!FFlatButtons) {
    brush->SetColor(clBtnFace);
    RECT rr{r.Left, r.Top, r.Right, r.Bottom};
    UINT flags = DFCS_SCROLLCOMBOBOX | (pressed ? DFCS_PUSHED | DFCS_FLAT : 0) | (GetEnabled() ? 0 : DFCS_INACTIVE);
    DrawFrameControl(canvas->GetHandle(), &rr, DFC_SCROLL, flags);
    return;
  }
  if (active) {
    TRect inner = FFlatButtonColor == clBtnFace
                      ? PaintBevel(canvas, r, pressed ? clBtnShadow : clBtnHighlight, AllSides, 1,
                                   pressed ? clBtnHighlight : clBtnShadow)
                      : PaintColorFrame(canvas, r, FFlatButtonColor, pressed ? fsStatus : fsPopup);
    brush->SetColor(FFlatButtonColor);
    canvas->FillRect(inner);
    PaintDropDownArrow(canvas, inner, false, GetEnabled(), pressed);
    return;
  }
  brush->SetColor(FHasFocus ? FFocusColor : FPlainColor);
  canvas->FillRect(r);
  PaintDropDownArrow(canvas, r, false, GetEnabled(), false);
}

// --- drop-down

void TVyCustomEdit::SetDropButtonState(TButtonState state) {
  if (FDropButtonState == state) return;
  FDropButtonState = state;
  RequestNCPaint();
}

void TVyCustomEdit::RunDropDown() {
  if (!FDropButtonVisible) return;
  const auto alive = WatchLife();
  FDropping = true;
  const TOnExit dropped([this, alive] {
    if (!alive.expired()) FDropping = false;
  });
  if (HandleAllocated()) SetCapture(WindowHandle());
  SetDropButtonState(bsDown);
  FireDropDown();
  if (alive.expired()) return;
  FireCloseUp();
  SetDropButtonState(bsUp);
}

void TVyCustomEdit::ReleaseDropButton() {
  if (!FDropping) SetDropButtonState(bsUp);
  if (HandleAllocated() && GetCapture() == WindowHandle()) ReleaseCapture();
}

void TVyCustomEdit::WMLButtonDown(TMessage& m) {
  if (FDropButtonVisible && FOverDropButton) {
    if (!Focused() && CanFocus()) SetFocus();
    RunDropDown();
    m.Result = 0;
    return;
  }
  QORN_INHERITED(m);
  if (!Focused()) ReleaseDropButton();
}

void TVyCustomEdit::WMLButtonUp(TMessage& m) {
  ReleaseDropButton();
  QORN_INHERITED(m);
}

void TVyCustomEdit::WMRButtonDown(TMessage& m) {
  if (FDropButtonVisible && FOverDropButton) {
    m.Result = 0;
    return;
  }
  QORN_INHERITED(m);
}

void TVyCustomEdit::WMKillFocus(TMessage& m) {
  QORN_INHERITED(m);
  ReleaseDropButton();
}

// --- keys

void TVyCustomEdit::KeyDown(WORD& key, TShiftState shift) {
  TCustomMaskEdit::KeyDown(key, shift);
  if (key == VK_DOWN && shift.Contains(ssAlt) && FDropButtonVisible) {
    RunDropDown();
    key = 0;
  }
}

void TVyCustomEdit::KeyPress(wchar_t& key) {
  if (FTabOnEnter && key == L'\r') {
    key = 0;
    if (HandleAllocated()) PostMessageW(WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
    return;
  }
  TCustomMaskEdit::KeyPress(key);
}

void TVyCustomEdit::ValidateError() {
  if (!OnInvalidInput) {
    TCustomMaskEdit::ValidateError();
    return;
  }
  std::wstring message;
  OnInvalidInput(this, message);
  if (message.empty()) return;
  MessageBeep(0);
  throw EDBEditError(message);
}

}  // namespace Vy
