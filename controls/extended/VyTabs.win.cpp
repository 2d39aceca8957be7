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

// A caption's lines: it breaks at each CR LF.
std::vector<std::wstring> CaptionLines(const std::wstring& caption) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (;;) {
    const size_t at = caption.find(L"\r\n", start);
    lines.push_back(caption.substr(start, at == std::wstring::npos ? std::wstring::npos : at - start));
    if (at == std::wstring::npos) return lines;
    start = at + 2;
  }
}

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

// --- colour sets

void TVyTabColors::Publish(TPublisher<TVyTabColors>& p) {
  using T = TVyTabColors;
  p.Property(L"HighlightBar", &T::GetHighlightBar, &T::SetHighlightBar).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"Shadow", &T::GetShadow, &T::SetShadow).Default(clBtnFace).Idents(ColorIdents);
  p.Property(L"Unselected", &T::GetUnselected, &T::SetUnselected).Default(clWindow).Idents(ColorIdents);
}

void TVyTabColors::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVyTabColors*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FHighlightBar = src->FHighlightBar;
  FShadow = src->FShadow;
  FUnselected = src->FUnselected;
  if (OnChange) OnChange();
}

void TVyTabColors::Set(TColor& field, TColor v) {
  if (field == v) return;
  field = v;
  if (OnChange) OnChange();
}

void TVyTextColors::Publish(TPublisher<TVyTextColors>& p) {
  using T = TVyTextColors;
  p.Property(L"DisabledHighlight", &T::GetDisabledHighlight, &T::SetDisabledHighlight)
      .Default(clBtnHighlight)
      .Idents(ColorIdents);
  p.Property(L"DisabledShadow", &T::GetDisabledShadow, &T::SetDisabledShadow).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"Selected", &T::GetSelected, &T::SetSelected).Default(clBtnText).Idents(ColorIdents);
  p.Property(L"Unselected", &T::GetUnselected, &T::SetUnselected).Default(clBtnText).Idents(ColorIdents);
}

void TVyTextColors::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TVyTextColors*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FDisabledHighlight = src->FDisabledHighlight;
  FDisabledShadow = src->FDisabledShadow;
  FSelected = src->FSelected;
  FUnselected = src->FUnselected;
  if (OnChange) OnChange();
}

void TVyTextColors::Set(TColor& field, TColor v) {
  if (field == v) return;
  field = v;
  if (OnChange) OnChange();
}

// --- sheet

