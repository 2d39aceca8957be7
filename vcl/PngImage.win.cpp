#include "vcl/PngImage.h"

#include <cstring>
#include <limits>

TPngImage::TPngImage() = default;
TPngImage::~TPngImage() = default;

void TPngImage::Changed() {
  FPixelsValid = false;
  FPixels = {};
  TGraphic::Changed();
}

void TPngImage::Assign(const TPersistent* Source) {
  if (!Source) {
    SetData({});
    return;
  }
  if (auto* png = dynamic_cast<const TPngImage*>(Source)) {
    if (png == this) return;
    TGraphic::SetTransparent(png->GetTransparent());
    SetData(png->FData);
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
    const PixelBuffer pixels = g->ToPixels();
    if (pixels.empty()) {
      SetData({});
      return;
    }
    PngImageData data = PngImageData::FromPixels(pixels);
    if (!pixels.hasTransparency()) {
      data.colorType = PngColorType::RGB;
      data.alpha.clear();
    }
    SetData(std::move(data));
    return;
  }
  inherited::Assign(Source);
}

void TPngImage::SetData(PngImageData Value) {
  FData = std::move(Value);
  Changed();
}

void TPngImage::CreateBlank(PngColorType Type, int Width, int Height) { SetData(PngImageData::Blank(Type, Width, Height)); }

void TPngImage::CreateAlpha() {
  if (Empty() || FData.hasAlphaChannel()) return;
  const std::size_t count = std::size_t(FData.width) * FData.height;
  if (FData.colorType == PngColorType::Palette) {
    SetData(PngImageData::FromPixels(FData.toPixels()));
    return;
  }
  PngImageData next = FData;
  next.alpha.assign(count, 255);
  const int bpp = FData.bytesPerPixel();
  if (FData.hasTransparentColor) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t* p = &FData.pixels[i * bpp];
      const bool key = bpp == 1 ? p[0] == FData.transparentColor.r
                                : p[2] == FData.transparentColor.r && p[1] == FData.transparentColor.g &&
                                      p[0] == FData.transparentColor.b;
      if (key) next.alpha[i] = 0;
    }
  }
  next.hasTransparentColor = false;
  next.colorType = FData.colorType == PngColorType::Grayscale ? PngColorType::GrayscaleAlpha : PngColorType::RGBAlpha;
  SetData(std::move(next));
}

std::uint8_t* TPngImage::Scanline(int Y) {
  if (Y < 0 || Y >= FData.height) throw EInvalidGraphic("Scan line index out of range");
  return FData.pixels.data() + std::size_t(Y) * FData.width * FData.bytesPerPixel();
}

std::uint8_t* TPngImage::AlphaScanline(int Y) {
  if (Y < 0 || Y >= FData.height) throw EInvalidGraphic("Scan line index out of range");
  if (!FData.hasAlphaChannel()) return nullptr;
  return FData.alpha.data() + std::size_t(Y) * FData.width;
}

TColor TPngImage::GetPixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FData.width || Y >= FData.height) return clNone;
  const std::size_t i = std::size_t(Y) * FData.width + X;
  const std::uint8_t* p = &FData.pixels[i * FData.bytesPerPixel()];
  switch (FData.colorType) {
    case PngColorType::Grayscale:
    case PngColorType::GrayscaleAlpha: return RGBToColor(p[0], p[0], p[0]);
    case PngColorType::Palette: {
      const PngRGB c = p[0] < FData.palette.size() ? FData.palette[p[0]] : PngRGB{};
      return RGBToColor(c.r, c.g, c.b);
    }
    default: return RGBToColor(p[2], p[1], p[0]);
  }
}

void TPngImage::SetPixel(int X, int Y, TColor Value) {
  if (X < 0 || Y < 0 || X >= FData.width || Y >= FData.height) return;
  const TColor c = ColorToRGB(Value);
  const std::size_t i = std::size_t(Y) * FData.width + X;
  std::uint8_t* p = &FData.pixels[i * FData.bytesPerPixel()];
  switch (FData.colorType) {
    case PngColorType::Grayscale:
    case PngColorType::GrayscaleAlpha:
      p[0] = std::uint8_t((GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11 + 50) / 100);
      break;
    case PngColorType::Palette: {
      int best = 0, bestDistance = std::numeric_limits<int>::max();
      for (std::size_t k = 0; k < FData.palette.size(); ++k) {
        const PngRGB& e = FData.palette[k];
        const int dr = e.r - GetRValue(c), dg = e.g - GetGValue(c), db = e.b - GetBValue(c);
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
          bestDistance = d;
          best = int(k);
        }
      }
      p[0] = std::uint8_t(best);
      break;
    }
    default:
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
  }
  Changed();
}

TColor TPngImage::GetTransparentColor() const {
  if (!FData.hasTransparentColor) return clNone;
  return RGBToColor(FData.transparentColor.r, FData.transparentColor.g, FData.transparentColor.b);
}

void TPngImage::SetTransparentColor(TColor Value) {
  if (FData.colorType != PngColorType::Grayscale && FData.colorType != PngColorType::RGB) return;
  if (Value == clNone) {
    FData.hasTransparentColor = false;
  } else {
    const TColor c = ColorToRGB(Value);
    FData.hasTransparentColor = true;
    FData.transparentColor = {GetRValue(c), GetGValue(c), GetBValue(c)};
    if (FData.colorType == PngColorType::Grayscale) FData.transparentColor.g = FData.transparentColor.b = GetRValue(c);
  }
  Changed();
}

void TPngImage::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) { SetData(DecodePng(Data, Size)); }

std::vector<std::uint8_t> TPngImage::SaveToBytes() const {
  if (Empty()) throw EInvalidGraphic("The PNG picture is empty");
  return EncodePng(FData);
}

PixelBuffer TPngImage::ToPixels() const {
  if (Empty()) return {};
  if (!FPixelsValid) {
    FPixels = FData.toPixels();
    FPixelsValid = true;
  }
  return FPixels;
}

void TPngImage::Draw(TCanvas& ACanvas, const TRect& R) {
  if (Empty()) return;
  ToPixels();
  DrawPixelBuffer(ACanvas.GetHandle(), R, FPixels, true);
}

void TPngImage::DrawBlended(TCanvas& ACanvas, const TRect& R, std::uint8_t Opacity) {
  if (Empty()) return;
  ToPixels();
  DrawPixelBuffer(ACanvas.GetHandle(), R, FPixels, true, Opacity);
}
