#include "controls/extended/VyTabs.h"

#include "controls/extended/VyGrafx.h"
#include "vcl/Bitmap.h"
#include "vcl/Exceptions.h"
#include "vcl/Forms.h"
#include "vcl/Messages.h"
#include "vcl/ScopeGuards.h"
#include "vcl/StdCtrls.h"

#include <algorithm>

namespace Vy {

namespace {

// The caption as drawn: the first "&" of a line marks the accelerator, "&&" is one "&".
std::wstring ShownCaption(const std::wstring& caption) {
  std::wstring out;
  out.reserve(caption.size());
  bool done = false;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'\n') done = false;
    if (!done && caption[i] == L'&' && i + 1 < caption.size()) {
      done = true;
      if (caption[i + 1] == L'&') ++i;
      else continue;
    }
    out += caption[i];
  }
  return out;
}

}  // namespace

// --- sheet

TVyTabSheet::TVyTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csAcceptsControls << csOpaque;
  TCustomControl::SetVisible(false);
  SetAlign(alClient);
}

TVyTabSheet::~TVyTabSheet() { SetPageControl(nullptr); }

void TVyTabSheet::Publish(TPublisher<TVyTabSheet>& p) {
  using T = TVyTabSheet;
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(CM_TEXTCHANGED, &T::CMTextChanged);
  p.Property(L"Caption", &T::GetCaption, &T::SetCaption);
  p.Property(L"Color", &T::GetSheetColor, &T::SetSheetColor).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"PageIndex", &T::GetPageIndex, &T::SetPageIndex);
  p.Property(L"TabEnabled", &T::GetTabEnabled, &T::SetTabEnabled).Default(true);
  p.Property(L"TabVisible", &T::GetTabVisible, &T::SetTabVisible).Default(true);
}

void TVyTabSheet::SetParentComponent(TComponent* value) {
  if (auto* control = dynamic_cast<TVyPageControl*>(value))
    SetPageControl(control);
  else
    TCustomControl::SetParentComponent(value);
}

void TVyTabSheet::SetPageControl(TVyPageControl* v) {
  if (v == FPageControl) return;
  if (FPageControl) FPageControl->RemovePage(this);
  SetParent(v);
  if (v) v->InsertPage(this);
}

int TVyTabSheet::GetPageIndex() const {
  if (!FPageControl) return FStreamedPageIndex;
  const auto& pages = FPageControl->FPages;
  return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TVyTabSheet::SetPageIndex(int v) {
  if (!FPageControl) return;
  if (FPageControl->Loading()) {
    // The sheets of a form come in page order; a place given before all of them are
    // read is taken once the page control has them all.
    FStreamedPageIndex = v;
    return;
  }
  const int last = FPageControl->GetPageCount() - 1;
  if (v < 0 || v > last)
    throw Exception(L"%d is an invalid PageIndex value. PageIndex must be between 0 and %d", {v, last});
  FPageControl->MovePage(this, v);
}

int TVyTabSheet::GetTabIndex() const {
  if (!FTabVisible || !FPageControl) return -1;
  int n = 0;
  for (TVyTabSheet* p : FPageControl->FPages) {
    if (p == this) return n;
    n += p->FTabVisible;
  }
  return -1;
}

void TVyTabSheet::TabsChanged() {
  if (FPageControl) FPageControl->UpdateTabs();
}

void TVyTabSheet::SetTabVisible(bool v) {
  if (v == FTabVisible) return;
  FTabVisible = v;
  TabsChanged();
}

void TVyTabSheet::SetTabEnabled(bool v) {
  if (v == FTabEnabled) return;
  FTabEnabled = v;
  TabsChanged();
}

void TVyTabSheet::SetSheetColor(TColor v) {
  if (v == GetColor()) return;
  SetColor(v);
  TabsChanged();
}

void TVyTabSheet::SetVisible(bool) { throw Exception(L"You cannot change the Visible property of a page"); }

void TVyTabSheet::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  TabsChanged();
}

void TVyTabSheet::Paint() {
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
}

// --- page control

