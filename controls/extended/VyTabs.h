// TVyPageControl: pages (TVyTabSheet) shown one at a time in a card under a strip of
// tabs that the control draws itself. The tab geometry lives in VyTabsLayout; it is
// laid out again whenever something that moves tabs changes, before any click, hit test
// or child alignment uses it, never inside painting.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "controls/extended/VyTabButtons.h"
#include "controls/extended/VyTabRegionCache.h"
#include "controls/extended/VyTabsLayout.h"
#include "vcl/Bitmap.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/Timer.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Vy {

class TVyPageControl;

enum class TVyHorizontalAlignment { haLeft, haCenter, haRight };
QORN_ENUM_INFO(TVyHorizontalAlignment, haLeft, haCenter, haRight);
enum class TVyVerticalAlignment { vaTop, vaCenter, vaBottom };
QORN_ENUM_INFO(TVyVerticalAlignment, vaTop, vaCenter, vaBottom);
enum class TVyImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
QORN_ENUM_INFO(TVyImagePosition, ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch);
enum class TVyHotTrackStyle { htsTab, htsText };
QORN_ENUM_INFO(TVyHotTrackStyle, htsTab, htsText);
// The state whose text colour is asked for.
enum class TVyTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabledHighlight, tsDisabledShadow };

using TVyTabChangingEvent = TEvent<void(TObject* Sender, int NewIndex, bool& AllowChange)>;
using TVyTabCloseEvent = TEvent<void(TObject* Sender, bool& AllowClose)>;
using TVyGetTextColorEvent =
    TEvent<void(TObject* Sender, int ATabIndex, TVyTextStyle AStyle, TColor& AColor, bool& Handled)>;
using TVyPaintBackgroundEvent = TEvent<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool& Handled)>;
using TVyPaintCardBackgroundEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, int ARow, const TRect& ARect, bool& Handled)>;
using TVyPaintTabBackgroundEvent =
    TEvent<void(TObject* Sender, TCanvas* ACanvas, int ATabIndex, const TRect& ARect, bool& Handled)>;

// One tab as the strip shows it.
struct TVyTabData {
  std::wstring Caption;
  TColor Color = clBtnFace;
  bool Enabled = true;
  bool Visible = true;
  std::wstring Hint;
  int ImageIndex = -1;
  int DisabledIndex = -1;
  TVyTabBox Box;
};

// The tab fills: the highlight bar of the selected tab and the two ends of an
// unselected tab's gradient. A change repaints the owner.
class TVyTabColors : public TPersistent {
  QORN_CLASS(TVyTabColors, TPersistent)
 public:
  TVyTabColors() = default;
  void Assign(const TPersistent* Source) override;
  TColor GetHighlightBar() const { return FHighlightBar; }
  void SetHighlightBar(TColor v) { Set(FHighlightBar, v); }
  TColor GetShadow() const { return FShadow; }
  void SetShadow(TColor v) { Set(FShadow, v); }
  TColor GetUnselected() const { return FUnselected; }
  void SetUnselected(TColor v) { Set(FUnselected, v); }
  std::function<void()> OnChange;

 private:
  static void Publish(TPublisher<TVyTabColors>& p);
  void Set(TColor& field, TColor v);
  TColor FHighlightBar = clHighlight;
  TColor FShadow = clBtnFace;
  TColor FUnselected = clWindow;
};

// The caption colours per tab state; a disabled caption is drawn twice, light under dark.
class TVyTextColors : public TPersistent {
  QORN_CLASS(TVyTextColors, TPersistent)
 public:
  TVyTextColors() = default;
  void Assign(const TPersistent* Source) override;
  TColor GetDisabledHighlight() const { return FDisabledHighlight; }
  void SetDisabledHighlight(TColor v) { Set(FDisabledHighlight, v); }
  TColor GetDisabledShadow() const { return FDisabledShadow; }
  void SetDisabledShadow(TColor v) { Set(FDisabledShadow, v); }
  TColor GetSelected() const { return FSelected; }
  void SetSelected(TColor v) { Set(FSelected, v); }
  TColor GetUnselected() const { return FUnselected; }
  void SetUnselected(TColor v) { Set(FUnselected, v); }
  std::function<void()> OnChange;

