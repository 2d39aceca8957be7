// TVyLabel: a label with raised, recessed or shadowed text, the bevelled border, text
// turned by any angle or laid along an arc, a second font colour while the mouse is over
// it (fly-by), blinking through the shared blinking list, and the frame controller link.
//
// Colours: the font colour is what the program sets; the label paints in it, or in
// BlinkColor during the blink list's "on" phase. A colour the program sets while the
// mouse is over the label or while it blinks is kept: leaving and blinking off return
// to it, not to an older one.
#pragma once
#include "controls/extended/VyCommon.h"
#include "controls/extended/VyGrafx.h"
#include "vcl/Bitmap.h"
#include "vcl/StdCtrls.h"

namespace Vy {

enum class TRotation { roNone, roFlat, roCurve };
QORN_ENUM_INFO(TRotation, roNone, roFlat, roCurve);
enum class TCenterPoint {
  cpUpperLeft,
  cpUpperCenter,
  cpUpperRight,
  cpLeftCenter,
  cpCenter,
  cpRightCenter,
  cpLowerLeft,
  cpLowerCenter,
  cpLowerRight
};
QORN_ENUM_INFO(TCenterPoint, cpUpperLeft, cpUpperCenter, cpUpperRight, cpLeftCenter, cpCenter, cpRightCenter,
               cpLowerLeft, cpLowerCenter, cpLowerRight);
enum class TVyCondenseCaption { ccNone, ccAtEnd, ccWithinPath };
QORN_ENUM_INFO(TVyCondenseCaption, ccNone, ccAtEnd, ccWithinPath);

// The box a text of this size takes when drawn turned by `angle` degrees.
TSize TurnedExtent(TSize size, int angle);
// 0..359 for any angle.
int NormalizeAngle(int angle);

class TVyLabel : public TLabel, public IVyFramingNotify {
  QORN_CLASS(TVyLabel, TLabel)
 public:
  explicit TVyLabel(TComponent* AOwner);
  ~TVyLabel() override;

