#include "controls/extended/VyPanel.h"

#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/Themes.h"
#include "vcl/Win.h"

#include <cmath>

namespace Vy {

namespace {
// Parts of the themed status bar ("STATUS" class).
constexpr int kStatusBackground = 0;
constexpr int kStatusPane = 1;
constexpr int kStatusGripper = 3;
constexpr int kGripWidth = 13;

UINT HorizontalFlags(TAlignment a) {
  switch (a) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}
}  // namespace

TRect PanelInnerRect(TRect r, TFrameStyleEx outer, TFrameStyleEx inner, TSides sides, int bevelWidth, int borderWidth) {
  InflateRect(r, -borderWidth, -borderWidth);
  for (TFrameStyleEx style : {outer, inner}) {
    const int by = FrameStyleWidth(style, bevelWidth);
    if (sides.Contains(sdLeft)) r.Left += by;
    if (sides.Contains(sdTop)) r.Top += by;
    if (sides.Contains(sdRight)) r.Right -= by;
    if (sides.Contains(sdBottom)) r.Bottom -= by;
  }
  return r;
}

int ScaledPaneGrowth(int paneWidth, int lastWidth, int newWidth) {
  if (lastWidth <= 0) return 0;
  const float ratio = float(paneWidth) / float(lastWidth);
  return int(std::nearbyint(float(newWidth - lastWidth) * ratio));
}

// --- panel

TVyCustomPanel::TVyCustomPanel(TComponent* AOwner) : TCustomPanel(AOwner) {
  ControlStyle.Exclude(csSetCaption);
  ControlStyle.Exclude(csParentBackground);
  ControlStyle.Include(csOpaque);
  SetBevelOuter(bvNone);
}

TVyCustomPanel::~TVyCustomPanel() { LinkFrameController(this, FFrameController, nullptr); }

void TVyCustomPanel::Publish(TPublisher<TVyCustomPanel>& p) {
  using T = TVyCustomPanel;
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(WM_WINDOWPOSCHANGED, &T::WMWindowPosChanged);
  p.Message(CM_MOUSEENTER, &T::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &T::CMMouseLeave);
  p.Message(CM_ENABLEDCHANGED, &T::CMEnabledChanged);
  p.Property(L"AlignmentVertical", &T::GetAlignmentVertical, &T::SetAlignmentVertical).Default(avCenter);
  p.Property(L"BorderInner", &T::GetBorderInner, &T::SetBorderInner).Default(fsNone);
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsRaised);
  p.Property(L"BorderSides", &T::GetBorderSides, &T::SetBorderSides).Default(AllSides);
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"BorderHighlight", &T::GetBorderHighlight, &T::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"BorderShadow", &T::GetBorderShadow, &T::SetBorderShadow).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColor", &T::GetFlatColor, &T::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(30);
  p.Property(L"FrameController", &T::GetFrameController, &T::SetFrameController);
  p.Property(L"GridColor", &T::GetGridColor, &T::SetGridColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"GridStyle", &T::GetGridStyle, &T::SetGridStyle).Default(gsDots);
  p.Property(L"GridXSize", &T::GetGridXSize, &T::SetGridXSize).Default(8);
  p.Property(L"GridYSize", &T::GetGridYSize, &T::SetGridYSize).Default(8);
  p.Property(L"ShowDockClientCaptions", &T::GetShowDockClientCaptions, &T::SetShowDockClientCaptions).Default(true);
  p.Property(L"ShowGrid", &T::GetShowGrid, &T::SetShowGrid).Default(false);
  p.Property(L"Transparent", &T::GetTransparent, &T::SetTransparent).Default(false);
  p.Property(L"BevelOuter", &T::GetBevelOuter, &T::SetBevelOuter).Default(bvNone);
  p.Property(L"OnMouseEnter", &T::OnMouseEnter);
  p.Property(L"OnMouseLeave", &T::OnMouseLeave);
  p.Property(L"OnPaint", &T::OnPaint);
}

void TVyCustomPanel::DefineProperties(TFiler& Filer) {
  TCustomPanel::DefineProperties(Filer);
  // Older forms held the frame's sides under this name; BorderSides replaced it.
  Filer.DefineProperty(L"FrameSides", SkipOldStrings, nullptr, false);
}

TColor TVyCustomPanel::ParentColorValue() const { return GetParent() ? GetParent()->GetColor() : GetColor(); }

