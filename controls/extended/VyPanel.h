// TVyPanel: a container whose frame is the library's bevelled border (outer style,
// border band, inner style on the chosen sides), with an optional alignment grid, a
// vertically aligned caption, transparency over its parent, and a disabling that
// remembers which children were enabled. TVyStatusBar: a bottom panel with a size grip
// and a simple-text mode.
//
// Rule: children are placed inside the frame (AdjustClientRect), so a frame that grows
// moves them in; every writer that changes the frame's extent realigns.
#pragma once
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafx.h"
#include "vcl/ExtCtrls.h"

#include <set>

namespace Vy {

QORN_ENUM(TAlignmentVertical, avTop, avCenter, avBottom);
QORN_ENUM(TVyGridStyle, gsDots, gsDottedLines, gsSolidLines);

// The rect less what the frame takes on each chosen side (fsFlat 1, fsStatus and fsPopup
// the bevel width, the other styles 2), after the border band when asked.
TRect PanelInnerRect(TRect rect, TFrameStyleEx outer, TFrameStyleEx inner, TSides sides, int bevelWidth,
                     int borderWidth);
// How much each pane of a status bar grows when the bar goes from lastWidth to newWidth:
// in proportion to its width; nothing from a width of 0 or less (no ratio to take).
int ScaledPaneGrowth(int paneWidth, int lastWidth, int newWidth);

class TVyCustomPanel : public TCustomPanel, public IVyFramingNotify {
  QORN_CLASS(TVyCustomPanel, TCustomPanel)
 public:
  explicit TVyCustomPanel(TComponent* AOwner);
  ~TVyCustomPanel() override;

  TAlignmentVertical GetAlignmentVertical() const { return FAlignmentVertical; }
  void SetAlignmentVertical(TAlignmentVertical v) { Change(FAlignmentVertical, v); }
  TFrameStyleEx GetBorderInner() const { return FBorderInner; }
  virtual void SetBorderInner(TFrameStyleEx v) { ChangeFrame(FBorderInner, v); }
  TFrameStyleEx GetBorderOuter() const { return FBorderOuter; }
  virtual void SetBorderOuter(TFrameStyleEx v) { ChangeFrame(FBorderOuter, v); }
  TSides GetBorderSides() const { return FBorderSides; }
  virtual void SetBorderSides(TSides v) { ChangeFrame(FBorderSides, v); }
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Change(FBorderColor, v); }
  TColor GetBorderHighlight() const { return FBorderHighlight; }
  void SetBorderHighlight(TColor v) { Change(FBorderHighlight, v); }
  TColor GetBorderShadow() const { return FBorderShadow; }
  void SetBorderShadow(TColor v) { Change(FBorderShadow, v); }
  TColor GetFlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor v) { Change(FFlatColor, v); }
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int v) { Change(FFlatColorAdjustment, v); }
  TVyFrameController* GetFrameController() const { return FFrameController; }
  void SetFrameController(TVyFrameController* v) { LinkFrameController(this, FFrameController, v); }
  TColor GetGridColor() const { return FGridColor; }
  void SetGridColor(TColor v) { Change(FGridColor, v); }
  TVyGridStyle GetGridStyle() const { return FGridStyle; }
  void SetGridStyle(TVyGridStyle v) { Change(FGridStyle, v); }
  int GetGridXSize() const { return FGridXSize; }
  void SetGridXSize(int v) { Change(FGridXSize, v); }
  int GetGridYSize() const { return FGridYSize; }
  void SetGridYSize(int v) { Change(FGridYSize, v); }
  bool GetShowGrid() const { return FShowGrid; }
  void SetShowGrid(bool v) { Change(FShowGrid, v); }
  bool GetShowDockClientCaptions() const { return FShowDockClientCaptions; }
  void SetShowDockClientCaptions(bool v) { Change(FShowDockClientCaptions, v); }
  bool GetTransparent() const { return FTransparent; }
  // Also switches csOpaque and repaints the children over the new background.
  void SetTransparent(bool v);

  // The rect less the frame, after the border band when asked.
  virtual TRect AdjustRectForBorders(TRect rect, bool withBorderWidth) const;
  // Children are placed inside the frame.
  void AdjustClientRect(TRect& rect) override;
  // A bottom-aligned panel keeps its bottom edge, a right-aligned one its right edge.
  void SetBounds(int left, int top, int width, int height) override;
  // The frame controller pushed its settings (only a visible frame is taken).
  void FramingChanged() override;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler& Filer) override;
  virtual void DrawCaption(TRect rect);
  virtual void DrawGrid(TRect rect);
  TColor ParentColorValue() const;

  void WMEraseBkgnd(TMessage& m);
  void WMWindowPosChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMEnabledChanged(TMessage& m);

  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  template <class T>
  void ChangeFrame(T& field, T value) {
    if (field == value) return;
    field = value;
    Realign();
    Invalidate();
  }

 private:
  static void Publish(TPublisher<TVyCustomPanel>& p);

  TAlignmentVertical FAlignmentVertical = avCenter;
  TFrameStyleEx FBorderInner = fsNone;
  TFrameStyleEx FBorderOuter = fsRaised;
  TSides FBorderSides = AllSides;
  TColor FBorderColor = clBtnFace;
  TColor FBorderHighlight = clBtnHighlight;
  TColor FBorderShadow = clBtnShadow;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
  TVyFrameController* FFrameController = nullptr;  // not owned; cleared when it goes
  TColor FGridColor = clBtnShadow;
  TVyGridStyle FGridStyle = gsDots;
  int FGridXSize = 8;
  int FGridYSize = 8;
  bool FShowGrid = false;
  bool FShowDockClientCaptions = true;
  bool FTransparent = false;
  // The children that were disabled already when the panel was disabled; each is told
  // to us when freed, so no entry outlives its child.
  std::set<TComponent*> FDisabledChildren;
};

