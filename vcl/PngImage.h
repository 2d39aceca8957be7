// The PNG image: kept in its file's own colour type (grey, RGB, palette, with or
// without alpha) so the PNG routines of the controls can read and change its
// palette, pixels and alpha plane, and drawn with its alpha channel.
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/Picture.h"
#include "vcl/PngCodec.h"

class TPngImage : public TGraphic {
  QORN_CLASS(TPngImage, TGraphic)
 public:
  TPngImage();
  ~TPngImage() override;
  // From another PNG image (an exact copy) or any graphic (as RGB with alpha,
  // or RGB when it is opaque).
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FData.empty(); }
  int GetWidth() const override { return FData.width; }
  int GetHeight() const override { return FData.height; }

  PngColorType ColorType() const { return FData.colorType; }
  // Replaces the picture with a blank one (samples 0, alpha 0).
  void CreateBlank(PngColorType Type, int Width, int Height);
  // Gives grey and RGB pictures an alpha plane (255 everywhere, 0 where the
  // transparent colour was); palette pictures become RGB with alpha first.
  void CreateAlpha();

  // The pixels as the file types keep them (see PngImageData). Changing them
  // through Data() must be followed by Changed().
  const PngImageData& Data() const { return FData; }
  PngImageData& Data() { return FData; }
  void SetData(PngImageData Value);
  // One row of pixels; 1 byte per pixel for grey and palette types, 3 (blue,
  // green, red) for the RGB types.
  std::uint8_t* Scanline(int Y);
  // One row of the alpha plane, nullptr when the picture has none.
  std::uint8_t* AlphaScanline(int Y);
  TColor GetPixel(int X, int Y) const;
  // Grey pictures take the colour's grey level; palette pictures the nearest entry.
  void SetPixel(int X, int Y, TColor Value);
  // The single transparent colour of grey and RGB pictures, clNone when none.
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor Value);

  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size) override;
  using TGraphic::LoadFromBytes;
  std::vector<std::uint8_t> SaveToBytes() const override;
  PixelBuffer ToPixels() const override;

  void Changed() override;

 protected:
  void Draw(TCanvas& ACanvas, const TRect& R) override;
  void DrawBlended(TCanvas& ACanvas, const TRect& R, std::uint8_t Opacity) override;

 private:
  PngImageData FData;
  // The drawable pixels, made again after a change.
  mutable PixelBuffer FPixels;
  mutable bool FPixelsValid = false;
};

using TPNGObject = TPngImage;
