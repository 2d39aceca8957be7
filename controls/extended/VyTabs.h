// TVyPageControl: pages (TVyTabSheet) shown one at a time in a card under a strip of
// tabs that the control draws itself. The tab geometry lives in VyTabsLayout; it is
// laid out again whenever something that moves tabs changes, before any click, hit test
// or child alignment uses it, never inside painting.
#pragma once
#include "controls/extended/VyTabsLayout.h"
#include "vcl/Controls.h"

#include <functional>
#include <string>
#include <vector>

namespace Vy {

class TVyPageControl;

using TVyTabChangingEvent = TEvent<void(TObject* Sender, int NewIndex, bool& AllowChange)>;

// One tab as the strip shows it.
struct TVyTabData {
  std::wstring Caption;
  TColor Color = clBtnFace;
  bool Enabled = true;
  bool Visible = true;
  TVyTabBox Box;
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

  // The page control alone decides which page shows: writing Visible raises.
  void SetVisible(bool v) override;

  void SetParentComponent(TComponent* value) override;

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
  void SetHotTrack(bool v) { ChangeLook(FHotTrack, v); }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v) { ChangeLook(FTransparent, v); }
  TColor GetFlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor v) { ChangeLook(FFlatColor, v); }
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int v) { ChangeLook(FFlatColorAdjustment, v); }
  TColor GetBackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor v);
  bool GetParentBackgroundColor() const { return FParentBackgroundColor; }
  void SetParentBackgroundColor(bool v);

  // What measures a caption in the tab font; tests put a fixed metric in its place.
  std::function<TPoint(const std::wstring& caption, bool bold)> MeasureCaption;

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ShowControl(TControl* control) override;
  void AlignControls(TControl* control, TRect& rect) override;

  TNotifyEvent OnChange;
  TVyTabChangingEvent OnChanging;
  TNotifyEvent OnTabClick;

 protected:
  virtual void Changing(int newIndex, bool& allowChange);
  virtual void Change();
  virtual void TabClick() {
    if (OnTabClick) OnTabClick(this);
  }
  void Paint() override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
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
    Invalidate();
  }
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
  TRect TabArea();
  void PaintTab(TCanvas* c, int i);
  void PaintCard(TCanvas* c);
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
};

}  // namespace Vy
