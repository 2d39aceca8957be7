// The flat push buttons: TFlatButton (its own window, focus and Space key) and
// the windowless TFlatSpeedButton. Both have a glyph strip, a caption, a 1-pixel
// frame that turns 3D under the mouse and when pressed, groups (one button of a
// group stays down) and three background modes.
//
// What both share lives here: the look (TFlatButtonLook, plain values the
// classes publish one by one) and the face painting (PaintFlatButtonFace).
//
// One user action gives one OnClick: a press and release inside, a Space
// key-down and key-up on the same focused button, or the caption's accelerator.
// The second press of a double click gives OnDblClick, not another click.
#pragma once
#include "controls/visual/FlatHoverTimer.h"
#include "controls/visual/FlatUtilitys.h"
#include "vcl/Buttons.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"
#include "vcl/PaintBuffer.h"

namespace Flat {

QORN_ENUM(TTransparentMode, tmAlways, tmNotFocused, tmNone);

inline constexpr TColor kFlatButtonColor = static_cast<TColor>(0xE1EAEB);
inline constexpr TColor kFlatButtonColorDown = static_cast<TColor>(0xC5D6D9);
inline constexpr TColor kFlatButtonColorBorder = static_cast<TColor>(0x8396A0);

// The colours of a flat button.
struct TFlatButtonLook {
  TColor Color = kFlatButtonColor;  // the control's Color, copied in before use
  TColor ColorFocused = kFlatButtonColor;
  TColor ColorDown = kFlatButtonColorDown;
  TColor ColorBorder = kFlatButtonColorBorder;
  TColor ColorHighLight = clWhite;
  TColor ColorShadow = clBlack;
  TAdvColors AdvColorFocused = 10;
  TAdvColors AdvColorDown = 10;
  TAdvColors AdvColorBorder = 50;
  bool UseAdvColors = false;

  // Derives ColorFocused, ColorDown and ColorBorder from Color when UseAdvColors.
  void Recompute();
};

// What the face painting needs besides the colours.
struct TFlatButtonFace {
  TButtonState State = bsUp;
  bool MouseOver = false;
  TTransparentMode Mode = tmNone;
  int IdleFrameWidth = 1;  // 2 for a default button
  TBitmap* Glyph = nullptr;
  int NumGlyphs = 1;
  int Margin = -1;
  int Spacing = 4;
  TButtonLayout Layout = blGlyphTop;
  std::wstring Caption;
};

// Paints the face on canvas over client. With tmAlways, and tmNotFocused away
// from the mouse, the background is parentBehind's (nothing when null).
void PaintFlatButtonFace(TCanvas* canvas, const TRect& client, const TFlatButtonLook& look,
                         const TFlatButtonFace& face, TControl* parentBehind);

// The cell of the glyph strip shown in state; -1 is the whole strip.
int FlatGlyphCell(int numGlyphs, TButtonState state);

// NumGlyphs a newly assigned strip implies, or current when it implies none.
int NumGlyphsOfStrip(const TBitmap* glyph, int current);

class TFlatButton : public TCustomControl {
  QORN_CLASS(TFlatButton, TCustomControl)
 public:
  explicit TFlatButton(TComponent* AOwner);
  ~TFlatButton() override;

  TTransparentMode GetTransparentMode() const { return FFace.Mode; }
  void SetTransparentMode(TTransparentMode v);
  bool GetDefault() const { return FDefault; }
  void SetDefault(bool v);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  bool GetDown() const { return FDown; }
  // Group 0 never stays down; a down button of a group without AllowAllUp stays
  // down; going down releases the group's other down button.
  void SetDown(bool v);
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  // Copies v (nothing when given the button's own); a strip of whole squares
  // sets NumGlyphs (1 beyond 4).
  void SetGlyph(TBitmap* v);
  TButtonLayout GetLayout() const { return FFace.Layout; }
  void SetLayout(TButtonLayout v);
  int GetMargin() const { return FFace.Margin; }
  // -1 is automatic; smaller values are ignored.
  void SetMargin(int v);
  int GetNumGlyphs() const { return FFace.NumGlyphs; }
  void SetNumGlyphs(int v);
  int GetSpacing() const { return FFace.Spacing; }
  void SetSpacing(int v);
  TModalResult GetModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult v) { FModalResult = v; }

  TColor GetColorFocused() const { return FLook.ColorFocused; }
  void SetColorFocused(TColor v);
  TColor GetColorDown() const { return FLook.ColorDown; }
  void SetColorDown(TColor v);
  TColor GetColorBorder() const { return FLook.ColorBorder; }
  void SetColorBorder(TColor v);
  TColor GetColorHighLight() const { return FLook.ColorHighLight; }
  void SetColorHighLight(TColor v);
  TColor GetColorShadow() const { return FLook.ColorShadow; }
  void SetColorShadow(TColor v);
  TAdvColors GetAdvColorFocused() const { return FLook.AdvColorFocused; }
  void SetAdvColorFocused(TAdvColors v);
  TAdvColors GetAdvColorDown() const { return FLook.AdvColorDown; }
  void SetAdvColorDown(TAdvColors v);
  TAdvColors GetAdvColorBorder() const { return FLook.AdvColorBorder; }
  void SetAdvColorBorder(TAdvColors v);
  bool GetUseAdvColors() const { return FLook.UseAdvColors; }
  void SetUseAdvColors(bool v);

  TButtonState GetState() const { return FFace.State; }
  bool MouseOver() const { return FFace.MouseOver; }

  // Copies ModalResult to the parent form (0 resets it), then OnClick.
  void Click() override;

  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void WMLButtonDblClk(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMButtonPressed(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMFontOrTextChanged(TMessage& m);
  void CMSysColorChange(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void WMSetFocus(TMessage& m);
  void WMKillFocus(TMessage& m);
  void WMKeyDown(TMessage& m);
  void WMKeyUp(TMessage& m);
  void WMSizeOrMove(TMessage& m);
  void WMEraseBkgnd(TMessage& m);

  static THoverTimer& ClassHoverTimer();

 protected:
  void Loaded() override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  static void Publish(TPublisher<TFlatButton>& p);
  bool Inside(int x, int y) const;
  void HoverEnter();
  void HoverLeave();
  void UpdateTracking();
  void BroadcastDown();

  TFlatButtonLook FLook;
  TFlatButtonFace FFace;
  std::unique_ptr<TBitmap> FGlyph;
  bool FDefault = false;
  bool FAllowAllUp = false;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FDragActive = false;
  bool FSpacePressed = false;
  TModalResult FModalResult = mrNone;
  TPaintBuffer FBuffer;
};

}  // namespace Flat
