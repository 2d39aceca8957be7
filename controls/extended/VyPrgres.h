// TVyProgressBar: a percentage as a filled bar with a centred percentage text
// (traditional style) or as a row of segments (LED style), inside the bevelled border.
#pragma once
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafx.h"
#include "vcl/Controls.h"

namespace Vy {

QORN_ENUM(TBarStyle, bsTraditional, bsLED);

using TProgressChangeEvent = TEvent<void(TObject* Sender, int Percent)>;

class TVyProgressBar : public TGraphicControl, public IVyFramingNotify {
  QORN_CLASS(TVyProgressBar, TGraphicControl)
 public:
  explicit TVyProgressBar(TComponent* AOwner);
  ~TVyProgressBar() override;

  TColor GetBackColor() const { return FBackColor; }
  void SetBackColor(TColor v) { Change(FBackColor, v); }
  // The text over the rest of the bar takes the bar's colour from the font.
  TColor GetBarColor() const { return FBarColor; }
  void SetBarColor(TColor v);
  TBarStyle GetBarStyle() const { return FBarStyle; }
  // LED style has no percentage text and a one-pixel interior offset; traditional the opposite.
  void SetBarStyle(TBarStyle v);
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v) { Change(FBevelWidth, v); }
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Change(FBorderColor, v); }
  TFrameStyleEx GetBorderInner() const { return FBorderInner; }
  void SetBorderInner(TFrameStyleEx v) { Change(FBorderInner, v); }
  TFrameStyleEx GetBorderOuter() const { return FBorderOuter; }
  void SetBorderOuter(TFrameStyleEx v) { Change(FBorderOuter, v); }
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v) { Change(FBorderWidth, v); }
  TColor GetFlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor v) { Change(FFlatColor, v); }
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int v) { Change(FFlatColorAdjustment, v); }
  TVyFrameController* GetFrameController() const { return FFrameController; }
  void SetFrameController(TVyFrameController* v) { LinkFrameController(this, FFrameController, v); }
  int GetInteriorOffset() const { return FInteriorOffset; }
  void SetInteriorOffset(int v) { Change(FInteriorOffset, v); }
  int GetNumSegments() const { return FNumSegments; }
  void SetNumSegments(int v) { Change(FNumSegments, v); }
  TOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TOrientation v) { Change(FOrientation, v); }
  // Limited to TotalParts; outside loading it sets Percent from the fraction done.
  unsigned GetPartsComplete() const { return FPartsComplete; }
  void SetPartsComplete(unsigned v);
  // Outside loading a new total starts again from 0.
  unsigned GetTotalParts() const { return FTotalParts; }
  void SetTotalParts(unsigned v);
  // Fires OnChange first. Stored as given; drawn as at most 100.
  int GetPercent() const { return FPercent; }
  void SetPercent(int v);
  bool GetShowPercent() const { return FShowPercent; }
  void SetShowPercent(bool v) { Change(FShowPercent, v); }
  bool GetThemeAware() const { return FThemeAware; }
  void SetThemeAware(bool v) { Change(FThemeAware, v); }

  // Turns vertical when taller than wide.
  void SetBounds(int left, int top, int width, int height) override;

  // A visible controller frame replaces the border and the back colour.
  void FramingChanged() override;

  TProgressChangeEvent OnChange;

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // On a status bar the grip at the right end stays reachable through the bar.
  void CMHitTest(TMessage& m);
  virtual void DoChange(int percent) {
    if (OnChange) OnChange(this, percent);
  }

 private:
  static void Publish(TPublisher<TVyProgressBar>& p);
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  bool Loading() const { return ComponentState().Contains(csLoading); }

  TColor FBackColor = clWhite;
  TColor FBarColor = clHighlight;
  TBarStyle FBarStyle = bsTraditional;
  int FBevelWidth = 1;
  TColor FBorderColor = clBtnFace;
  TFrameStyleEx FBorderInner = fsNone;
  TFrameStyleEx FBorderOuter = fsLowered;
  int FBorderWidth = 0;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
  int FInteriorOffset = 0;
  int FNumSegments = 20;
  TOrientation FOrientation = orHorizontal;
  unsigned FPartsComplete = 0;
  int FPercent = 0;
  bool FShowPercent = true;
  bool FThemeAware = true;
  unsigned FTotalParts = 0;
  TVyFrameController* FFrameController = nullptr;  // not owned; cleared when it goes
};

}  // namespace Vy