class TVyPanel : public TVyCustomPanel {
  QORN_CLASS(TVyPanel, TVyCustomPanel)
 public:
  explicit TVyPanel(TComponent* AOwner) : TVyCustomPanel(AOwner) {}
};

class TVyStatusBar : public TVyCustomPanel {
  QORN_CLASS(TVyStatusBar, TVyCustomPanel)
 public:
  explicit TVyStatusBar(TComponent* AOwner);

  bool GetAutoScalePanes() const { return FAutoScalePanes; }
  void SetAutoScalePanes(bool v) { FAutoScalePanes = v; }
  bool GetAutoStyle() const { return FAutoStyle; }
  void SetAutoStyle(bool v);
  bool GetShowSizeGrip() const { return FShowSizeGrip; }
  void SetShowSizeGrip(bool v);
  const std::wstring& GetSimpleCaption() const { return FSimpleCaption; }
  void SetSimpleCaption(const std::wstring& v);
  TFrameStyle GetSimpleFrameStyle() const { return FSimpleFrameStyle; }
  void SetSimpleFrameStyle(TFrameStyle v) { Change(FSimpleFrameStyle, v); }
  bool GetSimpleStatus() const { return FSimpleStatus; }
  // On hides every child, off shows them again.
  void SetSimpleStatus(bool v);
  bool GetThemeAware() const { return FThemeAware; }
  void SetThemeAware(bool v) { Change(FThemeAware, v); }

  // A frame style of one's own ends the automatic one.
  void SetBorderInner(TFrameStyleEx v) override;
  void SetBorderOuter(TFrameStyleEx v) override;
  void SetBorderSides(TSides v) override;

  TRect GetClientRect() const override;
  // The grip shows on a sizeable form that is not maximized.
  bool GripValid() const;
  // Whether a press at this client point starts sizing the form.
  bool GripAt(TPoint client) const { return FShowSizeGrip && FGripValid && InGrip(client); }
  void Loaded() override;

 protected:
  virtual void ApplyDefaultStyle();
  virtual void DrawSimpleFrame(TRect rect);
  void Paint() override;
  void Resize() override;
  void CreateWnd() override;

  void WMPaint(TMessage& m);
  void WMLButtonDown(TMessage& m);
  void WMSetCursor(TMessage& m);

 private:
  static void Publish(TPublisher<TVyStatusBar>& p);
  bool Themed() const;
  bool InGrip(TPoint client) const;
  void UpdateGrip();
  void PaintGrip(HDC dc);

  bool FAutoScalePanes = false;
  bool FAutoStyle = true;
  bool FShowSizeGrip = true;
  std::wstring FSimpleCaption;
  TFrameStyle FSimpleFrameStyle = fsFlat;
  bool FSimpleStatus = false;
  bool FThemeAware = true;
  bool FGripValid = false;
  bool FApplyingStyle = false;
  int FLastWidth = 0;
  bool FFirstResize = true;
};

}  // namespace Vy