 private:
  static void Publish(TPublisher<TVyTextColors>& p);
  void Set(TColor& field, TColor v);
  TColor FDisabledHighlight = clBtnHighlight;
  TColor FDisabledShadow = clBtnShadow;
  TColor FSelected = clBtnText;
  TColor FUnselected = clBtnText;
};

class TVyTabSheet : public TCustomControl {
  QORN_CLASS(TVyTabSheet, TCustomControl)
 public:
  explicit TVyTabSheet(TComponent* AOwner);
  ~TVyTabSheet() override;

  TVyPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TVyPageControl* v);
  // Position among the pages; outside 0..PageCount-1 it raises.
  int GetPageIndex() const;
  void SetPageIndex(int v);
  // Index among the shown tabs, -1 while the tab is hidden.
  int GetTabIndex() const;
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool v);
  bool GetTabEnabled() const { return FTabEnabled; }
  void SetTabEnabled(bool v);
  TColor GetSheetColor() const { return GetColor(); }
  void SetSheetColor(TColor v);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int v);
  int GetDisabledIndex() const { return FDisabledIndex; }
  void SetDisabledIndex(int v);
  TVyPaintBackgroundEvent OnPaintBackground;

  // The page control alone decides which page shows: writing Visible raises.
  void SetVisible(bool v) override;

  void SetParentComponent(TComponent* value) override;
  void CreateParams(TCreateParams& params) override;

 protected:
  void Paint() override;
  void CMTextChanged(TMessage& m);
  void WMEraseBkgnd(TMessage& m) { m.Result = 1; }

 private:
  friend class TVyPageControl;
  static void Publish(TPublisher<TVyTabSheet>& p);
  void ShowPage(bool show) { TCustomControl::SetVisible(show); }
  void TabsChanged();

  TVyPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
  bool FTabEnabled = true;
  int FImageIndex = -1;
  int FDisabledIndex = -1;
  int FStreamedPageIndex = -1;
};

class TVyPageControl : public TCustomControl {
  QORN_CLASS(TVyPageControl, TCustomControl)
 public:
  explicit TVyPageControl(TComponent* AOwner);
  ~TVyPageControl() override;

  int GetPageCount() const { return int(FPages.size()); }
  // Raises the list index error outside 0..PageCount-1.
  TVyTabSheet* GetPage(int i) const;
  TVyTabSheet* GetActivePage() const { return FActivePage; }
  void SetActivePage(TVyTabSheet* page);
  TVyTabSheet* GetActivePageDefault() const { return FActivePageDefault; }
  void SetActivePageDefault(TVyTabSheet* page);
  int GetActivePageIndex() const { return FActivePage ? FActivePage->GetPageIndex() : -1; }
  void SetActivePageIndex(int i) { SetActivePage(GetPage(i)); }
  // The next page in page order with a shown tab, wrapping round.
  void SelectNextPage(bool goForward);

  int GetTabIndex() const { return FTabIndex; }
  void SetTabIndex(int i);
  int TabCount() const { return int(FTabs.size()); }
  // The tab at a client point, or -1.
  int TabAtPos(TPoint p);
  // A tab's outline rectangle in client coordinates.
  TRect TabClientRect(int i);
  // Where the pages go.
  TRect DisplayRect();
  int GetFixedDimension();
  int GetRowCount();