void TVyCustomPanel::SetTransparent(bool v) {
  if (v == FTransparent) return;
  FTransparent = v;
  if (v) ControlStyle.Exclude(csOpaque);
  else ControlStyle.Include(csOpaque);
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
  Invalidate();
}

TRect TVyCustomPanel::AdjustRectForBorders(TRect r, bool withBorderWidth) const {
  return PanelInnerRect(r, FBorderOuter, FBorderInner, FBorderSides, GetBevelWidth(),
                        withBorderWidth ? GetBorderWidth() : 0);
}

void TVyCustomPanel::AdjustClientRect(TRect& rect) {
  // The inherited part takes the border band (the inherited bevels are off).
  TCustomPanel::AdjustClientRect(rect);
  rect = AdjustRectForBorders(rect, false);
  if (rect.Right < rect.Left) rect.Right = rect.Left;
  if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
}

void TVyCustomPanel::SetBounds(int left, int top, int width, int height) {
  if (GetAlign() == alBottom && height != GetHeight()) top += GetHeight() - height;
  if (GetAlign() == alRight && width != GetWidth()) left += GetWidth() - width;
  TCustomPanel::SetBounds(left, top, width, height);
}

void TVyCustomPanel::FramingChanged() {
  if (!FFrameController || !FFrameController->GetFrameVisible()) return;
  FBorderOuter = FFrameController->GetFrameStyle();
  FBorderSides = FFrameController->GetFrameSides();
  FFlatColor = FFrameController->GetFrameColor();
  FFlatColorAdjustment = 0;
  SetColor(FFrameController->GetColor());
  SetParentColor(FFrameController->GetParentColor());
  FBorderHighlight = LightenColor(GetColor(), 100);
  FBorderShadow = DarkenColor(GetColor(), 50);
  // A thicker frame moves the children in.
  Realign();
  Invalidate();
}

void TVyCustomPanel::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanel::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FFrameController) FFrameController = nullptr;
  FDisabledChildren.erase(AComponent);
}

void TVyCustomPanel::Paint() {
  TCanvas* c = GetCanvas();
  TBevelBorder b;
  b.Outer = FBorderOuter;
  b.Inner = FBorderInner;
  b.CutCorners = false;
  b.TransparentCorners = FTransparent;
  b.ParentColor = ParentColorValue();
  b.ControlColor = GetColor();
  b.FlatColorAdjustment = FFlatColorAdjustment;
  b.FlatColor = FFlatColor;
  b.ShadowColor = FBorderShadow;
  b.HighlightColor = FBorderHighlight;
  b.BorderColor = FBorderColor;
  b.BevelWidth = GetBevelWidth();
  b.Sides = FBorderSides;
  b.BorderWidth = GetBorderWidth();
  const TRect inner = PaintBevelBorder(c, Rect(0, 0, GetWidth(), GetHeight()), b);
  if (!FTransparent && !inner.IsEmpty()) {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(inner);
  }
  if (FShowGrid) DrawGrid(inner);
  c->GetBrush()->SetStyle(bsClear);
  DrawCaption(inner);
  c->GetBrush()->SetStyle(bsSolid);
  if (OnPaint) OnPaint(this);
}