  int GetAngle() const { return FAngle; }
  // Stored as 0..359; a turned label of a font that cannot turn takes "Verdana", and a
  // label that was not turned becomes roFlat.
  virtual void SetAngle(int v);
  bool GetBlinking() const { return FBlinking; }
  virtual void SetBlinking(bool v);
  TColor GetBlinkColor() const { return FBlinkColor; }
  virtual void SetBlinkColor(TColor v) { Change(FBlinkColor, v); }
  // One pair of intervals for every label: the blinking list's.
  unsigned GetBlinkIntervalOff() const;
  void SetBlinkIntervalOff(unsigned v);
  unsigned GetBlinkIntervalOn() const;
  void SetBlinkIntervalOn(unsigned v);
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v) { ChangeBounds(FBevelWidth, v); }
  TFrameStyleEx GetBorderInner() const { return FBorderInner; }
  void SetBorderInner(TFrameStyleEx v) { ChangeBounds(FBorderInner, v); }
  TFrameStyleEx GetBorderOuter() const { return FBorderOuter; }
  void SetBorderOuter(TFrameStyleEx v) { ChangeBounds(FBorderOuter, v); }
  TSides GetBorderSides() const { return FBorderSides; }
  void SetBorderSides(TSides v) { ChangeBounds(FBorderSides, v); }
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Change(FBorderColor, v); }
  TColor GetBorderHighlight() const { return FBorderHighlight; }
  void SetBorderHighlight(TColor v) { Change(FBorderHighlight, v); }
  TColor GetBorderShadow() const { return FBorderShadow; }
  void SetBorderShadow(TColor v) { Change(FBorderShadow, v); }
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v) { ChangeBounds(FBorderWidth, v); }
  TVyCondenseCaption GetCondenseCaption() const { return FCondenseCaption; }
  // Condensing turns AutoSize off: the caption is cut to the label, not the other way.
  void SetCondenseCaption(TVyCondenseCaption v);
  TColor GetFlatColor() const { return FFlatColor; }
  void SetFlatColor(TColor v) { Change(FFlatColor, v); }
  int GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
  void SetFlatColorAdjustment(int v) { Change(FFlatColorAdjustment, v); }
  TVyFrameController* GetFrameController() const { return FFrameController; }
  void SetFrameController(TVyFrameController* v);
  TCenterPoint GetCenterPoint() const { return FCenterPoint; }
  void SetCenterPoint(TCenterPoint v) { Change(FCenterPoint, v); }
  TColor GetFlyByColor() const { return FFlyByColor; }
  void SetFlyByColor(TColor v) { FFlyByColor = v; }
  bool GetFlyByEnabled() const { return FFlyByEnabled; }
  void SetFlyByEnabled(bool v);
  bool GetLightTextStyle() const { return FLightTextStyle; }
  void SetLightTextStyle(bool v) { Change(FLightTextStyle, v); }
  TRotation GetRotation() const { return FRotation; }
  // roNone and roFlat start from angle 0 (roFlat from the centre); roCurve keeps the angle.
  void SetRotation(TRotation v);
  TTextStyle GetTextStyle() const { return FTextStyle; }
  void SetTextStyle(TTextStyle v) { ChangeBounds(FTextStyle, v); }
  TColor GetHighlightColor() const { return FHighlightColor; }
  void SetHighlightColor(TColor v) { Change(FHighlightColor, v); }
  TColor GetShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor v) { Change(FShadowColor, v); }
  int GetShadowDepth() const { return FShadowDepth; }
  void SetShadowDepth(int v) { ChangeBounds(FShadowDepth, v); }

  // The colour the text is drawn in now.
  TColor PaintColor() const { return FPaintColor; }
  bool BlinkOn() const { return FBlinkOn; }

  // The frame controller pushed its settings (only a visible frame is taken).
  void FramingChanged() override;
  bool CanAutoSize(int& newWidth, int& newHeight) override;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void Loaded() override;

 protected:
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DefineProperties(TFiler& Filer) override;
  virtual void SetBlinkState(bool on);
  // A text size grown by the borders, the shadow and the turn.
  virtual TSize AddBorderExtent(TSize size) const;
  virtual TRect RemoveBorderExtent(TRect r, bool withBorderWidth) const;
  virtual void MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
  }
  virtual void MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
  }

  void CMIsBlinking(TMessage& m);
  void CMSetBlinkState(TMessage& m);
  void CMFontChanged(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMParentColorChanged(TMessage& m);

 private:
  static void Publish(TPublisher<TVyLabel>& p);
  template <class T>
  void Change(T& field, T value) {
    if (field == value) return;
    field = value;
    Invalidate();
  }
  template <class T>
  void ChangeBounds(T& field, T value) {
    if (field == value) return;
    field = value;
    AdjustBounds();
    Invalidate();
  }
  bool Loading() const { return ComponentState().Contains(csLoading); }
  // A turned label needs a font that turns.
  void EnsureTurnableFont();
  UINT DrawFlags() const;
  void DrawStyledText(TCanvas* canvas, const TRect& box, const std::wstring& text);
  void DrawFlatRotated(TCanvas* canvas, const TRect& box, const std::wstring& text);
  void DrawArcText(TCanvas* canvas, const std::wstring& text);
  struct TCopy {
    TColor Color;
    int Dx, Dy;
  };
  // The style copies under the text, in drawing order, then the text itself (for a
  // disabled label its embossing, unless the style copies are asked for anyway).
  std::vector<TCopy> TextCopies(int shadow, bool styledWhenDisabled) const;

  int FAngle = 0;
  bool FBlinking = false;
  TColor FBlinkColor = clHighlight;
  int FBevelWidth = 1;
  TFrameStyleEx FBorderInner = fsNone;
  TFrameStyleEx FBorderOuter = fsNone;
  TSides FBorderSides = AllSides;
  TColor FBorderColor = clBtnFace;
  TColor FBorderHighlight = clBtnHighlight;
  TColor FBorderShadow = clBtnShadow;
  int FBorderWidth = 0;
  TVyCondenseCaption FCondenseCaption = TVyCondenseCaption::ccNone;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
  TVyFrameController* FFrameController = nullptr;  // not owned; cleared when it goes
  TCenterPoint FCenterPoint = TCenterPoint::cpCenter;
  TColor FFlyByColor = clHighlight;
  bool FFlyByEnabled = false;
  bool FLightTextStyle = false;
  TRotation FRotation = TRotation::roNone;
  TColor FHighlightColor = clBtnHighlight;
  TColor FShadowColor = clBtnShadow;
  int FShadowDepth = 2;
  TTextStyle FTextStyle = TTextStyle::tsNormal;

  TColor FFontColor = clWindowText;  // the font colour outside the blink-on phase
  TColor FPaintColor = clWindowText;
  bool FBlinkOn = false;
  TColor FSavedColor = clWindowText;  // the font colour when the mouse came in
  bool FHovered = false;              // fly-by changed the font colour
  bool FStartColor = false;           // the constructor is setting the colours
};

}  // namespace Vy