TVyPageControl::TVyPageControl(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csOpaque << csCaptureMouse << csClickEvents << csDoubleClicks;
  SetBounds(0, 0, 300, 150);
  SetTabStop(true);
}

TVyPageControl::~TVyPageControl() {
  // The sheets stay with their form; they only forget this control.
  for (TVyTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
}

void TVyPageControl::Publish(TPublisher<TVyPageControl>& p) {
  using T = TVyPageControl;
  p.Message(WM_GETDLGCODE, &T::WMGetDlgCode);
  p.Message(WM_ERASEBKGND, &T::WMEraseBkgnd);
  p.Message(WM_SIZE, &T::WMSize);
  p.Message(CM_DIALOGKEY, &T::CMDialogKey);
  p.Message(CM_DIALOGCHAR, &T::CMDialogChar);
  p.Message(CM_FOCUSCHANGED, &T::CMFocusChanged);
  p.Message(CM_FONTCHANGED, &T::CMFontChanged);
  p.Message(CM_PARENTCOLORCHANGED, &T::CMParentColorChanged);
  p.Property(L"ActivePage", &T::GetActivePage, &T::SetActivePage);
  p.Property(L"ActivePageDefault", &T::GetActivePageDefault, &T::SetActivePageDefault);
  p.Property(L"AlignTabs", &T::GetAlignTabs, &T::SetAlignTabs).Default(false);
  p.Property(L"BackgroundColor", &T::GetBackgroundColor, &T::SetBackgroundColor)
      .Idents(ColorIdents)
      .Stored([](const T& c) { return !c.FParentBackgroundColor; });
  p.Property(L"BoldCurrentTab", &T::GetBoldCurrentTab, &T::SetBoldCurrentTab).Default(false);
  p.Property(L"CutCornerSize", &T::GetCutCornerSize, &T::SetCutCornerSize).Default(6);
  p.Property(L"FixedDimension", &T::FStreamedFixedDimension);
  p.Property(L"FlatColor", &T::GetFlatColor, &T::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(0);
  p.Property(L"HotTrack", &T::GetHotTrack, &T::SetHotTrack).Default(true);
  p.Property(L"Margin", &T::GetMargin, &T::SetMargin).Default(0);
  p.Property(L"MultiLine", &T::GetMultiLine, &T::SetMultiLine).Default(false);
  p.Property(L"ParentBackgroundColor", &T::GetParentBackgroundColor, &T::SetParentBackgroundColor).Default(true);
  p.Property(L"RowIndent", &T::GetRowIndent, &T::SetRowIndent).Default(5);
  p.Property(L"RowOverlap", &T::GetRowOverlap, &T::SetRowOverlap).Default(5);
  p.Property(L"ShowCardFrame", &T::GetShowCardFrame, &T::SetShowCardFrame).Default(true);
  p.Property(L"ShowFocusRect", &T::GetShowFocusRect, &T::SetShowFocusRect).Default(true);
  p.Property(L"ShowFullFrame", &T::GetShowFullFrame, &T::SetShowFullFrame).Default(true);
  p.Property(L"ShowShadow", &T::GetShowShadow, &T::SetShowShadow).Default(true);
  p.Property(L"TabHeight", &T::GetTabHeight, &T::SetTabHeight).Default(0);
  p.Property(L"TabIndex", &T::GetTabIndex, &T::SetTabIndex).Default(-1);
  p.Property(L"TabOrientation", &T::GetTabOrientation, &T::SetTabOrientation).Default(TVyTabOrientation::toTop);
  p.Property(L"TabStyle", &T::GetTabStyle, &T::SetTabStyle).Default(TVyTabStyle::tsSingleSlant);
  p.Property(L"TabWidth", &T::GetTabWidth, &T::SetTabWidth).Default(0);
  p.Property(L"Transparent", &T::GetTransparent, &T::SetTransparent).Default(false);
  p.Property(L"UseGradients", &T::GetUseGradients, &T::SetUseGradients).Default(true);
  p.Property(L"OnChange", &T::OnChange);
  p.Property(L"OnChanging", &T::OnChanging);
  p.Property(L"OnTabClick", &T::OnTabClick);
}

TVyTabSheet* TVyPageControl::GetPage(int i) const {
  if (i < 0 || i >= GetPageCount()) throw EListError(SListIndexError, {i});
  return FPages[size_t(i)];
}

void TVyPageControl::InsertPage(TVyTabSheet* page) {
  FPages.push_back(page);
  page->FPageControl = this;
  UpdateTabs();
}

void TVyPageControl::RemovePage(TVyTabSheet* page) {
  if (page == FActivePage) SetActivePage(nullptr);
  FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
  page->FPageControl = nullptr;
  if (page == FActivePageDefault) FActivePageDefault = nullptr;
  if (!ComponentState().Contains(csDestroying)) UpdateTabs();
}

void TVyPageControl::MovePage(TVyTabSheet* page, int index) {
  FPages.erase(std::remove(FPages.begin(), FPages.end(), page), FPages.end());
  FPages.insert(FPages.begin() + index, page);
  UpdateTabs();
}

TVyTabSheet* TVyPageControl::PageOfTab(int tab) const {
  if (tab < 0) return nullptr;
  for (TVyTabSheet* p : FPages)
    if (p->GetTabIndex() == tab) return p;
  return nullptr;
}

void TVyPageControl::UpdateTabs() {
  FTabs.clear();
  for (TVyTabSheet* p : FPages) {
    if (!p->FTabVisible) continue;
    TVyTabData t;
    t.Caption = p->GetCaption();
    t.Color = p->GetColor();
    t.Enabled = p->FTabEnabled;
    FTabs.push_back(t);
  }
  if (FActivePage && !Loading()) {
    // The tabs were renumbered, the page stays: no question to OnChanging.
    const int tab = FActivePage->GetTabIndex();
    const bool force = FForceIndex;
    FForceIndex = true;
    TOnExit restore([&] { FForceIndex = force; });
    if (tab != FTabIndex) SetTabIndex(tab);
  }
  TabsChanged();
}

void TVyPageControl::TabsChanged() {
  FLayoutDirty = true;
  Invalidate();
  if (!Loading() && GetParent()) Realign();
}

TPoint TVyPageControl::Measure(const std::wstring& caption, bool bold) {
  if (MeasureCaption) return MeasureCaption(caption, bold);
  TBitmap scratch;
  scratch.SetSize(1, 1);
  TCanvas* c = scratch.GetCanvas();
  c->SetFont(GetFont());
  if (bold) {
    TFontStyles st = c->GetFont()->GetStyle();
    st.Include(fsBold);
    c->GetFont()->SetStyle(st);
  }
  const std::wstring shown = ShownCaption(caption);
  if (shown.empty()) return {};
  const TSize s = c->TextExtent(shown);
  return {s.cx, s.cy};
}

void TVyPageControl::EnsureLayout() {
  if (!FLayoutDirty) return;
  FLayoutDirty = false;
  const TPoint sample = Measure(FSettings.Style == TVyTabStyle::tsRoundCorners ? L"AAA" : L"A", FBoldCurrentTab);
  std::vector<TVyTabBox> boxes;
  for (TVyTabData& t : FTabs) {
    t.Box.Content = t.Caption.empty() ? TPoint{} : Measure(t.Caption, FBoldCurrentTab);
    t.Box.Visible = true;
    boxes.push_back(t.Box);
  }
  const bool side = IsVerticalStrip(FSettings.Orientation);
  const int stripLength = (side ? GetHeight() : GetWidth()) - 1;
  FLayout = LayoutTabs(FSettings, boxes, stripLength, sample);
  BringRowToFront(FSettings, FLayout, boxes, FTabIndex);
  for (size_t i = 0; i < boxes.size(); ++i) FTabs[i].Box = boxes[i];
  FNeedScroller = !FSettings.MultiLine && !FTabs.empty() &&
                  FTabs.back().Box.Rect.Right > stripLength - 2 * FSettings.Margin;
  if (!FNeedScroller) FFirstVisibleTab = 0;
  FFirstVisibleTab = std::clamp(FFirstVisibleTab, 0, std::max(0, TabCount() - 1));
  BringTabIntoView();
}

int TVyPageControl::GetFixedDimension() {
  EnsureLayout();
  return FLayout.FixedDimension;
}

int TVyPageControl::GetRowCount() {
  EnsureLayout();
  return FLayout.RowCount;
}

int TVyPageControl::ScrollOffset() const {
  if (FTabs.empty()) return 0;
  const int m = FSettings.Margin + (FSettings.Style == TVyTabStyle::tsRoundCorners ? 2 : 0);
  return FTabs[size_t(FFirstVisibleTab)].Box.Rect.Left - m;
}

TRect TVyPageControl::TabArea() { return TabAreaRect(FSettings, FLayout, GetWidth(), GetHeight(), FShowShadow); }

bool TVyPageControl::TabShown(int i) {
  if (i < 0 || i >= TabCount()) return false;
  if (!FNeedScroller) return true;
  const bool side = IsVerticalStrip(FSettings.Orientation);
  const int visible = (side ? GetHeight() : GetWidth()) - 1 - 2 * FSettings.Margin;
  const TRect& r = FTabs[size_t(i)].Box.Rect;
  const int s = ScrollOffset();
  return r.Left >= s && r.Right - s <= visible;
}

void TVyPageControl::BringTabIntoView() {
  if (!FNeedScroller || FTabIndex < 0) return;
  if (FTabIndex < FFirstVisibleTab) FFirstVisibleTab = FTabIndex;
  while (FFirstVisibleTab < FTabIndex && !TabShown(FTabIndex)) ++FFirstVisibleTab;
}

TRect TVyPageControl::TabClientRect(int i) {
  EnsureLayout();
  if (i < 0 || i >= TabCount()) return {};
  const TRect strip = TabStripRect(FSettings, FTabs[size_t(i)].Box, i == FTabIndex);
  return StripRectToClient(FSettings.Orientation, strip, TabArea(), ScrollOffset());
}

int TVyPageControl::TabAtPos(TPoint p) {
  EnsureLayout();
  if (FTabs.empty()) return -1;
  auto hit = [&](int i) {
    if (!TabShown(i)) return false;
    const TRect strip = TabStripRect(FSettings, FTabs[size_t(i)].Box, i == FTabIndex);
    const TRect r = StripRectToClient(FSettings.Orientation, strip, TabArea(), ScrollOffset());
    if (!r.Contains(p)) return false;
    std::vector<POINT> pts;
    for (TPoint q : TabOutline(FSettings, strip)) {
      const TPoint c = StripToClient(FSettings.Orientation, q, TabArea(), ScrollOffset());
      pts.push_back({c.X, c.Y});
    }
    HRGN region = CreatePolygonRgn(pts.data(), int(pts.size()), WINDING);
    if (!region) throw Exception(L"Error creating region");
    const bool in = PtInRegion(region, p.X, p.Y) != 0;
    DeleteObject(region);
    return in;
  };
  // The selected tab is drawn over its neighbours, so it is hit first.
  if (hit(FTabIndex)) return FTabIndex;
  for (int k = 0; k < TabCount(); ++k) {
    const int i = (FFirstVisibleTab + k) % TabCount();
    if (i != FTabIndex && hit(i)) return i;
  }
  return -1;
}

TRect TVyPageControl::DisplayRect() {
  EnsureLayout();
  TRect r = CardRect(FSettings, FLayout, 0, GetClientWidth(), GetClientHeight(), !FTabs.empty());
  if (FShowCardFrame && FShowFullFrame) {
    r.Left += 1;
    r.Top += 1;
    if (FSettings.Orientation == TVyTabOrientation::toTop && FShowShadow) {
      r.Right -= 2;
      r.Bottom -= 2;
    }
  } else if (FShowCardFrame) {
    r.Top += 1;
    r.Right += 1;
    r.Bottom += 1;
  } else {
    r.Right += 1;
    r.Bottom += 1;
  }
  if (r.IsEmpty()) r = {};
  return r;
}

void TVyPageControl::AlignControls(TControl* control, TRect& rect) {
  rect = DisplayRect();
  TCustomControl::AlignControls(control, rect);
}

void TVyPageControl::WMSize(TMessage& m) {
  FLayoutDirty = true;
  QORN_INHERITED(m);
}

bool TVyPageControl::CanChange(int index) {
  if (FTabs.empty() || index < 0 || index >= TabCount() || !FTabs[size_t(index)].Enabled) return false;
  bool allow = true;
  if (index != FTabIndex) Changing(index, allow);
  return allow;
}

void TVyPageControl::Changing(int newIndex, bool& allowChange) {
  if (!FInLoaded && OnChanging) OnChanging(this, newIndex, allowChange);
  if (allowChange) ChangeActivePage(PageOfTab(newIndex));
}

void TVyPageControl::Change() {
  if (!FInLoaded && OnChange) OnChange(this);
}

void TVyPageControl::SetTabIndex(int i) {
  if (Loading()) {
    FTabIndex = i;
    return;
  }
  EnsureLayout();
  if (i < 0 || i >= TabCount()) {
    FTabIndex = -1;
    Invalidate();
    return;
  }
  const int oldIndex = FTabIndex, oldFirst = FFirstVisibleTab;
  const bool allowed = i == FTabIndex || FForceIndex || CanChange(i);
  if (!allowed) return;
  if (FForceIndex && i != FTabIndex && !FInLoaded) {
    // A move the control makes itself still shows the page of the new tab.
    ChangeActivePage(PageOfTab(i));
  }
  FTabIndex = i;
  {
    std::vector<TVyTabBox> boxes;
    for (const TVyTabData& t : FTabs) boxes.push_back(t.Box);
    BringRowToFront(FSettings, FLayout, boxes, i);
    for (size_t k = 0; k < boxes.size(); ++k) FTabs[k].Box = boxes[k];
  }
  BringTabIntoView();
  if (FTabIndex != oldIndex || FFirstVisibleTab != oldFirst) Invalidate();
  if (FTabIndex != oldIndex) Change();
}

void TVyPageControl::ChangeActivePage(TVyTabSheet* page) {
  if (page == FActivePage) return;
  TCustomForm* form = GetParentForm(this);
  TVyTabSheet* old = FActivePage;
  if (form && old && form->GetActiveControl() && old->ContainsControl(form->GetActiveControl()))
    form->SetActiveControl(old);
  if (page) {
    page->BringToFront();
    page->ShowPage(true);
    if (form && old && form->GetActiveControl() == old) form->SetActiveControl(page->CanFocus() ? static_cast<TWinControl*>(page) : this);
  }
  if (old) old->ShowPage(false);
  FActivePage = page;
  if (form && page && form->GetActiveControl() == page) page->SelectFirst();
}

void TVyPageControl::SetActivePage(TVyTabSheet* page) {
  if (page && page->FPageControl != this) return;
  if (page) page->ShowPage(true);
  if (Loading()) {
    FActivePage = page;
    return;
  }
  const int tab = page ? page->GetTabIndex() : -1;
  if (tab < 0) {
    // A page without a shown tab still asks first whether the page may change.
    bool allow = true;
    if (page != FActivePage && !FInLoaded && OnChanging) OnChanging(this, -1, allow);
    if (!allow) {
      if (page && page != FActivePage) page->ShowPage(false);
      return;
    }
    ChangeActivePage(page);
  }
  SetTabIndex(tab);
  // A refused change leaves the page it was about to show hidden again.
  if (page && page != FActivePage) page->ShowPage(false);
}

void TVyPageControl::SetActivePageDefault(TVyTabSheet* page) {
  if (page == FActivePageDefault) return;
  if (FActivePageDefault) FActivePageDefault->RemoveFreeNotification(this);
  FActivePageDefault = page;
  if (page) page->FreeNotification(this);
}

void TVyPageControl::SelectNextPage(bool goForward) {
  const int n = GetPageCount();
  if (n == 0) return;
  int start = FActivePage ? FActivePage->GetPageIndex() : (goForward ? -1 : n);
  for (int k = 1; k <= n; ++k) {
    const int i = ((start + (goForward ? k : -k)) % n + n) % n;
    TVyTabSheet* p = FPages[size_t(i)];
    if (p == FActivePage) return;
    if (p->FTabVisible) {
      SetActivePage(p);
      return;
    }
  }
}

void TVyPageControl::Loaded() {
  TCustomControl::Loaded();
  FInLoaded = true;
  TOnExit done([this] { FInLoaded = false; });
  // Sheets that gave their place before all of them were read take it now.
  for (TVyTabSheet* p : std::vector<TVyTabSheet*>(FPages)) {
    const int want = p->FStreamedPageIndex;
    p->FStreamedPageIndex = -1;
    if (want >= 0 && want < GetPageCount()) MovePage(p, want);
  }
  FLayoutDirty = true;
  FTabIndex = -1;
  TVyTabSheet* page = FActivePage;
  if (FActivePageDefault && FActivePageDefault != page) {
    if (page) page->ShowPage(false);
    page = FActivePageDefault;
  }
  FActivePage = nullptr;
  for (TVyTabSheet* p : FPages) p->ShowPage(false);
  UpdateTabs();
  SetActivePage(page);
}

void TVyPageControl::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActivePageDefault) FActivePageDefault = nullptr;
}