  TVyTabStyle GetTabStyle() const { return FSettings.Style; }
  void SetTabStyle(TVyTabStyle v) { ChangeLayout(FSettings.Style, v); }
  TVyTabOrientation GetTabOrientation() const { return FSettings.Orientation; }
  void SetTabOrientation(TVyTabOrientation v) { ChangeLayout(FSettings.Orientation, v); }
  int GetTabHeight() const { return FSettings.TabHeight; }
  void SetTabHeight(int v) { ChangeLayout(FSettings.TabHeight, v); }
  int GetTabWidth() const { return FSettings.TabWidth; }
  void SetTabWidth(int v) { ChangeLayout(FSettings.TabWidth, v); }
  int GetCutCornerSize() const { return FSettings.CutCornerSize; }
  void SetCutCornerSize(int v) { ChangeLayout(FSettings.CutCornerSize, v); }
  int GetMargin() const { return FSettings.Margin; }
  void SetMargin(int v) { ChangeLayout(FSettings.Margin, v); }
  int GetRowIndent() const { return FSettings.RowIndent; }
  void SetRowIndent(int v) { ChangeLayout(FSettings.RowIndent, v); }
  int GetRowOverlap() const { return FSettings.RowOverlap; }
  void SetRowOverlap(int v) { ChangeLayout(FSettings.RowOverlap, v); }
  bool GetMultiLine() const { return FSettings.MultiLine; }
  void SetMultiLine(bool v) { ChangeLayout(FSettings.MultiLine, v); }
  bool GetAlignTabs() const { return FSettings.AlignTabs; }
  void SetAlignTabs(bool v) { ChangeLayout(FSettings.AlignTabs, v); }
  bool GetBoldCurrentTab() const { return FBoldCurrentTab; }
  void SetBoldCurrentTab(bool v) { ChangeLayout(FBoldCurrentTab, v); }
  bool GetShowFullFrame() const { return FShowFullFrame; }
  // Without the full frame there is no shadow either, and a shadow needs the full frame.
  void SetShowFullFrame(bool v);
  bool GetShowShadow() const { return FShowShadow; }
  void SetShowShadow(bool v);
  bool GetShowCardFrame() const { return FShowCardFrame; }
  void SetShowCardFrame(bool v) { ChangeLayout(FShowCardFrame, v); }
  bool GetShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool v) { ChangeLook(FShowFocusRect, v); }
  bool GetUseGradients() const { return FUseGradients; }
  void SetUseGradients(bool v) { ChangeLook(FUseGradients, v); }
  bool GetHotTrack() const { return FHotTrack; }
  void SetHotTrack(bool v);
  bool GetTabHints() const { return FTabHints; }
  void SetTabHints(bool v);
  TColor GetHotTrackColor() const { return FHotTrackColor; }
  void SetHotTrackColor(TColor v) { ChangeLook(FHotTrackColor, v); }
  TVyHotTrackColorType GetHotTrackColorType() const { return FHotTrackColorType; }
  void SetHotTrackColorType(TVyHotTrackColorType v) { ChangeLook(FHotTrackColorType, v); }
  TVyHotTrackStyle GetHotTrackStyle() const { return FHotTrackStyle; }
  void SetHotTrackStyle(TVyHotTrackStyle v) { ChangeLook(FHotTrackStyle, v); }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v) { ChangeLook(FTransparent, v); }
  bool GetUseColoredTabs() const { return FUseColoredTabs; }
  void SetUseColoredTabs(bool v);
  TColor GetFlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor v);
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int v);
  TVyTabSequence GetTabSequence() const { return FSettings.Sequence; }
  void SetTabSequence(TVyTabSequence v) { ChangeLayout(FSettings.Sequence, v); }
  TOrientation GetTextOrientation() const { return FSettings.VerticalText ? orVertical : orHorizontal; }
  // A turned caption needs a TrueType font: any other face becomes "Verdana".
  void SetTextOrientation(TOrientation v);
  TVyHorizontalAlignment GetTextAlignment() const { return FTextAlignment; }
  void SetTextAlignment(TVyHorizontalAlignment v) { ChangeLayout(FTextAlignment, v); }
  TVyVerticalAlignment GetTextAlignmentVertical() const { return FTextAlignmentVertical; }
  void SetTextAlignmentVertical(TVyVerticalAlignment v) { ChangeLayout(FTextAlignmentVertical, v); }
  TVyImagePosition GetImagePosition() const { return FImagePosition; }
  void SetImagePosition(TVyImagePosition v) { ChangeLayout(FImagePosition, v); }
  TVyHorizontalAlignment GetImageAlignment() const { return FImageAlignment; }
  void SetImageAlignment(TVyHorizontalAlignment v) { ChangeLayout(FImageAlignment, v); }
  TVyVerticalAlignment GetImageAlignmentVertical() const { return FImageAlignmentVertical; }
  void SetImageAlignmentVertical(TVyVerticalAlignment v) { ChangeLayout(FImageAlignmentVertical, v); }
  int GetImageMargin() const { return FImageMargin; }
  void SetImageMargin(int v) { ChangeLayout(FImageMargin, v); }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* v);
  TVyTabColors* GetTabColors() const { return FTabColors.get(); }
  void SetTabColors(TVyTabColors* v) { FTabColors->Assign(v); }
  TVyTextColors* GetTextColors() const { return FTextColors.get(); }
  void SetTextColors(TVyTextColors* v) { FTextColors->Assign(v); }
  bool GetShowCloseButton() const { return FShowCloseButton; }
  void SetShowCloseButton(bool v);
  // A page that stops showing gives its window back.
  bool GetSaveResources() const { return FSaveResources; }
  void SetSaveResources(bool v) { FSaveResources = v; }
  // -1 keeps every tab region; otherwise at least 1.
  void SetRegionCacheCapacity(int v) { FRegions.SetCapacity(v); }
  int GetHotIndex() const { return FHotIndex; }
  int GetFirstVisibleTab() const { return FFirstVisibleTab; }
  bool GetNeedScroller() { EnsureLayout(); return FNeedScroller; }
  // Scrolls a row too long for the strip one tab on or back.
  void ScrollTabs(bool forward);
  // The strip's buttons, made on first need (nullptr before).
  TVyTabScroller* GetScroller() const { return FScroller.get(); }
  TVyTabCloseButton* GetCloseButton() const { return FCloseButton.get(); }
  // Where the strip's buttons go.
  int ScrollButtonSize();
  int CloseButtonSize();
  // Frees the active page when OnClose allows it.
  void DoClose();
  TColor GetBackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor v);
  bool GetParentBackgroundColor() const { return FParentBackgroundColor; }
  void SetParentBackgroundColor(bool v);
  // Written only while it is the control's own, so that reading it back keeps the parent's.
  bool IsBackgroundColorStored() const { return !FParentBackgroundColor; }

  // What measures a caption in the tab font; tests put a fixed metric in its place.
  std::function<TPoint(const std::wstring& caption, bool bold)> MeasureCaption;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ShowControl(TControl* control) override;
  void AlignControls(TControl* control, TRect& rect) override;
  void CreateParams(TCreateParams& params) override;

  TNotifyEvent OnChange;
  TVyTabChangingEvent OnChanging;
  TNotifyEvent OnTabClick;
  TVyTabCloseEvent OnClose;
  TVyGetTextColorEvent OnGetTextColor;
  TVyPaintBackgroundEvent OnPaintBackground;
  TVyPaintCardBackgroundEvent OnPaintCardBackground;
  TVyPaintTabBackgroundEvent OnPaintTabBackground;
  // Whether gradients can be shown; tests stand in a palette screen.
  std::function<bool()> TrueColorScreen = [] { return HasTrueColorScreen(); };

 protected:
  virtual void Changing(int newIndex, bool& allowChange);
  virtual void Change();
  virtual void CloseActiveTab();
  virtual void TabClick() {
    if (OnTabClick) OnTabClick(this);
  }
  void Paint() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  virtual void DoGetTextColor(int tab, TVyTextStyle style, TColor& color, bool& handled) {
    if (OnGetTextColor) OnGetTextColor(this, tab, style, color, handled);
  }
  virtual void DoPaintBackground(TCanvas* c, const TRect& r, bool& handled) {
    if (OnPaintBackground) OnPaintBackground(this, c, r, handled);
  }
  virtual void DoPaintCardBackground(TCanvas* c, int row, const TRect& r, bool& handled);
  virtual void DoPaintTabBackground(TCanvas* c, int tab, const TRect& r, bool& handled) {
    if (OnPaintTabBackground) OnPaintTabBackground(this, c, tab, r, handled);
  }
  void CMColorChanged(TMessage& m);
  void WMGetDlgCode(TMessage& m);
  void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
  void CMDialogKey(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMFocusChanged(TMessage& m);
  void CMFontChanged(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void WMSize(TMessage& m);

 private:
  friend class TVyTabSheet;
  static void Publish(TPublisher<TVyPageControl>& p);
  template <class T>
  void ChangeLayout(T& field, T value) {
    if (field == value) return;
    field = value;
    TabsChanged();
  }
  template <class T>
  void ChangeLook(T& field, T value) {
    if (field == value) return;
    field = value;
    InvalidateTabs();
  }
  void InvalidateTabs() {
    FHotTrackRepaint = false;
    Invalidate();
  }
  void ImagesChanged(TObject*) { InvalidateTabs(); }
  void PlaceButtons();
  bool ScrollHalfEnabled(int half);
  bool ScrollerForward(int half) const;
  void EndHotTrack();
  void HotTimerTick(TObject*);
  TRect DisplayTextArea(int i, const TRect& r, TRect& imageArea, TPoint imageSize);
  TColor TextColor(int i, TVyTextStyle style, TColor fallback);
  void PaintTabContent(TCanvas* c, int i, const TRect& r);
  void PaintTabBackground(TCanvas* c, int i, const TRect& r);
  void PaintHighlightBar(TCanvas* c, const TRect& r, bool hot);
  void PaintCaption(TCanvas* c, int i, TRect text, TColor color, TPoint offset);
  void PaintCardOfRow(TCanvas* c, int row);
  HRGN TabRegion(int i);
  std::vector<TPoint> TabClientOutline(int i);
  TPoint TextSize(const std::wstring& caption);
  TPoint ImageSize(const TVyTabData& t) const;
  bool Loading() const { return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading); }
  void InsertPage(TVyTabSheet* page);
  void RemovePage(TVyTabSheet* page);
  void MovePage(TVyTabSheet* page, int index);
  // Rebuilds the tabs from the pages and keeps the selected tab on the active page.
  void UpdateTabs();
  void TabsChanged();
  // Lays the tabs out when something moved them since the last time.
  void EnsureLayout();
  bool CanChange(int index);
  void ChangeActivePage(TVyTabSheet* page);
  TVyTabSheet* PageOfTab(int tab) const;
  void BringTabIntoView();
  bool TabShown(int i);
  int ScrollOffset() const;
  int StripLength();
  TRect TabArea();
  void PaintTab(TCanvas* c, int i);
  TPoint Measure(const std::wstring& caption, bool bold);

  std::vector<TVyTabSheet*> FPages;  // not owned: the form owns its sheets
  std::vector<TVyTabData> FTabs;
  TVyTabSheet* FActivePage = nullptr;
  TVyTabSheet* FActivePageDefault = nullptr;
  int FTabIndex = -1;
  int FFirstVisibleTab = 0;
  bool FForceIndex = false;
  bool FInLoaded = false;
  bool FLayoutDirty = true;
  bool FNeedScroller = false;
  TVyTabLayoutSettings FSettings;
  TVyTabLayout FLayout;
  bool FBoldCurrentTab = false;
  bool FShowFullFrame = true;
  bool FShowShadow = true;
  bool FShowCardFrame = true;
  bool FShowFocusRect = true;
  bool FUseGradients = true;
  bool FHotTrack = true;
  bool FTransparent = false;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 0;
  TColor FBackgroundColor = clBtnFace;
  bool FParentBackgroundColor = true;
  int FStreamedFixedDimension = 0;
  bool FTabHints = false;
  TColor FHotTrackColor = clHighlight;
  TVyHotTrackColorType FHotTrackColorType = TVyHotTrackColorType::htctComplement;
  TVyHotTrackStyle FHotTrackStyle = TVyHotTrackStyle::htsTab;
  bool FUseColoredTabs = false;
  TVyHorizontalAlignment FTextAlignment = TVyHorizontalAlignment::haCenter;
  TVyVerticalAlignment FTextAlignmentVertical = TVyVerticalAlignment::vaCenter;
  TVyImagePosition FImagePosition = TVyImagePosition::ipLeft;
  TVyHorizontalAlignment FImageAlignment = TVyHorizontalAlignment::haCenter;
  TVyVerticalAlignment FImageAlignmentVertical = TVyVerticalAlignment::vaCenter;
  int FImageMargin = 2;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageLink;
  std::unique_ptr<TVyTabColors> FTabColors;
  std::unique_ptr<TVyTextColors> FTextColors;
  bool FShowCloseButton = false;
  bool FSaveResources = false;
  int FHotIndex = -1;
  bool FHotTrackRepaint = false;
  std::wstring FStripHint;  // the control's own hint, given back between tabs
  std::unique_ptr<TTimer> FHotTimer;
  std::unique_ptr<TVyTabScroller> FScroller;
  std::unique_ptr<TVyTabCloseButton> FCloseButton;
  std::unique_ptr<TBitmap> FBitmap;
  TVyTabRegionCache FRegions;
};

}  // namespace Vy
