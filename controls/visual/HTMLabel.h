// THTMLabel: a label that shows tagged text (HTMLText.h) with an optional gradient
// or line background, bevels, a border, automatic sizing, vertical alignment, and
// anchors that change the cursor, can be hovered and clicked, and give hints.
// The popup's text label is one; the popup sets HTMLText and calls RedrawNow, its
// skin renderer calls PaintToCanvas.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "controls/visual/HTMLDraw.h"
#include "vcl/Controls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StringList.h"

namespace Flat {

QORN_ENUM(TAutoSizeType, asVertical, asHorizontal, asBoth);
QORN_ENUM(TGradientType, gtFullHorizontal, gtFullVertical, gtBottomLine, gtCenterLine, gtTopLine);
QORN_ENUM(TVAlignment, tvaTop, tvaCenter, tvaBottom);

using TAnchorClick = TEvent<void(TObject* Sender, const std::wstring& Anchor)>;
using TAnchorHintEvent = TEvent<void(TObject* Sender, std::wstring& Anchor)>;

// Opens an anchor's address with the shell; tests replace it so no browser starts.
using THTMLShellOpen = std::function<void(const std::wstring& address)>;
void SetHTMLShellOpen(THTMLShellOpen open);
// http, https and mailto addresses only: anything else (file://, javascript:...) is
// left to OnAnchorClick.
bool IsShellOpenableAnchor(const std::wstring& anchor);

class THTMLabel : public TGraphicControl {
  QORN_CLASS(THTMLabel, TGraphicControl)
 public:
  explicit THTMLabel(TComponent* AOwner);
  ~THTMLabel() override;

  TStrings* GetHTMLText() const { return FHTMLText.get(); }
  // Takes the whole text as one line; line breaks become blanks.
  void SetHTMLText(TStrings* v);
  bool GetAutoSizing() const { return FAutoSizing; }
  void SetAutoSizing(bool v);
  TAutoSizeType GetAutoSizeType() const { return FAutoSizeType; }
  void SetAutoSizeType(TAutoSizeType v);
  bool GetAnchorHint() const { return FAnchorHint; }
  void SetAnchorHint(bool v) { FAnchorHint = v; }
  TPanelBevel GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel v) { FBevelInner = v; Invalidate(); }
  TPanelBevel GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel v) { FBevelOuter = v; Invalidate(); }
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int v) { FBevelWidth = v; Invalidate(); }
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int v) { FBorderWidth = v; Invalidate(); }
  TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle v) { FBorderStyle = v; Invalidate(); }
  TColor GetBorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor v) { Change(FBorderColor, v); }
  TColor GetColorTo() const { return FColorTo; }
  void SetColorTo(TColor v) { Change(FColorTo, v); }
  bool GetEllipsis() const { return FEllipsis; }
  void SetEllipsis(bool v) { Change(FEllipsis, v); }
  TGradientType GetGradientType() const { return FGradientType; }
  void SetGradientType(TGradientType v) { Change(FGradientType, v); }
  bool GetHintShowFull() const { return FHintShowFull; }
  void SetHintShowFull(bool v) { FHintShowFull = v; }
  bool GetHTMLHint() const { return FHTMLHint; }
  void SetHTMLHint(bool v) { FHTMLHint = v; }
  bool GetHover() const { return FHover; }
  void SetHover(bool v) { FHover = v; }
  TColor GetHoverColor() const { return FHoverColor; }
  void SetHoverColor(TColor v) { FHoverColor = v; }
  TColor GetHoverFontColor() const { return FHoverFontColor; }
  void SetHoverFontColor(TColor v) { FHoverFontColor = v; }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* v);
  int GetLineWidth() const { return FLineWidth; }
  void SetLineWidth(int v) { Change(FLineWidth, v); }
  int GetLineSpacing() const { return FLineSpacing; }
  void SetLineSpacing(int v) { Change(FLineSpacing, v); }
  TColor GetShadowColor() const { return FShadowColor; }
  void SetShadowColor(TColor v) { Change(FShadowColor, v); }
  int GetShadowOffset() const { return FShadowOffset; }
  void SetShadowOffset(int v) { Change(FShadowOffset, v); }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool v) { Change(FTransparent, v); }
  TColor GetURLColor() const { return FURLColor; }
  void SetURLColor(TColor v) { Change(FURLColor, v); }
  TVAlignment GetVAlignment() const { return FVAlignment; }
  void SetVAlignment(TVAlignment v) { Change(FVAlignment, v); }
  std::wstring GetVersion() const { return L"1.8.0.2"; }
  void SetVersion(const std::wstring&) {}
  // Named and address pictures (none by default; not owned).
  void SetPictures(THTMLPictureSet* v) { FPictures = v; Invalidate(); }

  // The lines of HTMLText joined by blanks.
  std::wstring GetJoinedHTMLText() const;
  // Paints now, without waiting for WM_PAINT.
  void RedrawNow();
  // Draws the text alone (no background, bevel or border; nothing sized) into rect
  // with the canvas's own font.
  void PaintToCanvas(TCanvas* canvas, const TRect& rect);
  // The anchor at a client point and its rectangle; empty and (-1,-1,-1,-1) for none.
  std::wstring AnchorAt(int x, int y, TRect& rect);
  int GetTextWidth() const { return FTextWidth; }
  int GetTextHeight() const { return FLineTextHeight; }

  TAnchorClick OnAnchorClick;
  TAnchorClick OnAnchorEnter;
  TAnchorClick OnAnchorExit;
  TAnchorHintEvent OnAnchorHint;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  void CMHintShow(TMessage& m);
  void CMMouseEnter(TMessage& m);
  void CMMouseLeave(TMessage& m);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  virtual void HTMLChanged() { Invalidate(); }
  bool RenderHTML(TCanvas* canvas, const TRect& rect, THTMLTextInput in, THTMLTextOutput& out);

 private:
  static void Publish(TPublisher<THTMLabel>& p);
  template <class V>
  void Change(V& field, V v) {
    if (field == v) return;
    field = v;
    Invalidate();
  }
  THTMLTextInput BaseInput() const;
  TRect TextRect() const;  // the client rectangle inside bevels and border
  void InvalidateOnParent(const TRect& r);
  void HTMLTextChanged(TObject*);

  std::unique_ptr<TStringList> FHTMLText;
  std::unique_ptr<TChangeLink> FImagesLink;
  TCustomImageList* FImages = nullptr;  // not owned; cleared by Notification
  THTMLPictureSet* FPictures = nullptr;  // not owned
  bool FAutoSizing = false;
  TAutoSizeType FAutoSizeType = asVertical;
  bool FAnchorHint = false;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvNone;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TFormBorderStyle FBorderStyle = bsNone;
  TColor FBorderColor = clBlack;
  TColor FColorTo = clNone;
  bool FEllipsis = false;
  TGradientType FGradientType = gtFullHorizontal;
  bool FHintShowFull = false;
  bool FHTMLHint = false;
  bool FHover = false;
  TColor FHoverColor = clNone;
  TColor FHoverFontColor = clNone;
  int FLineWidth = 2;
  int FLineSpacing = 0;
  TColor FShadowColor = clGray;
  int FShadowOffset = 2;
  bool FTransparent = false;
  TColor FURLColor = clBlue;
  TVAlignment FVAlignment = tvaTop;
  int FHoverLink = -1;
  int FLastHoverLink = -1;
  std::wstring FLastAnchor;
  TRect FHoverRect{-1, -1, -1, -1};
  int FTextWidth = 0;
  int FLineTextHeight = 0;
};

}  // namespace Flat