void TVyPageControl::ShowControl(TControl* control) {
  if (auto* page = dynamic_cast<TVyTabSheet*>(control); page && page->FPageControl == this) SetActivePage(page);
  TCustomControl::ShowControl(control);
}

void TVyPageControl::SetShowFullFrame(bool v) {
  if (v == FShowFullFrame) return;
  FShowFullFrame = v;
  if (!v) FShowShadow = false;
  TabsChanged();
}

void TVyPageControl::SetShowShadow(bool v) {
  if (v == FShowShadow) return;
  FShowShadow = v;
  if (v) FShowFullFrame = true;
  TabsChanged();
}

void TVyPageControl::SetBackgroundColor(TColor v) {
  FParentBackgroundColor = false;
  if (v == FBackgroundColor) return;
  FBackgroundColor = v;
  Invalidate();
}

void TVyPageControl::SetParentBackgroundColor(bool v) {
  if (v == FParentBackgroundColor) return;
  FParentBackgroundColor = v;
  if (v && GetParent()) FBackgroundColor = GetParent()->GetColor();
  Invalidate();
}

void TVyPageControl::CMParentColorChanged(TMessage& m) {
  QORN_INHERITED(m);
  if (FParentBackgroundColor && GetParent()) FBackgroundColor = GetParent()->GetColor();
  Invalidate();
}

