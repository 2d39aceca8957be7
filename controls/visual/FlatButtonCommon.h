// What the two flat push buttons share: TFlatButton (its own window, focus and
// Space key) and the windowless TFlatSpeedButton. Both have a glyph strip, a
// caption, a 1-pixel frame that turns 3D under the mouse and when pressed,
// groups (one button of a group stays down) and three background modes.
//
// The look is a plain value (TFlatButtonLook, TFlatButtonFace) painted by one
// free function; the behaviour (setters, groups, hover, mouse) is one template
// over the two platform bases, so that neither class copies the other's code.
//
// One user action gives one OnClick: a press and release inside, a Space
// key-down and key-up on the same focused button, or the caption's accelerator.
// The second press of a double click gives OnDblClick, not another click.
//
// State changes only invalidate (and update a window that exists): nothing a
// setter does before the window exists creates it.
#pragma once
#include <memory>
#include <string>

#include "controls/visual/FlatHoverTimer.h"
#include "controls/visual/FlatUtilitys.h"
#include "vcl/Bitmap.h"
#include "vcl/Buttons.h"
#include "vcl/Controls.h"
#include "vcl/Forms.h"

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
  int IdleFrameWidth = 1;    // 2 for a default button
  TBitmap* Glyph = nullptr;  // the button's, not owned
  int NumGlyphs = 1;
  int Margin = -1;
  int Spacing = 4;
  TButtonLayout Layout = blGlyphTop;
  std::wstring Caption;
};

// Paints the face on canvas over client. With tmAlways, and tmNotFocused away
// from the mouse, the background is parentBehind's (nothing when null).
void PaintFlatButtonFace(TCanvas* canvas, const TRect& client, const TFlatButtonLook& look, const TFlatButtonFace& face,
                         TControl* parentBehind);

// The cell of the glyph strip shown in state; -1 is the whole strip.
int FlatGlyphCell(int numGlyphs, TButtonState state);

// NumGlyphs a newly assigned strip implies, or current when it implies none.
int NumGlyphsOfStrip(const TBitmap* glyph, int current);

// The behaviour of both buttons over Base (TCustomControl or TGraphicControl).
// The concrete class publishes it through PublishCommon and names its own
// hover timer.
template <class Base>
class TFlatButtonCommon : public Base {
 public:
  explicit TFlatButtonCommon(TComponent* AOwner);
  ~TFlatButtonCommon() override;

  TTransparentMode GetTransparentMode() const { return FFace.Mode; }
  void SetTransparentMode(TTransparentMode v);
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
  void CMFontOrTextChanged(TMessage& m);
  void CMSysColorChange(TMessage& m);
  void CMParentColorChanged(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);

 protected:
  // The hover timer of the concrete class (one per class).
  virtual THoverTimer& HoverTimer() = 0;
  // What a press of the left button does beyond the face (the windowed button focuses).
  virtual void Pressed() {}
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // Paints the face on canvas, after the state fix-up of an enabled change.
  void PaintFace(TCanvas* canvas, TControl* parentBehind, int idleFrameWidth);
  // Invalidates and, when a window exists, paints it now; never creates one.
  void Redraw();
  void HoverEnter();
  void HoverLeave();
  void UpdateTracking();
  void BroadcastDown();
  bool Inside(int x, int y) const;

  template <class T>
  static void PublishCommon(TPublisher<T>& p);

  TFlatButtonLook FLook;
  TFlatButtonFace FFace;
  std::unique_ptr<TBitmap> FGlyph;
  bool FAllowAllUp = false;
  int FGroupIndex = 0;
  bool FDown = false;
  bool FDragActive = false;  // the left button went down here and is not released yet
  TModalResult FModalResult = mrNone;
};

extern template class TFlatButtonCommon<TCustomControl>;
extern template class TFlatButtonCommon<TGraphicControl>;

template <class Base>
template <class T>
void TFlatButtonCommon<Base>::PublishCommon(TPublisher<T>& p) {
  using C = TFlatButtonCommon<Base>;
  p.Message(WM_LBUTTONDBLCLK, &C::WMLButtonDblClk);
  p.Message(CM_ENABLEDCHANGED, &C::CMEnabledChanged);
  p.Message(CM_BUTTONPRESSED, &C::CMButtonPressed);
  p.Message(CM_FONTCHANGED, &C::CMFontOrTextChanged);
  p.Message(CM_TEXTCHANGED, &C::CMFontOrTextChanged);
  p.Message(CM_SYSCOLORCHANGE, &C::CMSysColorChange);
  p.Message(CM_PARENTCOLORCHANGED, &C::CMParentColorChanged);
  p.Message(CM_MOUSEENTER, &C::CMMouseEnter);
  p.Message(CM_MOUSELEAVE, &C::CMMouseLeave);
  p.Property(L"Caption", &C::GetCaption, &C::SetCaption);
  p.Property(L"TransparentMode", &C::GetTransparentMode, &C::SetTransparentMode).Default(tmNone);
  p.Property(L"AllowAllUp", &C::GetAllowAllUp, &C::SetAllowAllUp).Default(false);
  p.Property(L"GroupIndex", &C::GetGroupIndex, &C::SetGroupIndex).Default(0);
  p.Property(L"Down", &C::GetDown, &C::SetDown).Default(false);
  p.Property(L"Glyph", &C::GetGlyph, &C::SetGlyph);
  p.Property(L"Layout", &C::GetLayout, &C::SetLayout).Default(blGlyphTop);
  p.Property(L"Margin", &C::GetMargin, &C::SetMargin).Default(-1);
  p.Property(L"NumGlyphs", &C::GetNumGlyphs, &C::SetNumGlyphs).Default(1);
  p.Property(L"Spacing", &C::GetSpacing, &C::SetSpacing).Default(4);
  p.Property(L"ModalResult", &C::GetModalResult, &C::SetModalResult).Default(mrNone);
  p.Property(L"ColorFocused", &C::GetColorFocused, &C::SetColorFocused).Default(kFlatButtonColor).Idents(ColorIdents);
  p.Property(L"ColorDown", &C::GetColorDown, &C::SetColorDown).Default(kFlatButtonColorDown).Idents(ColorIdents);
  p.Property(L"ColorBorder", &C::GetColorBorder, &C::SetColorBorder)
      .Default(kFlatButtonColorBorder)
      .Idents(ColorIdents);
  p.Property(L"ColorHighLight", &C::GetColorHighLight, &C::SetColorHighLight).Default(clWhite).Idents(ColorIdents);
  p.Property(L"ColorShadow", &C::GetColorShadow, &C::SetColorShadow).Default(clBlack).Idents(ColorIdents);
  p.Property(L"AdvColorFocused", &C::GetAdvColorFocused, &C::SetAdvColorFocused).Default(10);
  p.Property(L"AdvColorDown", &C::GetAdvColorDown, &C::SetAdvColorDown).Default(10);
  p.Property(L"AdvColorBorder", &C::GetAdvColorBorder, &C::SetAdvColorBorder).Default(50);
  p.Property(L"UseAdvColors", &C::GetUseAdvColors, &C::SetUseAdvColors).Default(false);
  p.Property(L"OnMouseEnter", &C::OnMouseEnter);
  p.Property(L"OnMouseLeave", &C::OnMouseLeave);
}

}  // namespace Flat
