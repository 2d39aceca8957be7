// The group bar: its groups in order, their layout, the scrolling and the frame.
#include "controls/extended/VyGroupBar.h"

#include "vcl/ScopeGuards.h"
#include "vcl/Themes.h"

#include <algorithm>

namespace Vy {

// --- bar ----------------------------------------------------------------------------

TVyGroupBar::TVyGroupBar(TComponent* AOwner)
    : TCustomControl(AOwner), FSmallLink(std::make_unique<TChangeLink>()), FLargeLink(std::make_unique<TChangeLink>()) {
  ControlStyle >> csAcceptsControls;
  ControlStyle >> csSetCaption;
  DoubleBuffered = true;
  SetColor(clBtnShadow);
  SetParentColor(false);
  SetTabStop(false);
  SetBounds(0, 0, 160, 200);
  SetAlign(alLeft);
  FSmallLink->OnChange = TNotifyEvent(this, &TVyGroupBar::ImagesChanged);
  FLargeLink->OnChange = TNotifyEvent(this, &TVyGroupBar::ImagesChanged);
}

TVyGroupBar::~TVyGroupBar() {
  for (TVyGroup* g : FGroups) g->FGroupBar = nullptr;
  FGroups.clear();
  SetImageListSlot(FSmallImages, nullptr, nullptr, FSmallLink.get(), this);
  SetImageListSlot(FLargeImages, nullptr, nullptr, FLargeLink.get(), this);
}

void TVyGroupBar::Publish(TPublisher<TVyGroupBar>& p) {
  using T = TVyGroupBar;
  p.Message(WM_VSCROLL, &T::WMVScroll);
  p.Message(WM_NCCALCSIZE, &T::WMNCCalcSize);
  p.Message(WM_NCPAINT, &T::WMNCPaint);
  p.Message(WM_NCHITTEST, &T::WMNCHitTest);
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(CM_COLORCHANGED, &T::CMColorChanged);
  p.Message(CM_FOCUSCHANGED, &T::CMFocusChanged);
  p.Message(CM_VYITEMSELECTED, &T::CMItemSelected);
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption);
  p.Property(L"Align", &T::GetAlign, &T::SetAlign).Default(alLeft);
  p.Property(L"Width", &T::GetWidth, &T::SetWidth).Default(160);
  p.Property(L"TabStop", &T::GetTabStop, &T::SetTabStop).Default(false);
  p.Property(L"BevelWidth", &T::GetBevelWidth, &T::SetBevelWidth).Default(1);
  p.Property(L"BorderColor", &T::GetBorderColor, &T::SetBorderColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"BorderHighlight", &T::GetBorderHighlight, &T::SetBorderHighlight)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"BorderInner", &T::GetBorderInner, &T::SetBorderInner).Default(fsNone);
  p.Property(L"BorderOuter", &T::GetBorderOuter, &T::SetBorderOuter).Default(fsNone);
  p.Property(L"BorderShadow", &T::GetBorderShadow, &T::SetBorderShadow).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"BorderSides", &T::GetBorderSides, &T::SetBorderSides).Default(AllSides);
  p.Property(L"BorderWidth", &T::GetBorderWidth, &T::SetBorderWidth).Default(0);
  p.Property(L"ColorAdjustment", &T::GetColorAdjustment, &T::SetColorAdjustment).Default(30);
  p.Property(L"ExclusiveMode", &T::GetExclusiveMode, &T::SetExclusiveMode).Default(false);
  p.Property(L"FlatColor", &T::GetFlatColor, &T::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(30);
  p.Property(L"GradientPath", &T::GetGradientPath, &T::SetGradientPath).Default(gpTopToBottom);
  p.Property(L"GroupBorderSize", &T::GetGroupBorderSize, &T::SetGroupBorderSize);
  p.Property(L"LargeImages", &T::GetLargeImages, &T::SetLargeImages);
  p.Property(L"SmallImages", &T::GetSmallImages, &T::SetSmallImages);
  p.Property(L"UseGradients", &T::GetUseGradients, &T::SetUseGradients);
  // After GroupBorderSize and UseGradients, before Color: the style's border size and
  // gradient flag win, the form's own Color wins.
  p.Property(L"Style", &T::GetStyle, &T::SetStyle).Default(gbsCategoryView);
  p.Property(L"Color", &T::GetColor, &T::SetColor).Idents(ColorIdents);
  p.Property(L"ThemeAware", &T::GetThemeAware, &T::SetThemeAware).Default(true);
}

