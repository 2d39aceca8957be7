#include "vcl/JpegImage.h"

#include <algorithm>

#include "vcl/JpegCodec.h"

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const TPersistent* Source) {
  if (!Source) {
    FPixels = {};
    FFileBytes.clear();
    Changed();
    return;
  }
  if (auto* j = dynamic_cast<const TJPEGImage*>(Source)) {
    if (j == this) return;
    FPixels = j->FPixels;
    FFileBytes = j->FFileBytes;
    FQuality = j->FQuality;
    FGrayscale = j->FGrayscale;
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
    FPixels = g->ToPixels();
    MakeOpaque(FPixels);
    FFileBytes.clear();
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TJPEGImage::SetCompressionQuality(int Value) {
  Value = std::clamp(Value, 1, 100);
  if (Value == FQuality) return;
  FQuality = Value;
  FFileBytes.clear();
}

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == FGrayscale) return;
  FGrayscale = Value;
  FFileBytes.clear();
  Changed();
}

void TJPEGImage::Compress() {
  if (Empty()) throw EInvalidGraphic("The JPEG picture is empty");
  FFileBytes = EncodeJpeg(FPixels, FQuality, FGrayscale);
}

void TJPEGImage::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  PixelBuffer pixels = DecodeJpeg(Data, Size);
  FPixels = std::move(pixels);
  FFileBytes.assign(Data, Data + Size);
  Changed();
}

std::vector<std::uint8_t> TJPEGImage::SaveToBytes() const {
  if (!FFileBytes.empty()) return FFileBytes;
  if (Empty()) throw EInvalidGraphic("The JPEG picture is empty");
  return EncodeJpeg(FPixels, FQuality, FGrayscale);
}

void TJPEGImage::Draw(TCanvas& ACanvas, const TRect& R) { DrawPixelBuffer(ACanvas.GetHandle(), R, FPixels, false); }