TVyTabSheet::TVyTabSheet(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle << csAcceptsControls << csOpaque;
  SetColor(clBtnFace);
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
  p.Property(L"DisabledIndex", &T::GetDisabledIndex, &T::SetDisabledIndex).Default(-1);
  p.Property(L"ImageIndex", &T::GetImageIndex, &T::SetImageIndex).Default(-1);
  p.Property(L"OnPaintBackground", &T::OnPaintBackground);
  p.Property(L"PageIndex", &T::GetPageIndex, &T::SetPageIndex);
  p.Property(L"TabEnabled", &T::GetTabEnabled, &T::SetTabEnabled).Default(true);
  p.Property(L"TabVisible", &T::GetTabVisible, &T::SetTabVisible).Default(true);
  // The page control alone shows and hides its pages: a form that said which one is
  // visible would fight it (and writing Visible raises).
  p.Hide(L"Visible");
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

void TVyTabSheet::SetImageIndex(int v) {
  if (v == FImageIndex) return;
  FImageIndex = v;
  TabsChanged();
}

void TVyTabSheet::SetDisabledIndex(int v) {
  if (v == FDisabledIndex) return;
  FDisabledIndex = v;
  TabsChanged();
}

void TVyTabSheet::SetSheetColor(TColor v) {
  if (v == GetColor()) return;
  if (TVyPageControl* pc = FPageControl) {
    // A page of its own colour turns coloured tabs on; without them a page only takes
    // the control's colour back.
    if (!pc->FUseColoredTabs && v != pc->GetColor()) pc->SetUseColoredTabs(true);
    if (!pc->FUseColoredTabs && !(GetColor() != pc->GetColor() && v == pc->GetColor())) return;
  }
  SetColor(v);
  TabsChanged();
}

void TVyTabSheet::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  // A page paints all of itself: a new size needs no repaint of what was there.
  params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TVyTabSheet::SetVisible(bool) { throw Exception(L"You cannot change the Visible property of a page"); }

void TVyTabSheet::CMTextChanged(TMessage& m) {
  QORN_INHERITED(m);
  TabsChanged();
}

void TVyTabSheet::Paint() {
  TCanvas* c = GetCanvas();
  bool handled = false;
  if (OnPaintBackground) OnPaintBackground(this, c, GetClientRect(), handled);
  if (handled) return;
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
}

// --- page control

TVyPageControl::TVyPageControl(TComponent* AOwner)
    : TCustomControl(AOwner),
      FImageLink(std::make_unique<TChangeLink>()),
      FTabColors(std::make_unique<TVyTabColors>()),
      FTextColors(std::make_unique<TVyTextColors>()),
      FBitmap(std::make_unique<TBitmap>()) {
  ControlStyle << csOpaque << csCaptureMouse << csClickEvents << csDoubleClicks;
  // The scroller exists before any size is set: every layout places it.
  FScroller = std::make_unique<TVyTabScroller>(nullptr);
  SetBounds(0, 0, 300, 150);
  SetTabStop(true);
  FImageLink->OnChange = [this](TObject* sender) { ImagesChanged(sender); };
  FTabColors->OnChange = [this] { InvalidateTabs(); };
  FTextColors->OnChange = [this] { InvalidateTabs(); };
  FScroller->SetBounds(-100, -100, 31, 16);
  FScroller->SetParent(this);
  FScroller->HalfEnabled = [this](int half) { return ScrollHalfEnabled(half); };
  FScroller->OnUpRightClick = [this](TObject*) { ScrollTabs(ScrollerForward(1)); };
  FScroller->OnDownLeftClick = [this](TObject*) { ScrollTabs(ScrollerForward(0)); };
  SetColor(clBtnFace);
}

TVyPageControl::~TVyPageControl() {
  // The sheets stay with their form; they only forget this control.
  for (TVyTabSheet* page : FPages) page->FPageControl = nullptr;
  FPages.clear();
  FActivePage = nullptr;
  if (FImages) FImages->UnRegisterChanges(FImageLink.get());
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
  p.Message(CM_COLORCHANGED, &T::CMColorChanged);
  p.Property(L"ActivePage", &T::GetActivePage, &T::SetActivePage);
  p.Property(L"ActivePageDefault", &T::GetActivePageDefault, &T::SetActivePageDefault);
  p.Property(L"AlignTabs", &T::GetAlignTabs, &T::SetAlignTabs).Default(false);
  p.Property(L"BackgroundColor", &T::GetBackgroundColor, &T::SetBackgroundColor)
      .Idents(ColorIdents)
      .Stored(&T::IsBackgroundColorStored);
  p.Property(L"BoldCurrentTab", &T::GetBoldCurrentTab, &T::SetBoldCurrentTab).Default(false);
  p.Property(L"CutCornerSize", &T::GetCutCornerSize, &T::SetCutCornerSize).Default(6);
  p.Property(L"FixedDimension", &T::FStreamedFixedDimension);
  p.Property(L"FlatColor", &T::GetFlatColor, &T::SetFlatColor).Default(clBtnShadow).Idents(ColorIdents);
  p.Property(L"FlatColorAdjustment", &T::GetFlatColorAdjustment, &T::SetFlatColorAdjustment).Default(0);
  p.Property(L"HotTrack", &T::GetHotTrack, &T::SetHotTrack).Default(true);
  p.Property(L"HotTrackColor", &T::GetHotTrackColor, &T::SetHotTrackColor).Default(clHighlight).Idents(ColorIdents);
  p.Property(L"HotTrackColorType", &T::GetHotTrackColorType, &T::SetHotTrackColorType)
      .Default(TVyHotTrackColorType::htctComplement);
  p.Property(L"HotTrackStyle", &T::GetHotTrackStyle, &T::SetHotTrackStyle).Default(TVyHotTrackStyle::htsTab);
  p.Property(L"ImageAlignment", &T::GetImageAlignment, &T::SetImageAlignment).Default(TVyHorizontalAlignment::haCenter);
  p.Property(L"ImageAlignmentVertical", &T::GetImageAlignmentVertical, &T::SetImageAlignmentVertical)
      .Default(TVyVerticalAlignment::vaCenter);
  p.Property(L"ImageMargin", &T::GetImageMargin, &T::SetImageMargin).Default(2);
  p.Property(L"ImagePosition", &T::GetImagePosition, &T::SetImagePosition).Default(TVyImagePosition::ipLeft);
  p.Property(L"Images", &T::GetImages, &T::SetImages);
  p.Property(L"SaveResources", &T::GetSaveResources, &T::SetSaveResources).Default(false);
  p.Property(L"ShowCloseButton", &T::GetShowCloseButton, &T::SetShowCloseButton).Default(false);
  p.Property(L"TabColors", &T::GetTabColors, &T::SetTabColors);
  p.Property(L"TabHints", &T::GetTabHints, &T::SetTabHints).Default(false);
  p.Property(L"TabSequence", &T::GetTabSequence, &T::SetTabSequence).Default(TVyTabSequence::tsStandard);
  p.Property(L"TextAlignment", &T::GetTextAlignment, &T::SetTextAlignment).Default(TVyHorizontalAlignment::haCenter);
  p.Property(L"TextAlignmentVertical", &T::GetTextAlignmentVertical, &T::SetTextAlignmentVertical)
      .Default(TVyVerticalAlignment::vaCenter);
  p.Property(L"TextColors", &T::GetTextColors, &T::SetTextColors);
  p.Property(L"TextOrientation", &T::GetTextOrientation, &T::SetTextOrientation).Default(orHorizontal);
  p.Property(L"UseColoredTabs", &T::GetUseColoredTabs, &T::SetUseColoredTabs).Default(false);
  p.Property(L"OnClose", &T::OnClose);
  p.Property(L"OnGetTextColor", &T::OnGetTextColor);
  p.Property(L"OnPaintBackground", &T::OnPaintBackground);
  p.Property(L"OnPaintCardBackground", &T::OnPaintCardBackground);
  p.Property(L"OnPaintTabBackground", &T::OnPaintTabBackground);
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
    t.Hint = p->GetHint();
    t.ImageIndex = p->FImageIndex;
    t.DisabledIndex = p->FDisabledIndex;
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
  if (caption.empty()) return {};
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
  // Lines one under the other; turned captions put them side by side.
  TPoint size;
  for (const std::wstring& line : CaptionLines(caption)) {
    const TSize e = c->TextExtent(ShownCaption(line));
    if (FSettings.VerticalText) {
      size.X += e.cy;
      size.Y = std::max<int>(size.Y, e.cx);
    } else {
      size.X = std::max<int>(size.X, e.cx);
      size.Y += e.cy;
    }
  }
  return size;
}

TPoint TVyPageControl::ImageSize(const TVyTabData& t) const {
  if (!FImages || t.ImageIndex == -1) return {};
  return {FImages->GetWidth(), FImages->GetHeight()};
}

void TVyPageControl::EnsureLayout() {
  if (!FLayoutDirty) return;
  FLayoutDirty = false;
  const TPoint sample = Measure(FSettings.Style == TVyTabStyle::tsRoundCorners ? L"AAA" : L"A", FBoldCurrentTab);
  const int fontHeight = std::abs(GetFont()->GetHeight());
  const TPoint minTab = FSettings.VerticalText ? TPoint{fontHeight, sample.Y} : TPoint{sample.X, fontHeight};
  std::vector<TVyTabBox> boxes;
  for (TVyTabData& t : FTabs) {
    const TPoint text = Measure(t.Caption, FBoldCurrentTab), image = ImageSize(t);
    const int m = image == TPoint{} ? 0 : FImageMargin;
    TPoint c;
    switch (FImagePosition) {
      case TVyImagePosition::ipLeft:
      case TVyImagePosition::ipRight: c = {m + image.X + text.X, std::max(image.Y, text.Y)}; break;
      case TVyImagePosition::ipTop:
      case TVyImagePosition::ipBottom: c = {std::max(image.X, text.X), m + image.Y + text.Y}; break;
      case TVyImagePosition::ipBack: c = {std::max(image.X, text.X), std::max(image.Y, text.Y)}; break;
      case TVyImagePosition::ipStretch: c = text; break;
    }
    t.Box.Content = c;
    t.Box.Visible = true;
    boxes.push_back(t.Box);
  }
  const int stripLength = StripLength();
  FLayout = LayoutTabs(FSettings, boxes, stripLength, minTab);
  BringRowToFront(FSettings, FLayout, boxes, FTabIndex);
  for (size_t i = 0; i < boxes.size(); ++i) FTabs[i].Box = boxes[i];
  FRegions.Clear();
  const int limit = stripLength - 2 * FSettings.Margin - CloseButtonSize();
  const bool reverse = FSettings.Sequence == TVyTabSequence::tsReverse;
  FNeedScroller = !FSettings.MultiLine && !FTabs.empty() &&
                  (reverse ? FTabs.front().Box.Rect.Right : FTabs.back().Box.Rect.Right) > limit;
  if (!FNeedScroller) FFirstVisibleTab = 0;
  FFirstVisibleTab = std::clamp(FFirstVisibleTab, 0, std::max(0, TabCount() - 1));
  BringTabIntoView();
  PlaceButtons();
}

int TVyPageControl::StripLength() {
  const TRect a = TabArea();
  return IsVerticalStrip(FSettings.Orientation) ? a.Height() : a.Width();
}

int TVyPageControl::ScrollButtonSize() {
  const TPoint a = Measure(L"A", FBoldCurrentTab);
  const int t = FSettings.VerticalText ? a.X + 2 : a.Y + 4;
  const bool side = IsVerticalStrip(FSettings.Orientation);
  const bool fixedThickness = side ? (FSettings.VerticalText && FSettings.TabWidth >= 1)
                                   : (!FSettings.VerticalText && FSettings.TabHeight >= 1);
  // Before the first layout the row has no thickness yet: never a negative size.
  const int room = std::max(0, FLayout.FixedDimension - 2);
  return std::max(0, fixedThickness ? std::max(t, room) : std::min(t, room));
}

int TVyPageControl::CloseButtonSize() { return FShowCloseButton && !FTabs.empty() ? ScrollButtonSize() : 0; }

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
  const TRect& r = FTabs[size_t(FFirstVisibleTab)].Box.Rect;
  return FSettings.Sequence == TVyTabSequence::tsReverse ? r.Right + m : r.Left - m;
}