bool TVyGroupBar::Loading() const {
  auto loading = [](const TComponent* c) {
    return c->ComponentState().Contains(csLoading) || c->ComponentState().Contains(csReading);
  };
  return loading(this) || (GetParent() && loading(GetParent()));
}

bool TVyGroupBar::Themed() const { return FThemeAware && ThemeServices().ThemesEnabled(); }

TVyGroup* TVyGroupBar::GetGroup(int index) const {
  if (index < 0 || index >= GetGroupCount()) throw EListError(SListIndexError, {index});
  return FGroups[size_t(index)];
}

void TVyGroupBar::AddGroup(TVyGroup* group) {
  FGroups.push_back(group);
  FPlaces.clear();
  group->FGroupBar = this;
  group->SetParent(this);
  group->SetGroupStyle(FStyle);
  group->SetVisible(true);
  Realign();
}

void TVyGroupBar::RemoveGroup(TVyGroup* group) {
  const auto it = std::find(FGroups.begin(), FGroups.end(), group);
  if (it == FGroups.end()) return;
  const bool oneOpen = FStyle == gbsOutlook || (FStyle == gbsCategoryView && FExclusiveMode);
  const int index = int(it - FGroups.begin());
  int firstOpen = -1;
  for (size_t i = 0; i < FGroups.size() && firstOpen < 0; ++i) {
    if (FGroups[i]->FOpened) firstOpen = int(i);
  }
  group->FGroupBar = nullptr;
  if (!group->ComponentState().Contains(csDestroying)) {
    group->SetVisible(false);
    group->SetParent(nullptr);
  }
  FGroups.erase(FGroups.begin() + index);
  FPlaces.clear();
  if (oneOpen && index == firstOpen && !FGroups.empty()) {
    TVyGroup* next = FGroups[size_t(std::max(0, index - 1))];
    next->FOpened = false;
    next->SetOpened(true);
  }
  Realign();
}

void TVyGroupBar::MoveGroup(TVyGroup* group, int index) {
  const auto it = std::find(FGroups.begin(), FGroups.end(), group);
  if (it == FGroups.end()) return;
  FGroups.erase(it);
  index = std::clamp(index, 0, GetGroupCount());
  FGroups.insert(FGroups.begin() + index, group);
  FPlaces.clear();
  FReordering = true;
  const TOnExit done([this] { FReordering = false; });
  Realign();
}

void TVyGroupBar::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TVyGroup* g : FGroups) {
    if (g->Owner() == root) proc(g);
  }
}

void TVyGroupBar::SetChildOrder(TComponent* child, int order) {
  if (auto* group = dynamic_cast<TVyGroup*>(child)) MoveGroup(group, order);
}

void TVyGroupBar::Loaded() {
  TCustomControl::Loaded();
  FReordering = true;
  const TOnExit done([this] { FReordering = false; });
  Realign();
  PositionGroups();
  UpdateScrollBar();
}

void TVyGroupBar::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN | WS_VSCROLL;
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TVyGroupBar::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBar();
}

