// TVyTrackBar: a custom-drawn slider: a framed track, optional ticks and a thumb drawn
// from bitmaps (the stock styles recoloured at run time, the themed styles, or the
// form's own three-part bitmap), with a hot thumb under the mouse, paging by
// click-and-hold, dragging, keys and a veto on every change.
//
// Rules:
// - Min is kept below Max (at least one apart) and Position inside them; while a form
//   is read these repairs wait until it is loaded, so the values read stand together.
//   Code that sets both at once calls SetRange.
// - The background (fill, track, ticks) is cached in a bitmap; a position change draws
//   only the thumb and what it uncovers. The cache is rebuilt only while painting, so a
//   transparent bar never caches a thumb it drew itself.
// - A bar shorter than its thumb has nothing to drag along: a drag leaves it alone.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "controls/extended/VyTrkBarGeometry.h"
#include "vcl/Bitmap.h"
#include "vcl/Controls.h"
#include "vcl/Timer.h"

#include <memory>

namespace Vy {

QORN_ENUM(TThumbStyle, tsBox, tsCustom, tsMixer, tsPointer, tsFlat, tsXPPointer, tsXPBox);
QORN_ENUM(TPointerType, ptStandard, ptWin95);
QORN_ENUM(TTickStyle, tkStandard, tkOwnerDraw);

using TPositionChangingEvent = TEvent<void(TObject* Sender, int NewPos, bool& AllowChange)>;
using TDrawTickEvent = TEvent<void(TObject* Sender, TCanvas* Canvas, int Value, TPoint Location)>;

// The colour pairs that turn a stock thumb picture into the bar's colours: each key
// colour of the pictures (first) becomes the second.
std::vector<std::pair<TColor, TColor>> ThumbColorMap(TColor highlight, TColor hotTrack, TVyHotTrackColorType hotType);

class TVyTrackBar : public TCustomControl {
  QORN_CLASS(TVyTrackBar, TCustomControl)
 public:
  explicit TVyTrackBar(TComponent* AOwner);
  ~TVyTrackBar() override;

  int GetMin() const { return FMin; }
  virtual void SetMin(int v);
  int GetMax() const { return FMax; }
  virtual void SetMax(int v);
  // Both ends at once, repaired as one (max at least min + 1).
  void SetRange(int min, int max);
  int GetPosition() const { return FPosition; }
  virtual void SetPosition(int v);
  unsigned GetPageSize() const { return FPageSize; }
  void SetPageSize(unsigned v) { FPageSize = v; }
  TOrientation GetOrientation() const { return FOrientation; }
  virtual void SetOrientation(TOrientation v);
  TThumbStyle GetThumbStyle() const { return FThumbStyle; }
  virtual void SetThumbStyle(TThumbStyle v);
  TPointerType GetPointerType() const { return FPointerType; }
  virtual void SetPointerType(TPointerType v);
  TBitmap* GetCustomThumb() const { return FCustomThumb.get(); }
  virtual void SetCustomThumb(TBitmap* v) { FCustomThumb->Assign(v); }
  TColor GetHighlightColor() const { return FHighlightColor; }
  virtual void SetHighlightColor(TColor v);
  TColor GetHotTrackColor() const { return FHotTrackColor; }
  virtual void SetHotTrackColor(TColor v);
  TVyHotTrackColorType GetHotTrackColorType() const { return FHotTrackColorType; }
  virtual void SetHotTrackColorType(TVyHotTrackColorType v);
  bool GetShowTicks() const { return FShowTicks; }
  virtual void SetShowTicks(bool v) { Visual(FShowTicks, v); }
  TColor GetTickColor() const { return FTickColor; }
  virtual void SetTickColor(TColor v) { Visual(FTickColor, v); }
  int GetTickStep() const { return FTickStep; }
  virtual void SetTickStep(int v) { Visual(FTickStep, std::max(1, v)); }
  TTickStyle GetTickStyle() const { return FTickStyle; }
  virtual void SetTickStyle(TTickStyle v) { Visual(FTickStyle, v); }
  TColor GetTrackColor() const { return FTrackColor; }
  virtual void SetTrackColor(TColor v) { Visual(FTrackColor, v); }
  unsigned GetTrackOffset() const { return FTrackOffset; }
  virtual void SetTrackOffset(unsigned v) { Visual(FTrackOffset, v); }
  TFrameStyle GetTrackFrame() const { return FTrackFrame; }
  virtual void SetTrackFrame(TFrameStyle v) { Visual(FTrackFrame, v); }
  TColor GetTrackFrameColor() const { return FTrackFrameColor; }
  virtual void SetTrackFrameColor(TColor v) { Visual(FTrackFrameColor, v); }
  unsigned GetTrackWidth() const { return FTrackWidth; }
  // At least 4.
  virtual void SetTrackWidth(unsigned v) { Visual(FTrackWidth, std::max(4u, v)); }
  bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool v) { Visual(FTransparent, v); }
  bool GetShowFocusRect() const { return FShowFocusRect; }
  void SetShowFocusRect(bool v) { Visual(FShowFocusRect, v); }
  bool GetTabOnEnter() const { return FTabOnEnter; }
  void SetTabOnEnter(bool v) { FTabOnEnter = v; }