void TVyPageControl::CMFontChanged(TMessage& m) {
  QORN_INHERITED(m);
  TabsChanged();
}

void TVyPageControl::CMFocusChanged(TMessage& m) {
  QORN_INHERITED(m);
  Invalidate();
}

void TVyPageControl::WMGetDlgCode(TMessage& m) { m.Result = DLGC_WANTARROWS; }

void TVyPageControl::KeyDown(WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const int n = TabCount();
  if (n == 0) return;
  const int current = FTabIndex;
  int found = current;
  auto search = [&](int from, int step, bool wrap) {
    for (int i = from, k = 0; k < n; i += step, ++k) {
      if (wrap) i = (i + n) % n;
      if (i < 0 || i >= n || i == current) return;
      if (CanChange(i)) {
        found = i;
        return;
      }
    }
  };
  switch (key) {
    case VK_HOME: search(0, 1, false); break;
    case VK_END: search(n - 1, -1, false); break;
    case VK_RIGHT:
    case VK_DOWN: search(current + 1, 1, true); break;
    case VK_LEFT:
    case VK_UP: search(current - 1, -1, true); break;
    default: return;
  }
  if (found == current) return;
  FForceIndex = true;
  {
    TOnExit clear([this] { FForceIndex = false; });
    FTabIndex = found;  // CanChange already swapped the page
    Invalidate();
    Change();
  }
  TabClick();
}

void TVyPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !GetEnabled()) return;
  const int tab = TabAtPos({x, y});
  if (tab < 0 || !FTabs[size_t(tab)].Enabled) return;
  if (GetTabStop() && tab == FTabIndex) {
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
  }
  SetTabIndex(tab);
  if (FTabIndex == tab) TabClick();
}

void TVyPageControl::CMDialogKey(TMessage& m) {
  TCustomForm* form = GetParentForm(this);
  if (m.WParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) && form && form->GetActiveControl() &&
      ContainsControl(form->GetActiveControl())) {
    SelectNextPage((GetKeyState(VK_SHIFT) & 0x8000) == 0);
    m.Result = 1;
    return;
  }
  QORN_INHERITED(m);
}

void TVyPageControl::CMDialogChar(TMessage& m) {
  if (!CanFocus()) return;
  for (int i = 0; i < TabCount(); ++i) {
    const TVyTabData& t = FTabs[size_t(i)];
    if (!t.Enabled || !IsAccel(wchar_t(m.WParam), t.Caption)) continue;
    SetFocus();
    if (Focused()) {
      SetTabIndex(i);
      if (FTabIndex == i) TabClick();
    }
    m.Result = 1;
    return;
  }
}

// --- painting: only draws; the layout is made by the changes themselves

