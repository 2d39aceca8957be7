// Fonts, pens and brushes: value objects that controls own, copy with Assign and
// watch through OnChange (a control repaints when its font changes). Each makes
// its GDI object when first asked for Handle and again after a change.
#pragma once
#include <memory>
#include <string>

#include "vcl/Classes.h"
#include "vcl/Color.h"
#include "vcl/Types.h"
#include "vcl/Win.h"

QORN_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut);
using TFontStyles = TSet<TFontStyle>;
QORN_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed);
QORN_ENUM(TFontQuality, fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType,
          fqClearTypeNatural);
using TFontCharset = std::uint8_t;

QORN_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame);
QORN_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
          pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor);
QORN_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross,
          bsDiagCross);

// Owns one GDI object and deletes it when replaced or destroyed.
template <class H>
class TGdiHandle {
 public:
  TGdiHandle() = default;
  explicit TGdiHandle(H h) : FHandle(h) {}
  ~TGdiHandle() { Reset(); }
  TGdiHandle(const TGdiHandle&) = delete;
  TGdiHandle& operator=(const TGdiHandle&) = delete;
  TGdiHandle(TGdiHandle&& o) noexcept : FHandle(o.Release()) {}
  TGdiHandle& operator=(TGdiHandle&& o) noexcept {
    if (this != &o) Reset(o.Release());
    return *this;
  }
  H Get() const { return FHandle; }
  H Release() {
    H h = FHandle;
    FHandle = nullptr;
    return h;
  }
  void Reset(H h = nullptr) {
    if (FHandle) DeleteObject(FHandle);
    FHandle = h;
  }
  explicit operator bool() const { return FHandle != nullptr; }

 private:
  H FHandle = nullptr;
};

class TGraphicsObject : public TPersistent {
  QORN_CLASS(TGraphicsObject, TPersistent)
 public:
  TNotifyEvent OnChange;
  // Set by the canvas that has this object selected: called before the GDI object
  // is replaced, so the canvas can select it out first.
  std::function<void()> OnChanging;

 protected:
  void Changing() {
    if (OnChanging) OnChanging();
  }
  virtual void Changed() {
    if (OnChange) OnChange(this);
  }
};

// The screen's vertical resolution, the default PixelsPerInch of new fonts.
int ScreenPixelsPerInch();

class TFont : public TGraphicsObject {
  QORN_CLASS(TFont, TGraphicsObject)
 public:
  TFont();
  ~TFont() override;

  void Assign(const TPersistent* Source) override;

  const std::wstring& GetName() const { return FName; }
  void SetName(const std::wstring& Value);
  // Points (rounded from Height).
  int GetSize() const;
  void SetSize(int Value);
  // Pixels; negative means the character height without internal leading.
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFontCharset GetCharset() const { return FCharset; }
  void SetCharset(TFontCharset Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontQuality GetQuality() const { return FQuality; }
  void SetQuality(TFontQuality Value);
  // Tenths of a degree, counter-clockwise: text drawn turned (TrueType fonts only).
  int GetOrientation() const { return FOrientation; }
  void SetOrientation(int Value);
  int GetPixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value);

  // The font as GDI sees it; made on first use and after each change.
  HFONT GetHandle();
  // Adopts the description of a font made elsewhere; the caller keeps that handle.
  void SetHandle(HFONT Value);
  LOGFONTW GetLogFont() const;
  void SetLogFont(const LOGFONTW& Value);

  // Whether GDI draws this font as TrueType (only such fonts can be turned).
  bool IsTrueType();

 private:
  static void Publish(TPublisher<TFont>& p);
  void Modified();

  std::wstring FName;
  int FHeight;
  int FPixelsPerInch;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  TFontQuality FQuality = fqDefault;
  int FOrientation = 0;
  TGdiHandle<HFONT> FHandle;
};

class TPen : public TGraphicsObject {
  QORN_CLASS(TPen, TGraphicsObject)
 public:
  void Assign(const TPersistent* Source) override;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);
  HPEN GetHandle();
  // The ROP2 code of Mode (R2_COPYPEN...).
  int Rop2() const;

 private:
  static void Publish(TPublisher<TPen>& p);
  void Modified();

  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  TGdiHandle<HPEN> FHandle;
};

class TBitmap;

class TBrush : public TGraphicsObject {
  QORN_CLASS(TBrush, TGraphicsObject)
 public:
  TBrush();
  ~TBrush() override;
  void Assign(const TPersistent* Source) override;

  TColor GetColor() const { return FColor; }
  // Setting a colour on a clear brush makes it solid, as the platform does.
  void SetColor(TColor Value);
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);
  // A pattern brush from the bitmap (copied); nullptr removes it.
  TBitmap* GetBitmap() const { return FBitmap.get(); }
  void SetBitmap(TBitmap* Value);
  HBRUSH GetHandle();

 private:
  static void Publish(TPublisher<TBrush>& p);
  void Modified();

  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  std::unique_ptr<TBitmap> FBitmap;
  TGdiHandle<HBRUSH> FHandle;
};

// RECT and TRect share their layout.
inline RECT AsRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
inline TRect AsTRect(const RECT& r) { return TRect{int(r.left), int(r.top), int(r.right), int(r.bottom)}; }
