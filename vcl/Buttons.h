// Buttons with a glyph: TSpeedButton, windowless, down or up, grouped with its
// siblings of the same GroupIndex; TBitBtn, a push button drawn by the library
// with its kind's caption and glyph or the caller's.
//
// A glyph bitmap holds NumGlyphs pictures side by side: up, disabled, down and
// (speed buttons) stuck down. Its bottom-left pixel's colour is transparent.
#pragma once

#include "vcl/Bitmap.h"
#include "vcl/PaintBuffer.h"
#include "vcl/StdCtrls.h"

QORN_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom);
QORN_ENUM(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive);
QORN_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore,
          bkAll);
using TNumGlyphs = int;

// Where a glyph of glyphSize and the caption go in client: the glyph's top-left
// corner and the caption's rectangle. margin -1 centres the group; spacing is
// the gap between glyph and caption.
void CalcButtonLayout(TCanvas* canvas, const TRect& client, TSize glyphSize, const std::wstring& caption,
                      TButtonLayout layout, int margin, int spacing, TPoint& glyphPos, TRect& textBounds);

// Draws section `index` of a glyph strip at (x, y), its transparent colour left
// out; disabled draws the embossed outline of a one-picture glyph.
void DrawButtonGlyph(TCanvas* canvas, TBitmap* glyph, int numGlyphs, int index, int x, int y, bool disabled);

class TSpeedButton : public TGraphicControl {
  QORN_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* v);
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);
  bool GetDown() const { return FDown; }
  // A button in a group stays down until another of the group goes down (or,
  // with AllowAllUp, until it is clicked again). Outside a group it never stays down.
  void SetDown(bool v);
  int GetGroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int v);
  bool GetAllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool v);
  bool GetFlat() const { return FFlat; }
  void SetFlat(bool v);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  int GetMargin() const { return FMargin; }
  void SetMargin(int v);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v);
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v);
  TButtonState GetState() const { return FState; }
  // True while the mouse is over a flat button.
  bool MouseInControl() const { return FMouseInControl; }

  void CMButtonPressed(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMTextChanged(TMessage& m);
  void CMDialogChar(TMessage& m);
  void CMSysColorChange(TMessage& m);

 protected:
  void Paint() override;
  void Loaded() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  TButtonState FState = bsUp;

 private:
  static void Publish(TPublisher<TSpeedButton>& p);
  void GlyphChanged(TObject* sender);
  void UpdateExclusive();
  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  bool FDown = false;
  int FGroupIndex = 0;
  bool FAllowAllUp = false;
  bool FFlat = false;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FTransparent = true;
  bool FDragging = false;
  bool FMouseInControl = false;
};

class TBitBtn : public TButton {
  QORN_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  TBitmap* GetGlyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* v);
  TNumGlyphs GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs v);
  TBitBtnKind GetKind() const { return FKind; }
  // A kind gives the button its caption (unless a form gave one), its
  // ModalResult and its Default or Cancel role.
  void SetKind(TBitBtnKind v);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout v);
  int GetMargin() const { return FMargin; }
  void SetMargin(int v);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int v);
  // True while it looks like the button Enter clicks.
  bool IsFocusedLook() const { return FIsFocused; }
  // A close button closes its form, a help button shows its help; then OnClick.
  void Click() override;
  void WndProc(TMessage& m) override;
  void CMTextChanged(TMessage& m);
  void CMEnabledChanged(TMessage& m);
  void CMFontChanged(TMessage& m);

 protected:
  void CreateParams(TCreateParams& params) override;
  void SetButtonStyle(bool isDefault) override;
  // Paints the button into canvas (client coordinates).
  virtual void DrawButton(TCanvas* canvas, const TRect& client, bool pressed, bool focused);

 private:
  static void Publish(TPublisher<TBitBtn>& p);
  void CNDrawItem(TMessage& m);
  void GlyphChanged(TObject* sender);
  bool IsCustom() const { return FKind == bkCustom; }
  TBitmap* KindGlyph();
  std::unique_ptr<TBitmap> FGlyph;
  std::unique_ptr<TBitmap> FKindGlyph;
  TBitBtnKind FKindGlyphOf = bkCustom;
  TNumGlyphs FNumGlyphs = 1;
  TBitBtnKind FKind = bkCustom;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FIsFocused = false;
  TCanvas FCanvas;
  TPaintBuffer FBuffer;
};