void TVyGroupBar::SetStyle(TVyGroupBarStyle v) {
  if (v == FStyle) return;
  FStyle = v;
  switch (v) {
    case gbsCategoryView:
      SetColor(clBtnShadow);
      FGroupBorderSize = 8;
      FUseGradients = true;
      break;
    case gbsTaskList:
      SetColor(clWindow);
      FGroupBorderSize = 4;
      FUseGradients = false;
      break;
    case gbsOutlook:
      SetColor(clBtnShadow);
      FGroupBorderSize = 0;
      FUseGradients = false;
      break;
  }
  if (v != gbsCategoryView) FExclusiveMode = false;
  if (v == gbsOutlook) FScrollPosition = 0;
  for (TVyGroup* g : std::vector(FGroups)) g->SetGroupStyle(v);
  Realign();
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::SetExclusiveMode(bool v) {
  if (v == FExclusiveMode || (v && FStyle != gbsCategoryView)) return;
  FExclusiveMode = v;
  if (!v || Loading() || FGroups.empty()) return;
  FGroups.front()->SetOpened(true);
  CloseOthers(FGroups.front());
  Realign();
}

void TVyGroupBar::CloseOthers(TVyGroup* open) {
  if (FClosingOthers) return;
  FClosingOthers = true;
  const TOnExit done([this] { FClosingOthers = false; });
  for (TVyGroup* g : std::vector(FGroups)) {
    if (g != open) g->SetOpened(false);
  }
}

void TVyGroupBar::RealignFor(TControl* control) {
  if (FClosingOthers) return;
  TRect r = GetClientRect();
  AlignControls(control, r);
}

void TVyGroupBar::SetGradientPath(TVyGroupBarGradientPath v) {
  if (v == FGradientPath) return;
  FGradientPath = v;
  Invalidate();
}

void TVyGroupBar::SetThemeAware(bool v) {
  if (v == FThemeAware) return;
  FThemeAware = v;
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::SetUseGradients(bool v) {
  if (v == FUseGradients) return;
  FUseGradients = v;
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::SetSmallImages(TCustomImageList* v) {
  if (SetImageListSlot(FSmallImages, v, FLargeImages, FSmallLink.get(), this)) ImagesChanged(nullptr);
}

void TVyGroupBar::SetLargeImages(TCustomImageList* v) {
  if (SetImageListSlot(FLargeImages, v, FSmallImages, FLargeLink.get(), this)) ImagesChanged(nullptr);
}

void TVyGroupBar::ImagesChanged(TObject*) {
  Realign();
  Invalidate();
  InvalidateGroups();
}

void TVyGroupBar::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FSmallImages) SetSmallImages(nullptr);
  if (AComponent == FLargeImages) SetLargeImages(nullptr);
}

void TVyGroupBar::InvalidateGroups() {
  for (TVyGroup* g : FGroups) g->Invalidate();
}

void TVyGroupBar::SetBorderWidth(int v) { Frame(FBorderWidth, std::max(v, 0)); }

void TVyGroupBar::FrameChanged() {
  if (HandleAllocated() && GetParent()) {
    SetWindowPos(GetHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  Realign();
}

// --- bar: layout and scrolling

TGroupSlot TVyGroupBar::SlotOf(TVyGroup* group) {
  TGroupSlot slot;
  slot.Visible = group->GetVisible();
  slot.Opened = group->FOpened;
  slot.CaptionHeight = group->FCaptionHeight;
  const int width = GetClientWidth() - 2 * FGroupBorderSize;
  slot.OpenHeight = group->FItems->Count() == 0 ? group->FOpenedHeight : group->ContentHeight(width);
  return slot;
}

void TVyGroupBar::PositionGroups() {
  std::vector<TGroupSlot> slots;
  slots.reserve(FGroups.size());
  for (TVyGroup* g : FGroups) slots.push_back(SlotOf(g));
  FPlaces = Vy::PositionGroups(FStyle, slots, FGroupBorderSize, GetClientWidth(), GetClientHeight(), FScrollPosition);
  for (size_t i = 0; i < FGroups.size(); ++i) {
    if (FGroups[i]->GetBoundsRect() != FPlaces[i]) FGroups[i]->SetBoundsRect(FPlaces[i]);
  }
}

void TVyGroupBar::AlignControls(TControl* control, TRect&) {
  if (FScrolling || FAligning || Loading()) return;
  FAligning = true;
  const TOnExit done([this] { FAligning = false; });
  if (FStyle == gbsOutlook) {
    UpdateScrollBar();
    PositionGroups();
  } else {
    auto* asking = dynamic_cast<TVyGroup*>(control);
    if (FExclusiveMode && asking && asking->FOpened) CloseOthers(asking);
    // The scroll bar takes width from the groups, which may change whether it is needed.
    for (int pass = 0; pass < 3; ++pass) {
      const bool needed = HasVerticalScrollBar();
      PositionGroups();
      FillGap();
      if (asking) ScrollInView(asking);
      UpdateScrollBar();
      if (HasVerticalScrollBar() == needed) break;
    }
  }
  InvalidateGroups();
}

bool TVyGroupBar::HasVerticalScrollBar() const {
  return HandleAllocated() && (GetWindowLongPtrW(WindowHandle(), GWL_STYLE) & WS_VSCROLL) != 0;
}

int TVyGroupBar::ContentHeight() {
  if (FStyle == gbsOutlook) return GetClientHeight() - 1;
  if (FPlaces.empty()) return 2 * FGroupBorderSize;
  return GroupsContentHeight(FGroupBorderSize, FPlaces.front().Top, FPlaces.back().Bottom, int(FPlaces.size()));
}

void TVyGroupBar::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  SCROLLINFO now{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(WindowHandle(), SB_VERT, &now);
  const int content = ContentHeight();
  const int page = GetClientHeight();
  if (now.nMin == 0 && now.nMax == content && int(now.nPage) == page && now.nPos == FScrollPosition) return;
  SCROLLINFO info{
      sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, content, UINT(std::max(page, 0)), FScrollPosition, 0};
  SetScrollInfo(WindowHandle(), SB_VERT, &info, TRUE);
  if (content < page) {
    FScrollPosition = 0;
    SetScrollPos(WindowHandle(), SB_VERT, 0, TRUE);
  }
  Invalidate();
}

void TVyGroupBar::SetScrollPosition(int v) {
  if (v == FScrollPosition) return;
  FScrollPosition = v;
  if (Loading()) return;
  FScrollPosition = ClampScrollPosition(v, 0, ContentHeight(), GetClientHeight());
  Realign();
}

void TVyGroupBar::ScrollGroups(int delta) {
  FScrolling = true;
  const TOnExit done([this] { FScrolling = false; });
  FScrollPosition = ClampScrollPosition(FScrollPosition - delta, 0, ContentHeight(), GetClientHeight());
  PositionGroups();
  UpdateScrollBar();
}

void TVyGroupBar::FillGap() {
  if (FPlaces.empty()) return;
  const int delta =
      FillGapDelta(FPlaces.front().Top, FPlaces.back().Bottom, FGroupBorderSize, GetClientHeight(), ContentHeight());
  if (delta) ScrollGroups(delta);
}

void TVyGroupBar::ScrollInView(TVyGroup* group) {
  if (!group->FOpened || group->Loading()) return;
  UpdateScrollBar();
  const int index = group->GetGroupIndex();
  if (index < 0 || index >= int(FPlaces.size())) return;
  const TRect r = FPlaces[size_t(index)];
  const int delta = ScrollInViewDelta(r.Top, r.Bottom, FGroupBorderSize, GetClientHeight());
  if (delta) ScrollGroups(delta);
}

void TVyGroupBar::WMVScroll(TMessage& m) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(GetHandle(), SB_VERT, &info);
  int target = FScrollPosition;
  switch (LOWORD(m.WParam)) {
    case SB_LINEUP: target -= 10; break;
    case SB_LINEDOWN: target += 10; break;
    case SB_PAGEUP: target -= int(info.nPage); break;
    case SB_PAGEDOWN: target += int(info.nPage); break;
    case SB_TOP: target = info.nMin; break;
    case SB_BOTTOM: target = info.nMax; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      // The message carries 16 bits of the position; the scroll info all 32.
      target = std::clamp(info.nTrackPos, info.nMin, info.nMax);
      break;
    default: return;
  }
  ScrollGroups(FScrollPosition - target);
  m.Result = 0;
}

bool TVyGroupBar::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  TCustomControl::DoMouseWheelDown(shift, mousePos);
  ScrollGroups(-10);
  return true;
}

bool TVyGroupBar::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  TCustomControl::DoMouseWheelUp(shift, mousePos);
  ScrollGroups(10);
  return true;
}

void TVyGroupBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (button == mbLeft && GetEnabled() && !ComponentState().Contains(csDesigning) && CanFocus()) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
}

void TVyGroupBar::CMColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  FrameChanged();
  InvalidateGroups();
}

void TVyGroupBar::CMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  auto* focused = reinterpret_cast<TWinControl*>(m.LParam);
  if (!focused || !GetParent()) return;
  for (TVyGroup* g : FGroups) {
    if (g != focused && g->ContainsControl(focused)) {
      g->SetOpened(true);
      ScrollInView(g);
      return;
    }
  }
}

void TVyGroupBar::CMItemSelected(TMessage& m) {
  for (TVyGroup* g : std::vector(FGroups)) {
    if (g->FShowItemSelection) g->CMItemSelected(m);
  }
}

// --- bar: frame

int TVyGroupBar::BorderWidthOf(TFrameStyleEx style) const {
  switch (style) {
    case fsNone: return 0;
    case fsFlat: return 1;
    case fsStatus:
    case fsPopup: return FBevelWidth;
    default: return 2;
  }
}

void TVyGroupBar::WMNCCalcSize(TMessage& m) {
  if (m.WParam) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    const int inset = BorderWidthOf(FBorderOuter) + FBorderWidth + BorderWidthOf(FBorderInner);
    RECT& r = params->rgrc[0];
    if (FBorderSides.Contains(sdLeft)) r.left += inset;
    if (FBorderSides.Contains(sdTop)) r.top += inset;
    if (FBorderSides.Contains(sdRight)) r.right -= inset;
    if (FBorderSides.Contains(sdBottom)) r.bottom -= inset;
  }
  QORN_INHERITED(m);
}