void TVyCustomPanel::DrawCaption(TRect rect) {
  const std::wstring text = GetCaption();
  if (text.empty()) return;
  TCanvas* c = GetCanvas();
  c->SetFont(GetFont());
  const UINT flags = DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | HorizontalFlags(GetAlignment());
  TRect r = rect;
  r.Left += 1;
  TRect m = r;
  c->DrawText(text, m, flags | DT_CALCRECT);
  const int h = m.Height();
  if (FAlignmentVertical == avCenter) {
    // An arithmetic shift: a sum below 0 rounds down, as the layout always did.
    r.Top = (r.Top + r.Bottom - h) >> 1;
    r.Bottom = r.Top + h;
  } else if (FAlignmentVertical == avBottom) {
    r.Top = r.Bottom - h - 1;
  }
  if (!GetEnabled()) {
    TRect light(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    c->GetFont()->SetColor(clBtnHighlight);
    c->DrawText(text, light, flags);
    c->GetFont()->SetColor(clBtnShadow);
  }
  c->DrawText(text, r, flags);
}

void TVyCustomPanel::DrawGrid(TRect r) {
  TCanvas* c = GetCanvas();
  const int nx = FGridXSize > 0 ? r.Width() / FGridXSize : 0;
  const int ny = FGridYSize > 0 ? r.Height() / FGridYSize : 0;
  c->GetPen()->SetColor(FGridColor);
  c->GetPen()->SetWidth(1);
  if (FGridStyle == gsDots) {
    for (int i = 1; i <= nx; ++i)
      for (int j = 1; j <= ny; ++j) c->SetPixel(r.Left + i * FGridXSize - 1, r.Top + j * FGridYSize - 1, FGridColor);
    return;
  }
  for (int i = 1; i <= nx; ++i) {
    const int x = r.Left + i * FGridXSize - 1;
    if (FGridStyle == gsSolidLines) {
      c->MoveTo(x, r.Top);
      c->LineTo(x, r.Bottom);
    } else {
      DottedVertLine(c, x, r.Top, r.Bottom, FGridColor);
    }
  }
  for (int j = 1; j <= ny; ++j) {
    const int y = r.Top + j * FGridYSize - 1;
    if (FGridStyle == gsSolidLines) {
      c->MoveTo(r.Left, y);
      c->LineTo(r.Right, y);
    } else {
      DottedHorzLine(c, y, r.Left, r.Right, FGridColor);
    }
  }
}

void TVyCustomPanel::WMEraseBkgnd(TMessage& m) {
  if (!FTransparent) {
    QORN_INHERITED(m);
    return;
  }
  PaintParentBackground(this, reinterpret_cast<HDC>(m.WParam), true);
  m.Result = 1;
}

void TVyCustomPanel::WMWindowPosChanged(TMessage& m) {
  const int oldWidth = GetWidth(), oldHeight = GetHeight();
  QORN_INHERITED(m);
  // The frame's right and bottom sides move with the size: drawn again wholly, so no
  // old frame line stays behind inside.
  if (HandleAllocated() && (GetWidth() != oldWidth || GetHeight() != oldHeight || !GetCaption().empty())) Invalidate();
}

void TVyCustomPanel::CMMouseEnter(TMessage& m) {
  QORN_INHERITED(m);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TVyCustomPanel::CMMouseLeave(TMessage& m) {
  QORN_INHERITED(m);
  if (OnMouseLeave) OnMouseLeave(this);
}

void TVyCustomPanel::CMEnabledChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (!GetEnabled()) {
    for (TComponent* c : FDisabledChildren) c->RemoveFreeNotification(this);
    FDisabledChildren.clear();
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* child = Controls(i);
      if (!child->GetEnabled()) {
        FDisabledChildren.insert(child);
        child->FreeNotification(this);
      }
      child->SetEnabled(false);
    }
  } else {
    // Every child that is here now and was not disabled before: a child added while
    // the panel was disabled comes up enabled with it.
    for (int i = 0; i < ControlCount(); ++i)
      if (!FDisabledChildren.count(Controls(i))) Controls(i)->SetEnabled(true);
    for (TComponent* c : FDisabledChildren) c->RemoveFreeNotification(this);
    FDisabledChildren.clear();
  }
  Invalidate();
}

// --- status bar

TVyStatusBar::TVyStatusBar(TComponent* AOwner) : TVyCustomPanel(AOwner) {
  SetAlign(alBottom);
  ApplyDefaultStyle();
}

void TVyStatusBar::Publish(TPublisher<TVyStatusBar>& p) {
  using T = TVyStatusBar;
  p.Message(WM_PAINT, &T::WMPaint);
  p.Message(WM_LBUTTONDOWN, &T::WMLButtonDown);
  p.Message(WM_SETCURSOR, &T::WMSetCursor);
  p.Property(L"Align", &T::GetAlign, &T::SetAlign).Default(alBottom);
  p.Property(L"AutoScalePanes", &T::GetAutoScalePanes, &T::SetAutoScalePanes).Default(false);
  p.Property(L"AutoStyle", &T::GetAutoStyle, &T::SetAutoStyle).Default(true);
  p.Property(L"ShowSizeGrip", &T::GetShowSizeGrip, &T::SetShowSizeGrip).Default(true);
  p.Property(L"SimpleCaption", &T::GetSimpleCaption, &T::SetSimpleCaption);
  p.Property(L"SimpleFrameStyle", &T::GetSimpleFrameStyle, &T::SetSimpleFrameStyle).Default(fsFlat);
  p.Property(L"SimpleStatus", &T::GetSimpleStatus, &T::SetSimpleStatus).Default(false);
  p.Property(L"ThemeAware", &T::GetThemeAware, &T::SetThemeAware).Default(true);
}