void TVyPageControl::PaintCard(TCanvas* c) {
  const bool any = !FTabs.empty();
  TRect card = CardRect(FSettings, FLayout, 0, GetClientWidth(), GetClientHeight(), any);
  if (card.IsEmpty()) return;
  const TColor fill = FActivePage && FTabIndex >= 0 ? FActivePage->GetColor() : GetColor();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(fill);
  c->FillRect(Rect(card.Left, card.Top, card.Right + 1, card.Bottom + 1));
  if (!FShowCardFrame) return;
  c->GetPen()->SetColor(AdjustColorBy(FFlatColor, FFlatColorAdjustment));
  c->GetPen()->SetWidth(1);
  const int shadow = FSettings.Orientation == TVyTabOrientation::toTop && FShowShadow ? 2 : 0;
  const TPoint p0{card.Left, card.Top}, p1{card.Right - shadow, card.Top}, p2{card.Right - shadow, card.Bottom - shadow},
      p3{card.Left, card.Bottom - shadow};
  if (FShowFullFrame)
    c->Polyline({p0, p1, p2, p3, p0});
  else
    c->Polyline({p0, p1});
  if (shadow) {
    // A soft edge right and below: the background darkened a little.
    const TColor dark = BlendColors(clBlack, FBackgroundColor, 30), light = BlendColors(clBlack, FBackgroundColor, 15);
    c->GetPen()->SetColor(dark);
    c->Polyline({{p1.X + 1, p1.Y + 1}, {p2.X + 1, p2.Y + 1}, {p3.X, p3.Y + 1}});
    c->GetPen()->SetColor(light);
    c->Polyline({{p1.X + 2, p1.Y + 2}, {p2.X + 2, p2.Y + 2}, {p3.X + 1, p3.Y + 2}});
  }
  // The selected tab opens into the card: its base is not drawn.
  if (FTabIndex >= 0 && TabShown(FTabIndex) && FTabs[size_t(FTabIndex)].Box.Row == 0) {
    const TRect strip = TabStripRect(FSettings, FTabs[size_t(FTabIndex)].Box, true);
    const auto outline = TabOutline(FSettings, strip);
    const TPoint a = StripToClient(FSettings.Orientation, outline.front(), TabArea(), ScrollOffset());
    const TPoint b = StripToClient(FSettings.Orientation, outline.back(), TabArea(), ScrollOffset());
    c->GetPen()->SetColor(fill);
    c->MoveTo(std::min(a.X, b.X) + (a.X == b.X ? 0 : 1), std::min(a.Y, b.Y) + (a.Y == b.Y ? 0 : 1));
    c->LineTo(std::max(a.X, b.X) + (a.X == b.X ? 1 : 0), std::max(a.Y, b.Y) + (a.Y == b.Y ? 1 : 0));
  }
}

