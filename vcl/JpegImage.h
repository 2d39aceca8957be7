// The JPEG image: read from JPEG files, and made from other pictures and saved
// as JPEG (screenshots).
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/Picture.h"

class TJPEGImage : public TGraphic {
  QORN_CLASS(TJPEGImage, TGraphic)
 public:
  TJPEGImage();
  ~TJPEGImage() override;
  // From another JPEG image (its file bytes too) or any graphic (its pixels,
  // compressed on Compress or when saved).
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FPixels.empty(); }
  int GetWidth() const override { return FPixels.width; }
  int GetHeight() const override { return FPixels.height; }

  // 1..100; used the next time the pixels are compressed.
  int GetCompressionQuality() const { return FQuality; }
  void SetCompressionQuality(int Value);
  bool GetGrayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value);
  // Compresses the pixels now with the current quality.
  void Compress();

  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size) override;
  using TGraphic::LoadFromBytes;
  // The file read, or the pixels compressed with CompressionQuality.
  std::vector<std::uint8_t> SaveToBytes() const override;
  PixelBuffer ToPixels() const override { return FPixels; }

 protected:
  void Draw(TCanvas& ACanvas, const TRect& R) override;

 private:
  PixelBuffer FPixels;
  std::vector<std::uint8_t> FFileBytes;  // empty until compressed or loaded
  int FQuality = 90;
  bool FGrayscale = false;
};
