// The flat scroll bar: a control of its own (not the platform's scroll bar)
// built from two flat arrow buttons at its ends and a track between them that
// holds a draggable flat thumb, 17 pixels long. The forms use it as a slider.
//
// Two positions: the scroll bar's Position, which program code sets (clamped,
// silently) and which the arrow buttons and a thumb drag change (firing
// OnScroll); and the track's, which the thumb shows. The standard scroll-bar
// messages and keys move only the track's. Hovering the thumb changes nothing:
// only a drag does.
//
// An arrow button held down steps by SmallChange every 10 ms, from the first
// tick on, for as long as it is held.
#pragma once
#include <memory>

#include "controls/visual/TFlatButtonUnit.h"
#include "vcl/StdCtrls.h"

class TTimer;

namespace Flat {

inline constexpr int kFlatThumbLength = 17;
inline constexpr TColor kFlatScrollColor = static_cast<TColor>(0xE0E9EF);
inline constexpr TColor kFlatThumbColor = static_cast<TColor>(0x829AA2);

using TFlatOnScroll = TEvent<void(TObject* Sender, int ScrollPos)>;

class TFlatScrollbar;
class TFlatScrollbarTrack;

class TFlatScrollbarThumb : public TFlatButton {
  QORN_CLASS(TFlatScrollbarThumb, TFlatButton)
 public:
  TFlatScrollbarThumb(TComponent* AOwner, TFlatScrollbarTrack* track, TFlatScrollbar* bar);
  bool Dragging() const { return FDragging; }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  TFlatScrollbarTrack* FTrack;
  TFlatScrollbar* FBar;
  bool FDragging = false;
  int FPressAt = 0;  // where along the axis the drag took the thumb
};

class TFlatScrollbarTrack : public TCustomControl {
  QORN_CLASS(TFlatScrollbarTrack, TCustomControl)
 public:
  TFlatScrollbarTrack(TComponent* AOwner, TFlatScrollbar* bar);

  int GetMin() const { return FMin; }
  void SetMin(int v);
  int GetMax() const { return FMax; }
  void SetMax(int v);
  int GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(int v) { FSmallChange = v; }
  int GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(int v) { FLargeChange = v; }
  int GetPosition() const { return FPosition; }
  // Held within Min..Max; the thumb moves there.
  void SetPosition(int v);
  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind v);
  TFlatScrollbarThumb* Thumb() const { return FThumb; }
  // The track's extent along its axis.
  int Length() const;

  void WMSize(TMessage& m);

 protected:
  void Paint() override;

 private:
  friend class TFlatScrollbarThumb;
  static void Publish(TPublisher<TFlatScrollbarTrack>& p);
  TFlatScrollbarThumb* FThumb;
  int FMin = 0;
  int FMax = 100;
  int FSmallChange = 1;
  int FLargeChange = 1;
  int FPosition = 0;
  TScrollBarKind FKind = sbVertical;
};

class TFlatScrollbarButton : public TFlatButton {
  QORN_CLASS(TFlatScrollbarButton, TFlatButton)
 public:
  // direction: -1 for the first button (towards Min), +1 for the second.
  TFlatScrollbarButton(TComponent* AOwner, TFlatScrollbar* bar, int direction);
  ~TFlatScrollbarButton() override;
  bool Repeating() const { return FTimer != nullptr; }
  void StopRepeat() { FTimer.reset(); }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void Tick();
  TFlatScrollbar* FBar;
  int FDirection;
  std::unique_ptr<TTimer> FTimer;  // lives while the button is held
};

class TFlatScrollbar : public TCustomControl {
  QORN_CLASS(TFlatScrollbar, TCustomControl)
 public:
  explicit TFlatScrollbar(TComponent* AOwner);

  int GetMin() const { return FMin; }
  void SetMin(int v);
  int GetMax() const { return FMax; }
  void SetMax(int v);
  int GetSmallChange() const { return FSmallChange; }
  void SetSmallChange(int v);
  int GetLargeChange() const { return FLargeChange; }
  void SetLargeChange(int v);
  int GetPosition() const { return FPosition; }
  // Held within Min..Max; the thumb moves there. No OnScroll.
  void SetPosition(int v);
  TScrollBarKind GetKind() const { return FKind; }
  void SetKind(TScrollBarKind v);

