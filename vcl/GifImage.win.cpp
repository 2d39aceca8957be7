#include "vcl/GifImage.h"

#include "vcl/GifCodec.h"

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() = default;

void TGIFImage::Assign(const TPersistent* Source) {
  if (!Source) {
    FPixels = {};
    FFileBytes.clear();
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGIFImage*>(Source)) {
    if (g == this) return;
    FPixels = g->FPixels;
    FFileBytes = g->FFileBytes;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TGIFImage::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  PixelBuffer pixels = DecodeGif(Data, Size);
  FPixels = std::move(pixels);
  FFileBytes.assign(Data, Data + Size);
  Changed();
}

std::vector<std::uint8_t> TGIFImage::SaveToBytes() const {
  if (FFileBytes.empty()) throw EInvalidGraphic("Only GIF pictures read from a file can be saved");
  return FFileBytes;
}

void TGIFImage::Draw(TCanvas& ACanvas, const TRect& R) { DrawPixelBuffer(ACanvas.GetHandle(), R, FPixels, true); }