void TVyStatusBar::ApplyDefaultStyle() {
  FApplyingStyle = true;
  TVyCustomPanel::SetBorderInner(fsNone);
  TVyCustomPanel::SetBorderOuter(fsNone);
  TVyCustomPanel::SetBorderSides(AllSides);
  SetHeight(19);
  SetBorderWidth(0);
  FApplyingStyle = false;
}

void TVyStatusBar::SetAutoStyle(bool v) {
  if (v == FAutoStyle) return;
  FAutoStyle = v;
  if (v && !ComponentState().Contains(csLoading)) ApplyDefaultStyle();
}

void TVyStatusBar::SetBorderInner(TFrameStyleEx v) {
  if (v == GetBorderInner()) return;
  TVyCustomPanel::SetBorderInner(v);
  if (!FApplyingStyle) FAutoStyle = false;
}

void TVyStatusBar::SetBorderOuter(TFrameStyleEx v) {
  if (v == GetBorderOuter()) return;
  TVyCustomPanel::SetBorderOuter(v);
  if (!FApplyingStyle) FAutoStyle = false;
}

void TVyStatusBar::SetBorderSides(TSides v) {
  if (v == GetBorderSides()) return;
  TVyCustomPanel::SetBorderSides(v);
  if (!FApplyingStyle) FAutoStyle = false;
}

void TVyStatusBar::Loaded() {
  TVyCustomPanel::Loaded();
  if (FAutoStyle) ApplyDefaultStyle();
}

void TVyStatusBar::SetShowSizeGrip(bool v) {
  if (v == FShowSizeGrip) return;
  FShowSizeGrip = v;
  UpdateGrip();
  Invalidate();
}

void TVyStatusBar::SetSimpleCaption(const std::wstring& v) {
  if (v == FSimpleCaption) return;
  FSimpleCaption = v;
  Invalidate();
}

void TVyStatusBar::SetSimpleStatus(bool v) {
  if (v == FSimpleStatus) return;
  FSimpleStatus = v;
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(!v);
  Realign();
  Invalidate();
}

bool TVyStatusBar::Themed() const { return FThemeAware && ThemeServices().ThemesEnabled(); }

TRect TVyStatusBar::GetClientRect() const {
  TRect r = TVyCustomPanel::GetClientRect();
  if (!ThemeServices().ThemesEnabled()) {
    r.Bottom += 1;
    if (FSimpleStatus) {
      r.Top = 2;
    } else {
      r.Top = 1;
      r.Left -= 1;
      r.Right += 1;
    }
  } else if (FSimpleStatus) {
    r.Left += 1;
    r.Top += 1;
    r.Right -= 1;
  }
  return r;
}

bool TVyStatusBar::GripValid() const {
  TCustomForm* form = GetParentForm(const_cast<TVyStatusBar*>(this));
  if (!form) return false;
  const TFormBorderStyle style = form->GetBorderStyle();
  return (style == bsSizeable || style == bsSizeToolWin) && form->GetWindowState() != wsMaximized;
}

void TVyStatusBar::UpdateGrip() { FGripValid = GripValid(); }

void TVyStatusBar::CreateWnd() {
  TVyCustomPanel::CreateWnd();
  UpdateGrip();
}

bool TVyStatusBar::InGrip(TPoint p) const {
  return p.X >= GetWidth() - kGripWidth && p.X < GetWidth() && p.Y >= 0 && p.Y < GetHeight();
}

void TVyStatusBar::Resize() {
  TVyCustomPanel::Resize();
  const int width = GetWidth();
  // Sizes given before the bar has a window are its setting up (construction, the form
  // being read), not resizes; the first one with a window only records the width, or
  // the panes would grow by the ratio of the default width to the first real one.
  if (!HandleAllocated()) {
    FFirstResize = true;
    return;
  }
  if (FFirstResize) {
    FFirstResize = false;
    FLastWidth = width;
    return;
  }
  if (FAutoScalePanes && ControlCount() > 0 && width != FLastWidth) {
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* pane = Controls(i);
      pane->SetWidth(pane->GetWidth() + ScaledPaneGrowth(pane->GetWidth(), FLastWidth, width));
    }
    EnableAlign();
  }
  FLastWidth = width;
}

