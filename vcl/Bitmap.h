// TBitmap: a device-independent bitmap (a top-down DIB section, so ScanLine[y]
// is row y from the top and pixels can be read and written directly) with a
// canvas of its own.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "vcl/Picture.h"

QORN_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom);
QORN_ENUM(TBitmapHandleType, bmDIB, bmDDB);
QORN_ENUM(TTransparentMode, tmAuto, tmFixed);
// How Draw treats the fourth byte of 32-bit pixels: not at all, as straight alpha,
// or as alpha already multiplied into the colours.
QORN_ENUM(TAlphaFormat, afIgnored, afDefined, afPremultiplied);

class TBitmap : public TGraphic {
  QORN_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  TBitmap(int Width, int Height, TPixelFormat Format = pf32bit);
  ~TBitmap() override;
  // Copies a bitmap, or turns another graphic into pixels: PNG, GIF and icon
  // pictures with transparency become pf32bit with AlphaFormat afDefined.
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  // Resizing keeps the pixels that still fit (top-left); new ones are black.
  void SetWidth(int Value) override { SetSize(Value, FHeight); }
  void SetHeight(int Value) override { SetSize(FWidth, Value); }
  void SetSize(int Width, int Height);

  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  // Converts the pixels; pfDevice and pfCustom are kept as 32-bit pixels.
  void SetPixelFormat(TPixelFormat Value);
  // Always a DIB section; bmDDB is remembered only (the pixels stay reachable).
  TBitmapHandleType GetHandleType() const { return FHandleType; }
  void SetHandleType(TBitmapHandleType Value) { FHandleType = Value; }
  bool GetMonochrome() const { return FPixelFormat == pf1bit; }
  void SetMonochrome(bool Value);
  TAlphaFormat GetAlphaFormat() const { return FAlphaFormat; }
  void SetAlphaFormat(TAlphaFormat Value);

  // The colour drawn transparent when Transparent is set: with tmAuto the colour
  // of the bottom-left pixel; setting it switches to tmFixed.
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  TCanvas* GetCanvas();
  HBITMAP GetHandle();
  // Adopts a bitmap made elsewhere (its pixels are copied into a DIB section and
  // the handle deleted); nullptr empties the bitmap.
  void SetHandle(HBITMAP Value);
  // Row y from the top; the pixels are flushed from GDI first.
  void* ScanLine(int Y);
  int BytesPerScanLine() const { return FStride; }
  TColor GetPixel(int X, int Y) const;
  void SetPixel(int X, int Y, TColor Value);

  // A BITMAP resource of a module (nullptr: the program).
  void LoadFromResourceName(HINSTANCE Instance, const std::wstring& Name);
  void LoadFromResourceID(HINSTANCE Instance, int Id);
  // The same with colours replaced as it loads (CreateMappedBitmap's job): each
  // pixel equal to a pair's first colour becomes its second.
  void LoadMappedFromResourceName(HINSTANCE Instance, const std::wstring& Name,
                                  const std::vector<std::pair<TColor, TColor>>& Map);

  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size) override;
  using TGraphic::LoadFromBytes;
  // A ".bmp" file: 32 bits for pf32bit, else 24.
  std::vector<std::uint8_t> SaveToBytes() const override;
  PixelBuffer ToPixels() const override;
  // Replaces the picture with these pixels, as pf32bit.
  void SetPixels(const PixelBuffer& Pixels, TAlphaFormat Alpha = afIgnored);

 protected:
  void Draw(TCanvas& ACanvas, const TRect& R) override;
  void DrawBlended(TCanvas& ACanvas, const TRect& R, std::uint8_t Opacity) override;

 private:
  class TBitmapCanvas;
  void Allocate(int Width, int Height, TPixelFormat Format, bool KeepPixels);
  int BitCount() const;
  void FreeCanvasDC();

  int FWidth = 0;
  int FHeight = 0;
  int FStride = 0;
  TPixelFormat FPixelFormat = pfDevice;
  TBitmapHandleType FHandleType = bmDIB;
  TAlphaFormat FAlphaFormat = afIgnored;
  TTransparentMode FTransparentMode = tmAuto;
  TColor FTransparentColor = clDefault;
  TGdiHandle<HBITMAP> FHandle;
  std::uint8_t* FBits = nullptr;
  std::unique_ptr<TBitmapCanvas> FCanvas;
};