void TVyGroupBar::WMNCPaint(TMessage& m) {
  QORN_INHERITED(m);
  HDC dc = GetWindowDC(GetHandle());
  if (!dc) return;
  const TOnExit release([this, dc] { ReleaseDC(WindowHandle(), dc); });
  RECT window{};
  GetWindowRect(WindowHandle(), &window);
  // The frame only: the client area and the scroll bar are left alone.
  POINT origin{0, 0};
  ::ClientToScreen(WindowHandle(), &origin);
  const int cx = origin.x - window.left, cy = origin.y - window.top;
  ExcludeClipRect(dc, cx, cy, cx + GetClientWidth(), cy + GetClientHeight());
  TCanvas canvas;
  canvas.SetHandle(dc);
  const TOnExit detach([&canvas] { canvas.SetHandle(nullptr); });
  TBevelBorder b;
  b.Outer = FBorderOuter;
  b.Inner = FBorderInner;
  b.Sides = FBorderSides;
  b.BevelWidth = FBevelWidth;
  b.BorderWidth = FBorderWidth;
  b.BorderColor = FBorderColor;
  b.HighlightColor = FBorderHighlight;
  b.ShadowColor = FBorderShadow;
  b.FlatColor = FFlatColor;
  b.FlatColorAdjustment = FFlatColorAdjustment;
  b.ControlColor = GetColor();
  b.ParentColor = GetParent() ? GetParent()->GetColor() : GetColor();
  PaintBevelBorder(&canvas, Rect(0, 0, window.right - window.left, window.bottom - window.top), b);
  m.Result = 0;
}

void TVyGroupBar::WMNCHitTest(TMessage& m) { DefWndHandler(m); }

}  // namespace Vy