  TColor GetButtonColor() const { return FButtonColor; }
  void SetButtonColor(TColor v);
  TColor GetButtonFocusedColor() const { return FButtonFocusedColor; }
  void SetButtonFocusedColor(TColor v);
  TColor GetButtonDownColor() const { return FButtonDownColor; }
  void SetButtonDownColor(TColor v);
  TColor GetButtonBorderColor() const { return FButtonBorderColor; }
  void SetButtonBorderColor(TColor v);
  TColor GetButtonHighlightColor() const { return FButtonHighlightColor; }
  void SetButtonHighlightColor(TColor v);
  TColor GetButtonShadowColor() const { return FButtonShadowColor; }
  void SetButtonShadowColor(TColor v);
  TColor GetThumbColor() const { return FThumbColor; }
  void SetThumbColor(TColor v);
  TColor GetThumbFocusedColor() const { return FThumbFocusedColor; }
  void SetThumbFocusedColor(TColor v);
  TColor GetThumbDownColor() const { return FThumbDownColor; }
  void SetThumbDownColor(TColor v);
  TColor GetThumbBorderColor() const { return FThumbBorderColor; }
  void SetThumbBorderColor(TColor v);
  TColor GetThumbHighlightColor() const { return FThumbHighlightColor; }
  void SetThumbHighlightColor(TColor v);
  TColor GetThumbShadowColor() const { return FThumbShadowColor; }
  void SetThumbShadowColor(TColor v);

  TFlatScrollbarButton* FirstButton() const { return FFirst; }
  TFlatScrollbarButton* SecondButton() const { return FSecond; }
  TFlatScrollbarTrack* Track() const { return FTrack; }

  TFlatOnScroll OnScroll;
  // Fires OnScroll with Position.
  void DoScroll();
  void Loaded() override;

  void WMSize(TMessage& m);
  void WMScroll(TMessage& m);
  void SBMSetPos(TMessage& m);
  void SBMGetPos(TMessage& m);
  void SBMSetRange(TMessage& m);
  void SBMGetRange(TMessage& m);
  void SBMEnableArrows(TMessage& m);
  void WMKeyDown(TMessage& m);
  void WMGetDlgCode(TMessage& m);

 private:
  friend class TFlatScrollbarThumb;
  static void Publish(TPublisher<TFlatScrollbar>& p);
  bool ColorStored() const { return !GetParentColor(); }
  void PlaceParts();
  void LoadGlyphs();
  void EnableArrow(TFlatScrollbarButton* button, bool first, bool enabled);
  // Gives c the colour through setter on both arrow buttons, or on the thumb.
  template <class Setter>
  void ToButtons(Setter set);
  template <class Setter>
  void ToThumb(Setter set);

  TFlatScrollbarButton* FFirst;
  TFlatScrollbarButton* FSecond;
  TFlatScrollbarTrack* FTrack;
  int FMin = 0;
  int FMax = 100;
  int FSmallChange = 1;
  int FLargeChange = 1;
  int FPosition = 0;
  TScrollBarKind FKind = sbVertical;
  TColor FButtonColor = kFlatScrollColor;
  TColor FButtonFocusedColor = kFlatScrollColor;
  TColor FButtonDownColor = kFlatScrollColor;
  TColor FButtonBorderColor = kFlatScrollColor;
  TColor FButtonHighlightColor = clWhite;
  TColor FButtonShadowColor = clBlack;
  TColor FThumbColor = kFlatThumbColor;
  TColor FThumbFocusedColor = kFlatThumbColor;
  TColor FThumbDownColor = kFlatThumbColor;
  TColor FThumbBorderColor = kFlatThumbColor;
  TColor FThumbHighlightColor = kFlatThumbColor;
  TColor FThumbShadowColor = kFlatThumbColor;
};

}  // namespace Flat