TRect TVyPageControl::TabArea() { return TabAreaRect(FSettings, FLayout, GetWidth(), GetHeight(), FShowShadow); }

bool TVyPageControl::TabShown(int i) {
  if (i < 0 || i >= TabCount()) return false;
  if (!FNeedScroller) return true;
  const TRect a = TabArea();
  const int length = IsVerticalStrip(FSettings.Orientation) ? a.Height() : a.Width();
  const int visible = length - 2 * ScrollButtonSize() - 2 * FSettings.Margin - CloseButtonSize();
  const TRect& r = FTabs[size_t(i)].Box.Rect;
  const int s = ScrollOffset();
  if (FSettings.Sequence == TVyTabSequence::tsReverse) return s >= r.Right && s - r.Left <= visible;
  return r.Left >= s && r.Right - s <= visible;
}

void TVyPageControl::ScrollTabs(bool forward) {
  EnsureLayout();
  if (!FNeedScroller || FTabs.empty()) return;
  const int old = FFirstVisibleTab;
  if (forward) {
    if (TabShown(TabCount() - 1) || FFirstVisibleTab >= TabCount() - 1) return;
    do ++FFirstVisibleTab;
    while (FFirstVisibleTab < TabCount() && !TabShown(FFirstVisibleTab));
    if (FFirstVisibleTab >= TabCount()) FFirstVisibleTab = old;
  } else {
    if (FFirstVisibleTab == 0 || TabShown(0)) return;
    --FFirstVisibleTab;
  }
  if (FFirstVisibleTab != old) {
    InvalidateTabs();
    FScroller->Invalidate();
  }
}

