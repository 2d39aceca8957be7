// What the framed window controls of the extended library share (list box, tree view,
// list view): a frame painted in the non-client area over the system's border, hot
// while the control is focused or under the mouse, and a colour that follows the
// control's state: DisabledColor while disabled, FocusColor while focused, Color
// otherwise.
//
// Rule: a control derives from its platform class and from TVyWindowFrame, brings
// this class's Color accessors into scope (`using TVyWindowFrame::SetColor`),
// publishes the properties with PublishWindowFrame, sends every message through
// FramedWndProc from its WndProc, and says in FrameVisibleChanged how its window is
// made anew. The frame controller reaches these properties by name.
#pragma once
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafx.h"
#include "vcl/Canvas.h"
#include "vcl/Controls.h"

#include <functional>
#include <memory>

namespace Vy {

class TVyWindowFrame {
 public:
  explicit TVyWindowFrame(TWinControl* control);
  virtual ~TVyWindowFrame() = default;
  TVyWindowFrame(const TVyWindowFrame&) = delete;
  TVyWindowFrame& operator=(const TVyWindowFrame&) = delete;

  // The colour shown now; writing it sets the colour shown while idle (and the focus
  // colour that equalled it).
  TColor GetColor() const { return FControl->GetColor(); }
  void SetColor(TColor v);
  TColor GetDisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor v);
  TColor GetFocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor v);
  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v);
  TVyFrameController* GetFrameController() const { return FFrameController; }
  void SetFrameController(TVyFrameController* v);
  TColor GetFrameHotColor() const { return FFrameHotColor; }
  void SetFrameHotColor(TColor v);
  bool GetFrameHotTrack() const { return FFrameHotTrack; }
  // On: the frame shows, on every side (outside loading).
  void SetFrameHotTrack(bool v);
  TFrameStyle GetFrameHotStyle() const { return FFrameHotStyle; }
  void SetFrameHotStyle(TFrameStyle v);
  TSides GetFrameSides() const { return FFrameSides; }
  void SetFrameSides(TSides v);
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v);
  bool GetFrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool v);
  TFramingPreference GetFramingPreference() const { return FFramingPreference; }
  void SetFramingPreference(TFramingPreference v);

  // The colour for the control's state (nothing while loading).
  virtual void UpdateColors();
  // changeOverControl: `over` is the new mouse-over state.
  virtual void UpdateFrame(bool changeOverControl, bool over);
  virtual void RedrawFrame();
  // The visual theme draws the border (fpXPThemes with themes on).
  virtual bool ThemesInUse() const;
  // Hot: hot tracking on and the control focused or under the mouse.
  bool FrameIsHot() const;
  bool MouseOver() const { return FHoverControl; }

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // Stored rules of the form resource: frame settings only while no controller gives them.
  bool IsFrameStored() const { return !FFrameController; }
  bool IsColorStored() const { return !FFrameController && FControl->GetEnabled(); }
  bool IsFocusColorStored() const;

 protected:
  // The frame was switched on or off: the window is made anew.
  virtual void FrameVisibleChanged() = 0;
  // After CM_MOUSEENTER / CM_MOUSELEAVE updated the frame: the events by default.
  virtual void MouseEntered();
  virtual void MouseLeft();
  // The frame's part of the control's messages; `inherited` is the control's own road.
  void FramedWndProc(TMessage& m, const std::function<void()>& inherited);
  // "FrameFlat", "FrameFocusStyle", "FrameFlatStyle" of older forms: read, never written.
  void DefineObsoleteFrameProperties(TFiler& filer);
  // Forgets a controller that is freed.
  void FrameNotification(TComponent* component, TOperation operation);
  // Leaves the controller; the control's destructor calls it.
  void UnlinkFrameController();
  bool Loading() const { return FControl->ComponentState().Contains(csLoading); }

 private:
  void PaintFrame(TMessage& m);
  template <class T>
  void ChangeFrame(T& field, T value) {
    if (field == value) return;
    field = value;
    RedrawFrame();
  }

  TWinControl* FControl;  // the control itself
  std::unique_ptr<TCanvas> FFrameCanvas;
  TColor FIdleColor = clWindow;
  bool FColorUpdating = false;
  bool FHoverControl = false;
  TColor FDisabledColor = clBtnFace;
  TColor FFocusColor = clWindow;
  TColor FFrameColor = clBtnShadow;
  TVyFrameController* FFrameController = nullptr;  // not owned; cleared when it goes
  TColor FFrameHotColor = clBtnShadow;
  bool FFrameHotTrack = false;
  TFrameStyle FFrameHotStyle = fsFlatBold;
  TSides FFrameSides = AllSides;
  TFrameStyle FFrameStyle = fsFlat;
  bool FFrameVisible = false;
  TFramingPreference FFramingPreference = fpXPThemes;
};

// The frame and colour properties of a control T deriving from TVyWindowFrame, with
// their defaults and stored rules.
template <class T>
void PublishWindowFrame(TPublisher<T>& p) {
  using F = TVyWindowFrame;
  p.Property(L"Color", &F::GetColor, &F::SetColor).Default(clWindow).Idents(ColorIdents).Stored(&F::IsColorStored);
  p.Property(L"DisabledColor", &F::GetDisabledColor, &F::SetDisabledColor)
      .Default(clBtnFace)
      .Idents(ColorIdents)
      .Stored(&F::IsFrameStored);
  p.Property(L"FocusColor", &F::GetFocusColor, &F::SetFocusColor)
      .Default(clWindow)
      .Idents(ColorIdents)
      .Stored(&F::IsFocusColorStored);
  p.Property(L"FrameColor", &F::GetFrameColor, &F::SetFrameColor)
      .Default(clBtnShadow)
      .Idents(ColorIdents)
      .Stored(&F::IsFrameStored);
  p.Property(L"FrameController", &F::GetFrameController, &F::SetFrameController);
  p.Property(L"FrameHotColor", &F::GetFrameHotColor, &F::SetFrameHotColor)
      .Default(clBtnShadow)
      .Idents(ColorIdents)
      .Stored(&F::IsFrameStored);
  p.Property(L"FrameHotTrack", &F::GetFrameHotTrack, &F::SetFrameHotTrack).Default(false).Stored(&F::IsFrameStored);
  p.Property(L"FrameHotStyle", &F::GetFrameHotStyle, &F::SetFrameHotStyle)
      .Default(fsFlatBold)
      .Stored(&F::IsFrameStored);
  p.Property(L"FrameSides", &F::GetFrameSides, &F::SetFrameSides).Default(AllSides).Stored(&F::IsFrameStored);
  p.Property(L"FrameStyle", &F::GetFrameStyle, &F::SetFrameStyle).Default(fsFlat).Stored(&F::IsFrameStored);
  p.Property(L"FrameVisible", &F::GetFrameVisible, &F::SetFrameVisible).Default(false).Stored(&F::IsFrameStored);
  p.Property(L"FramingPreference", &F::GetFramingPreference, &F::SetFramingPreference)
      .Default(fpXPThemes)
      .Stored(&F::IsFrameStored);
  p.Property(L"OnMouseEnter", &F::OnMouseEnter);
  p.Property(L"OnMouseLeave", &F::OnMouseLeave);
}

}  // namespace Vy