void TVyPageControl::PaintTab(TCanvas* c, int i) {
  const TVyTabData& t = FTabs[size_t(i)];
  const bool selected = i == FTabIndex;
  const TRect strip = TabStripRect(FSettings, t.Box, selected);
  std::vector<TPoint> points;
  for (TPoint q : TabOutline(FSettings, strip)) points.push_back(StripToClient(FSettings.Orientation, q, TabArea(), ScrollOffset()));
  const TColor face = selected && FActivePage ? FActivePage->GetColor() : GetColor();
  const TColor unselected = FUseGradients ? AdjustColorBy(GetColor(), 10) : GetColor();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(selected ? face : unselected);
  c->GetPen()->SetColor(selected ? face : unselected);
  c->Polygon(points);
  c->GetPen()->SetColor(AdjustColorBy(FFlatColor, FFlatColorAdjustment));
  c->Polyline(points);
  if (selected && FHotTrack) {
    // The highlight bar along the outer edge of the selected tab.
    HRGN region = nullptr;
    std::vector<POINT> pts;
    for (TPoint q : points) pts.push_back({q.X, q.Y});
    region = CreatePolygonRgn(pts.data(), int(pts.size()), WINDING);
    TRect band = StripRectToClient(FSettings.Orientation,
                                   Rect(strip.Left, strip.Top, strip.Right,
                                        strip.Top + (FSettings.Orientation == TVyTabOrientation::toTop ||
                                                             FSettings.Orientation == TVyTabOrientation::toLeft
                                                         ? 3
                                                         : 2)),
                                   TabArea(), ScrollOffset());
    if (region) {
      SelectClipRgn(c->GetHandle(), region);
      c->GetBrush()->SetColor(clHighlight);
      c->FillRect(band);
      SelectClipRgn(c->GetHandle(), nullptr);
      DeleteObject(region);
    }
  }
  const TRect r = StripRectToClient(FSettings.Orientation, strip, TabArea(), ScrollOffset());
  c->SetFont(GetFont());
  if (selected && FBoldCurrentTab) {
    TFontStyles st = c->GetFont()->GetStyle();
    st.Include(fsBold);
    c->GetFont()->SetStyle(st);
  }
  c->GetBrush()->SetStyle(bsClear);
  std::wstring caption = t.Caption;
  TRect text = r;
  UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (!t.Enabled) {
    TRect light = text;
    OffsetRect(light, 1, 1);
    c->GetFont()->SetColor(clBtnHighlight);
    c->DrawText(caption, light, format);
    c->GetFont()->SetColor(clBtnShadow);
  } else {
    c->GetFont()->SetColor(clBtnText);
  }
  c->DrawText(caption, text, format);
  if (selected && FShowFocusRect && Focused()) {
    TRect focus = r;
    InflateRect(focus, -3, -3);
    c->GetBrush()->SetStyle(bsSolid);
    c->DrawFocusRect(focus);
  }
}

void TVyPageControl::Paint() {
  const int w = GetWidth(), h = GetHeight();
  if (w <= 0 || h <= 0) return;
  // A change since the last layout is laid out by whoever changed it; painting never
  // selects tabs or swaps pages, it only shows what is there.
  EnsureLayout();
  TBitmap bitmap;
  bitmap.SetSize(w, h);
  TCanvas* c = bitmap.GetCanvas();
  if (FTransparent && GetParent()) {
    PaintParentBackground(this, c->GetHandle(), false);
  } else {
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(FBackgroundColor);
    c->FillRect(Rect(0, 0, w, h));
  }
  PaintCard(c);
  for (int i = 0; i < TabCount(); ++i)
    if (i != FTabIndex && TabShown(i)) PaintTab(c, i);
  if (TabShown(FTabIndex)) PaintTab(c, FTabIndex);
  GetCanvas()->Draw(0, 0, &bitmap);
}

}  // namespace Vy