// Which scroller half moves towards the end of the row: the right or top one, except on
// right-hand tabs, and the other way round for a reversed row.
bool TVyPageControl::ScrollerForward(int half) const {
  bool forward = half == 1;
  if (FSettings.Orientation == TVyTabOrientation::toRight) forward = !forward;
  if (FSettings.Sequence == TVyTabSequence::tsReverse) forward = !forward;
  return forward;
}

bool TVyPageControl::ScrollHalfEnabled(int half) {
  if (FTabs.empty()) return false;
  return ScrollerForward(half) ? !TabShown(TabCount() - 1) : FFirstVisibleTab != 0;
}

void TVyPageControl::PlaceButtons() {
  if (Loading() || !FScroller->GetParent()) return;
  const TRect A = TabArea();
  const int s = ScrollButtonSize(), close = CloseButtonSize(), margin = FSettings.Margin;
  const bool reverse = FSettings.Sequence == TVyTabSequence::tsReverse;
  const auto o = FSettings.Orientation;
  if (FShowCloseButton && FCloseButton) {
    const int c = close;
    TPoint at;
    switch (o) {
      case TVyTabOrientation::toTop:
        at = reverse ? TPoint{A.Left + margin, A.Bottom - c - 2}
                     : TPoint{A.Right + (FShowShadow ? 0 : 2) - c - margin - 1, A.Bottom - c - 2};
        break;
      case TVyTabOrientation::toLeft:
        at = reverse ? TPoint{A.Right - c - 2, A.Bottom - c - margin + 1} : TPoint{A.Right - c - 2, A.Top + margin};
        break;
      case TVyTabOrientation::toBottom:
        at = reverse ? TPoint{A.Left + margin, A.Top + 2} : TPoint{A.Right - c - margin + 1, A.Top + 2};
        break;
      case TVyTabOrientation::toRight:
        at = reverse ? TPoint{A.Left + 2, A.Top + margin} : TPoint{A.Left + 2, A.Bottom - c - margin + 1};
        break;
    }
    FCloseButton->SetBounds(at.X, at.Y, c, c);
  }
  const bool side = IsVerticalStrip(o);
  const int w = side ? s : std::max(0, 2 * s - 1), h = side ? std::max(0, 2 * s - 1) : s;
  if (!FNeedScroller) {
    // Kept for the next time a row grows too long, out of sight.
    FScroller->SetBounds(-w - 1, -h - 1, w, h);
    return;
  }
  FScroller->SetOrientation(side ? orVertical : orHorizontal);
  const int E = FShowCloseButton ? close + margin + 2 : margin;
  TPoint at;
  switch (o) {
    case TVyTabOrientation::toTop:
      at = reverse ? TPoint{A.Left + E, A.Bottom - h - 2}
                   : TPoint{(FShowShadow ? A.Right - w - 1 : A.Right - w + 1) - E, A.Bottom - h - 2};
      break;
    case TVyTabOrientation::toLeft:
      at = reverse ? TPoint{A.Right - w - 2, A.Bottom - h + 1 - E} : TPoint{A.Right - w - 2, A.Top + E};
      break;
    case TVyTabOrientation::toBottom:
      at = reverse ? TPoint{A.Left + E, A.Top + 2}
                   : TPoint{FShowCloseButton ? A.Right - w - close - margin - 1 : A.Right - w - margin + 1, A.Top + 2};
      break;
    case TVyTabOrientation::toRight:
      at = reverse ? TPoint{A.Left + 2, A.Top + E} : TPoint{A.Left + 2, A.Bottom - h + 1 - E};
      break;
  }
  FScroller->SetBounds(at.X, at.Y, w, h);
  FScroller->Invalidate();
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
  return StripRectToClient(FSettings, strip, TabArea(), ScrollOffset());
}

