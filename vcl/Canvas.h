// A drawing surface over a GDI device context. The pen, brush and font are
// selected into the DC only when a drawing call needs them, and again after they
// change or another DC is attached; a canvas never leaves its objects selected in
// a DC it gives back.
#pragma once
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "vcl/Font.h"

class TGraphic;
class TBitmap;

using TCopyMode = DWORD;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

class TCanvas : public TPersistent {
  QORN_CLASS(TCanvas, TPersistent)
 public:
  TCanvas();
  ~TCanvas() override;

  // The DC; a canvas without one asks CreateHandle (a control's canvas gets its
  // window's DC there). Throws EInvalidGraphic when there is still none.
  HDC GetHandle();
  // Attaches a DC made elsewhere (nullptr detaches); the caller keeps owning it.
  void SetHandle(HDC Value);
  bool HandleAllocated() const { return FHandle != nullptr; }

  TFont* GetFont() { return &FFont; }
  TPen* GetPen() { return &FPen; }
  TBrush* GetBrush() { return &FBrush; }
  // Copies the value in (Canvas->SetFont(Control->Font) keeps them separate).
  void SetFont(const TFont* Value) { FFont.Assign(Value); }
  void SetPen(const TPen* Value) { FPen.Assign(Value); }
  void SetBrush(const TBrush* Value) { FBrush.Assign(Value); }

  TPoint GetPenPos();
  void SetPenPos(TPoint Value) { MoveTo(Value.X, Value.Y); }
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  // ExtTextOut options added to every TextOut and TextRect (ETO_RTLREADING...).
  int GetTextFlags() const { return FTextFlags; }
  void SetTextFlags(int Value) { FTextFlags = Value; }

  TColor GetPixel(int X, int Y);
  void SetPixel(int X, int Y, TColor Value);
  // The clipping box in logical coordinates.
  TRect GetClipRect();

  // A counter only: the canvas belongs to the GUI thread.
  void Lock() { ++FLockCount; }
  void Unlock() { --FLockCount; }
  int LockCount() const { return FLockCount; }

  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(const TPoint* Points, int Count);
  void Polyline(const std::vector<TPoint>& Points) { Polyline(Points.data(), int(Points.size())); }
  void Polyline(std::initializer_list<TPoint> Points) { Polyline(Points.begin(), int(Points.size())); }
  void Polygon(const TPoint* Points, int Count);
  void Polygon(const std::vector<TPoint>& Points) { Polygon(Points.data(), int(Points.size())); }
  void Polygon(std::initializer_list<TPoint> Points) { Polygon(Points.begin(), int(Points.size())); }
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  // Fills with the brush (no outline).
  void FillRect(const TRect& R);
  // A one-pixel frame in the brush colour.
  void FrameRect(const TRect& R);
  // The dotted focus frame; drawing it twice removes it.
  void DrawFocusRect(const TRect& R);

  // Text in the font's colour; over the brush colour unless the brush is clear.
  void TextOut(int X, int Y, const std::wstring& Text);
  // Text at (X, Y) clipped to R (R filled first unless the brush is clear).
  void TextRect(const TRect& R, int X, int Y, const std::wstring& Text);
  TSize TextExtent(const std::wstring& Text);
  int TextWidth(const std::wstring& Text) { return TextExtent(Text).cx; }
  int TextHeight(const std::wstring& Text) { return TextExtent(Text).cy; }
  // DrawTextW with this canvas's font and colours; R is updated for DT_CALCRECT.
  // Returns the text height.
  int DrawText(const std::wstring& Text, TRect& R, UINT Format);

  void Draw(int X, int Y, TGraphic* Graphic);
  // Draws blended with a constant opacity (0..255) on top of the graphic's own alpha.
  void Draw(int X, int Y, TGraphic* Graphic, std::uint8_t Opacity);
  void StretchDraw(const TRect& R, TGraphic* Graphic);
  // Copies Source of another canvas to Dest here with CopyMode (stretching if sizes differ).
  void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
  // Copies part of a bitmap, with the pixels of one colour replaced by the brush.
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

  // Selects the pen, brush and font out of the DC (before code outside the
  // canvas draws on it, or the DC is given back).
  void Refresh() { DeselectHandles(); }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void CreateHandle() {}
  virtual void Changing();
  virtual void Changed();

  enum TState : unsigned { HandleValid = 1, FontValid = 2, PenValid = 4, BrushValid = 8 };
  // Makes sure the DC exists and has the named objects selected.
  void RequiredState(unsigned State);
  void DeselectHandles();

 private:
  void SelectFont();
  void SelectPen();
  void SelectBrush();

  HDC FHandle = nullptr;
  unsigned FState = 0;
  TFont FFont;
  TPen FPen;
  TBrush FBrush;
  HGDIOBJ FOriginalFont = nullptr;
  // The font colour last given to the DC: a colour change makes no new GDI font, so
  // it is applied again when the colour differs at the next drawing.
  TColor FAppliedTextColor = clNone;
  HGDIOBJ FOriginalPen = nullptr;
  HGDIOBJ FOriginalBrush = nullptr;
  TCopyMode FCopyMode = cmSrcCopy;
  int FTextFlags = 0;
  int FLockCount = 0;
};