void TVyStatusBar::DrawSimpleFrame(TRect r) {
  TCanvas* c = GetCanvas();
  if (Themed()) {
    ThemeServices().DrawElement(c->GetHandle(), ThemeServices().GetElementDetails(L"STATUS", kStatusPane, 0), r);
    return;
  }
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(r);
  c->GetPen()->SetWidth(1);
  if (FSimpleFrameStyle == fsFlat) {
    c->GetPen()->SetColor(AdjustColorBy(GetFlatColor(), GetFlatColorAdjustment()));
    c->MoveTo(r.Left + 1, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->MoveTo(r.Left + 1, r.Bottom - 1);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->MoveTo(r.Left, r.Top + 1);
    c->LineTo(r.Left, r.Bottom - 1);
    c->MoveTo(r.Right - 1, r.Top + 1);
    c->LineTo(r.Right - 1, r.Bottom - 1);
  } else {
    PaintFrame(c, r, FSimpleFrameStyle);
  }
}

void TVyStatusBar::Paint() {
  TCanvas* c = GetCanvas();
  if (Themed()) {
    TThemeServices& t = ThemeServices();
    t.DrawElement(c->GetHandle(), t.GetElementDetails(L"STATUS", kStatusBackground, 0),
                  Rect(0, 0, GetWidth(), GetHeight()));
    if (FSimpleStatus && !FSimpleCaption.empty())
      t.DrawText(c->GetHandle(), t.GetElementDetails(L"STATUS", kStatusPane, 0), FSimpleCaption, GetClientRect(),
                 DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (OnPaint) OnPaint(this);
    return;
  }
  TVyCustomPanel::Paint();
  if (!FSimpleStatus) return;
  TRect r = GetClientRect();
  r.Bottom -= 1;
  DrawSimpleFrame(r);
  InflateRect(r, -1, -1);
  c->SetFont(GetFont());
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->TextOut(r.Left + 2, r.Top + (r.Height() - c->TextHeight(L"Pp")) / 2, FSimpleCaption);
}

void TVyStatusBar::PaintGrip(HDC dc) {
  TRect r = GetClientRect();
  r.Bottom -= 1;
  if (Themed()) {
    ThemeServices().DrawElement(dc, ThemeServices().GetElementDetails(L"STATUS", kStatusGripper, 0),
                                Rect(r.Right - 20, r.Top, r.Right, r.Bottom));
    return;
  }
  const int R = r.Right, B = r.Bottom;
  const TPoint squares[] = {{R - 5, B - 12}, {R - 5, B - 8}, {R - 5, B - 4},
                            {R - 9, B - 8},  {R - 9, B - 4}, {R - 13, B - 4}};
  for (TColor color : {clBtnHighlight, clBtnShadow}) {
    const int shift = color == clBtnShadow ? -1 : 0;
    HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
    for (const TPoint& s : squares) {
      RECT sq{s.X + shift, s.Y + shift, s.X + shift + 2, s.Y + shift + 2};
      FillRect(dc, &sq, brush);
    }
    DeleteObject(brush);
  }
}

void TVyStatusBar::WMPaint(TMessage& m) {
  UpdateGrip();
  QORN_INHERITED(m);
  if (!FShowSizeGrip || !FGripValid) return;
  // The grip goes over everything the bar and its panes drew.
  if (m.WParam) {
    PaintGrip(reinterpret_cast<HDC>(m.WParam));
  } else if (HandleAllocated()) {
    HDC dc = GetDC(GetHandle());
    PaintGrip(dc);
    ReleaseDC(GetHandle(), dc);
  }
}

void TVyStatusBar::WMLButtonDown(TMessage& m) {
  const TPoint p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
  TCustomForm* form = GetParentForm(this);
  if (FShowSizeGrip && FGripValid && form && InGrip(p)) {
    // Sizing from the bottom-right corner, as the form's own corner would.
    ReleaseCapture();
    SendMessageW(form->GetHandle(), WM_SYSCOMMAND, SC_SIZE + 8, 0);
    return;
  }
  QORN_INHERITED(m);
}

void TVyStatusBar::WMSetCursor(TMessage& m) {
  POINT pt;
  if (FShowSizeGrip && FGripValid && GetCursorPos(&pt) && ::ScreenToClient(GetHandle(), &pt) && InGrip({pt.x, pt.y})) {
    ::SetCursor(CursorHandle(crSizeNWSE));
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

}  // namespace Vy