int TVyPageControl::TabAtPos(TPoint p) {
  EnsureLayout();
  if (FTabs.empty()) return -1;
  auto hit = [&](int i) {
    if (!TabShown(i)) return false;
    const TRect strip = TabStripRect(FSettings, FTabs[size_t(i)].Box, i == FTabIndex);
    const TRect r = StripRectToClient(FSettings, strip, TabArea(), ScrollOffset());
    if (!r.Contains(p)) return false;
    std::vector<POINT> pts;
    for (TPoint q : TabOutline(FSettings, strip)) {
      const TPoint c = StripToClient(FSettings, q, TabArea(), ScrollOffset());
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

void TVyPageControl::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  // The strip paints around its pages, never over them (no flicker of the page shown);
  // its own painting covers the whole control, so a new size needs no full redraw.
  params.Style |= WS_CLIPCHILDREN;
  params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
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
  // The close button greys while no tab is selected: it repaints whatever happens here.
  TOnExit repaintClose([this] {
    if (FShowCloseButton && FCloseButton) FCloseButton->Invalidate();
  });
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
  if (FTabIndex != oldIndex || FFirstVisibleTab != oldFirst) {
    InvalidateTabs();
    FScroller->Invalidate();
  }
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
  if (old) {
    old->ShowPage(false);
    if (FSaveResources && !ComponentState().Contains(csDesigning)) old->DestroyHandle();
  }
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
  FStripHint = GetHint();
  if (FSettings.VerticalText && !IsTrueTypeFont(GetFont())) GetFont()->SetName(L"Verdana");
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
  if (GetTabStop() && tab == FTabIndex && !ComponentState().Contains(csDesigning)) {
    if (CanFocus()) SetFocus();
    if (!Focused()) return;
  }
  SetTabIndex(tab);
  if (FTabIndex == tab) TabClick();
}

// --- hot tracking and tab hints

void TVyPageControl::MouseMove(TShiftState shift, int x, int y) {
  if ((FHotTrack || FTabHints) && !ComponentState().Contains(csDesigning)) {
    const int hot = TabAtPos({x, y});
    if (hot < 0) {
      const bool inArea = TabArea().Contains({x, y});
      if (FTabHints && (FHotIndex >= 0 || inArea) && Application) Application->CancelHint();
      if (FHotIndex >= 0) EndHotTrack();
      // No hint between the tabs; the control's own comes back off the strip.
      if (FTabHints) SetHint(inArea ? std::wstring() : FStripHint);
    } else if (hot != FHotIndex) {
      FHotIndex = hot;
      if (FHotTrack) {
        FHotTrackRepaint = true;
        const TRect a = TabArea();
        const RECT r{a.Left, a.Top, a.Right + 1, a.Bottom + 1};
        InvalidateRect(GetHandle(), &r, FALSE);
      }
      if (FTabHints) {
        if (Application) Application->CancelHint();
        const std::wstring& hint = FTabs[size_t(hot)].Hint;
        SetHint(hint.empty() ? FStripHint : hint);
      }
      if (!FHotTimer) {
        FHotTimer = std::make_unique<TTimer>(nullptr);
        FHotTimer->SetInterval(60);
        FHotTimer->OnTimer = [this](TObject* sender) { HotTimerTick(sender); };
      }
      FHotTimer->SetEnabled(true);
    }
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TVyPageControl::HotTimerTick(TObject*) {
  POINT cursor{};
  GetCursorPos(&cursor);
  const TPoint p = ScreenToClient({cursor.x, cursor.y});
  // The mouse may have left the control without a move message over it.
  if (WindowFromPoint(cursor) != GetHandle() || TabAtPos(p) < 0) EndHotTrack();
}

void TVyPageControl::EndHotTrack() {
  if (FHotTimer) FHotTimer->SetEnabled(false);
  const bool was = FHotIndex >= 0;
  FHotIndex = -1;
  if (FTabHints) SetHint(FStripHint);
  if (was && HandleAllocated()) {
    FHotTrackRepaint = true;
    const TRect a = TabArea();
    const RECT r{a.Left, a.Top, a.Right + 1, a.Bottom + 1};
    InvalidateRect(GetHandle(), &r, FALSE);
  }
}

void TVyPageControl::SetHotTrack(bool v) {
  if (v == FHotTrack) return;
  FHotTrack = v;
  if (!FHotTrack && !FTabHints) EndHotTrack();
  InvalidateTabs();
}

void TVyPageControl::SetTabHints(bool v) {
  if (v == FTabHints) return;
  FTabHints = v;
  if (!FHotTrack && !FTabHints) EndHotTrack();
}

// --- look setters with more to them

void TVyPageControl::SetFlatColor(TColor v) {
  if (v == FFlatColor) return;
  FFlatColor = v;
  const TColor frame = AdjustColorBy(FFlatColor, FFlatColorAdjustment);
  FScroller->SetFrameColor(frame);
  if (FCloseButton) FCloseButton->SetFrameColor(frame);
  InvalidateTabs();
}

void TVyPageControl::SetFlatColorAdjustment(int v) {
  if (v == FFlatColorAdjustment) return;
  FFlatColorAdjustment = v;
  const TColor frame = AdjustColorBy(FFlatColor, FFlatColorAdjustment);
  FScroller->SetFrameColor(frame);
  if (FCloseButton) FCloseButton->SetFrameColor(frame);
  InvalidateTabs();
}

void TVyPageControl::SetShowCloseButton(bool v) {
  if (v == FShowCloseButton) return;
  FShowCloseButton = v;
  if (v && !FCloseButton) {
    FCloseButton = std::make_unique<TVyTabCloseButton>(nullptr);
    FCloseButton->SetFrameColor(AdjustColorBy(FFlatColor, FFlatColorAdjustment));
    FCloseButton->Active = [this] { return FTabIndex != -1; };
    FCloseButton->OnClose = [this](TObject*) { DoClose(); };
    FCloseButton->SetParent(this);
  }
  if (FCloseButton) FCloseButton->SetVisible(v && !ComponentState().Contains(csDesigning));
  TabsChanged();
}

void TVyPageControl::DoClose() {
  if (FTabIndex == -1) return;
  bool allow = false;
  if (OnClose) OnClose(this, allow);
  if (allow) CloseActiveTab();
}

void TVyPageControl::CloseActiveTab() {
  if (!FActivePage) return;
  const int old = FTabIndex;
  delete FActivePage;  // leaves the pages on its way out
  SetTabIndex(old == 0 ? 0 : old - 1);
}

void TVyPageControl::SetImages(TCustomImageList* v) {
  if (SetImageListSlot(FImages, v, nullptr, FImageLink.get(), this)) TabsChanged();
}

void TVyPageControl::SetUseColoredTabs(bool v) {
  if (v == FUseColoredTabs) return;
  FUseColoredTabs = v;
  // Back to one colour: every page takes the control's.
  if (!v && GetParent()) Perform(CM_COLORCHANGED, 0, 0);
  InvalidateTabs();
}

void TVyPageControl::CMColorChanged(TMessage& m) {
  if (!FUseColoredTabs)
    for (TVyTabSheet* p : FPages) p->SetColor(GetColor());
  if (FUseColoredTabs) {
    TMessage parentColor{CM_PARENTCOLORCHANGED, 0, 0, 0};
    Broadcast(parentColor);
    return;
  }
  QORN_INHERITED(m);
  UpdateTabs();
}

void TVyPageControl::SetTextOrientation(TOrientation v) {
  const bool vertical = v == orVertical;
  if (vertical == FSettings.VerticalText) return;
  FSettings.VerticalText = vertical;
  if (!Loading() && !IsTrueTypeFont(GetFont())) GetFont()->SetName(L"Verdana");
  TabsChanged();
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

}  // namespace Vy
