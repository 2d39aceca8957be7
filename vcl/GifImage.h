// The GIF image: the first frame of a GIF file, its transparent colour drawn
// transparent. GIF files are read only.
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/Picture.h"

class TGIFImage : public TGraphic {
  QORN_CLASS(TGIFImage, TGraphic)
 public:
  TGIFImage();
  ~TGIFImage() override;
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FPixels.empty(); }
  int GetWidth() const override { return FPixels.width; }
  int GetHeight() const override { return FPixels.height; }

  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size) override;
  using TGraphic::LoadFromBytes;
  // The file read (a GIF made from other pictures cannot be written).
  std::vector<std::uint8_t> SaveToBytes() const override;
  PixelBuffer ToPixels() const override { return FPixels; }

 protected:
  void Draw(TCanvas& ACanvas, const TRect& R) override;

 private:
  PixelBuffer FPixels;
  std::vector<std::uint8_t> FFileBytes;
};