  // Where things are now (client coordinates).
  TTrackLayout Layout() const;
  TRect TrackRect() const { return Vy::TrackRect(Layout()); }
  TRect ThumbRect() const { return Vy::ThumbRect(Layout(), FPosition); }
  bool ThumbHot() const { return FThumbHot; }
  bool Dragging() const { return FDragActive; }
  bool Paging() const { return FPaging; }
  TTimer* AutoRepeatTimer() const { return FAutoRepeatTimer.get(); }
  // The thumb pictures in use.
  TBitmap* ThumbImage() const { return FImgNormal.get(); }
  TBitmap* HotThumbImage() const { return FImgHot.get(); }
  TBitmap* DisabledThumbImage() const { return FImgDisabled.get(); }

  TNotifyEvent OnChange;
  TPositionChangingEvent OnChanging;
  TDrawTickEvent OnDrawTick;

  void WMEraseBkgnd(TMessage& m);
  void WMGetDlgCode(TMessage& m);
  void WMSetCursor(TMessage& m);
  void WMFocusChanged(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMBackgroundChanged(TMessage& m);

 protected:
  void Paint() override;
  void Loaded() override;
  void BoundsChanged() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  virtual void PaintTrack(TCanvas* canvas);
  virtual void PaintTicks(TCanvas* canvas);
  virtual void PaintThumb(TCanvas* canvas);
  virtual bool AcceptsPosition(int) { return true; }
  virtual void FireChange() {
    if (OnChange) OnChange(this);
  }
  virtual bool CanChangePosition(int newPos) {
    bool allow = true;
    if (OnChanging) OnChanging(this, newPos, allow);
    return allow;
  }
  virtual void FireDrawTick(TCanvas* canvas, TPoint location, int value) {
    if (OnDrawTick) OnDrawTick(this, canvas, value, location);
  }

 private:
  static void Publish(TPublisher<TVyTrackBar>& p);
  template <class T>
  void Visual(T& field, T value) {
    if (field == value) return;
    field = value;
    FBackgroundStale = true;
    Invalidate();
  }
  bool Loading() const { return ComponentState().Contains(csLoading); }
  void BuildThumbImages();
  void CustomThumbChanged(TObject*);
  void BuildBackground();
  void MoveBy(int delta);
  void EndPaging();
  void RepeatTick(TObject*);
  TThumbStyle EffectiveThumbStyle() const;
  // Draws the thumb at the current position (outside painting: only while the cached
  // background is current; otherwise the bar is painted again).
  void RedrawThumb();

  int FMin = 0;
  int FMax = 10;
  int FPosition = 0;
  unsigned FPageSize = 1;
  TOrientation FOrientation = orHorizontal;
  TThumbStyle FThumbStyle = tsPointer;
  TPointerType FPointerType = ptStandard;
  std::unique_ptr<TBitmap> FCustomThumb;
  TColor FHighlightColor = clHighlight;
  TColor FHotTrackColor = clHighlight;
  TVyHotTrackColorType FHotTrackColorType = TVyHotTrackColorType::htctComplement;
  bool FShowTicks = true;
  TColor FTickColor = clBtnShadow;
  int FTickStep = 1;
  TTickStyle FTickStyle = tkStandard;
  TColor FTrackColor = cl3DLight;
  unsigned FTrackOffset = 20;
  TFrameStyle FTrackFrame = fsStatus;
  TColor FTrackFrameColor = clBtnShadow;
  unsigned FTrackWidth = 8;
  bool FTransparent = false;
  bool FShowFocusRect = true;
  bool FTabOnEnter = false;

  std::unique_ptr<TBitmap> FImgNormal, FImgHot, FImgMask, FImgDisabled;
  std::unique_ptr<TBitmap> FBackBitmap;
  bool FBackgroundStale = true;
  bool FPainting = false;
  TRect FThumbRect{};  // where the thumb was drawn last
  bool FThumbHot = false;
  bool FDragActive = false;
  TPoint FGrabOffset{};
  bool FPaging = false;
  bool FPageUp = false;
  TPoint FPageClickPoint{};
  std::unique_ptr<TTimer> FAutoRepeatTimer;
  HCURSOR FHorzCursor = nullptr;
  HCURSOR FVertCursor = nullptr;
};

}  // namespace Vy
