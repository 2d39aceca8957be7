#include "controls/visual/PngFunctions.h"

#include "controls/visual/PngButtonGeometry.h"
#include "controls/visual/PngImageList.h"
#include "controls/visual/PngPixelMath.h"
#include "vcl/Win.h"

namespace Flat {

void MakeImageBlended(TPngImage* Image, int Amount) {
  if (!Image || Image->Empty()) return;
  // Palette pictures keep their indices: their palette carries the alpha.
  if (Image->ColorType() != PngColorType::Palette) Image->CreateAlpha();
  BlendAlpha(Image->Data(), Amount);
  Image->Changed();
}

void MakeImageGrayscale(TPngImage* Image, int Amount) {
  if (!Image || Image->Empty()) return;
  if (Image->Data().hasTransparentColor) Image->CreateAlpha();
  MakeGray(Image->Data(), Amount);
  Image->Changed();
}

std::unique_ptr<TPngImage> DisabledCopy(const TPngImage* Image, TPngOptions Options) {
  auto copy = std::make_unique<TPngImage>();
  copy->Assign(Image);
  if (Options.Contains(pngBlendOnDisabled)) MakeImageBlended(copy.get(), kDisabledBlend);
  if (Options.Contains(pngGrayscaleOnDisabled)) MakeImageGrayscale(copy.get(), kDisabledGray);
  return copy;
}

void DrawPNG(TPngImage* Image, TCanvas* Canvas, const TRect& R, TPngOptions Options) {
  if (!Image || Image->Empty() || !Canvas) return;
  if (Options.Empty()) {
    Canvas->StretchDraw(R, Image);
    return;
  }
  std::unique_ptr<TPngImage> copy = DisabledCopy(Image, Options);
  Canvas->StretchDraw(R, copy.get());
}

namespace {

// A PNG image of these pixels: RGB with alpha when some pixel is transparent, else RGB.
std::unique_ptr<TPngImage> PngOfPixels(const PixelBuffer& pixels) {
  if (pixels.empty()) return nullptr;
  PngImageData data = PngImageData::FromPixels(pixels);
  if (!pixels.hasTransparency()) {
    data.colorType = PngColorType::RGB;
    data.alpha.clear();
  }
  auto png = std::make_unique<TPngImage>();
  png->SetData(std::move(data));
  return png;
}

void KeyOut(PixelBuffer& pixels, TColor key) {
  const TColor rgb = ColorToRGB(key);
  for (std::size_t i = 0; i + 3 < pixels.bytes.size(); i += 4) {
    std::uint8_t* p = &pixels.bytes[i];
    p[3] = p[0] == GetBValue(rgb) && p[1] == GetGValue(rgb) && p[2] == GetRValue(rgb) ? 0 : 255;
  }
}

}  // namespace

std::unique_ptr<TPngImage> PNGFromBitmapAndMask(TBitmap* Bitmap, TBitmap* Mask, bool Inverse) {
  if (!Bitmap || Bitmap->Empty()) return nullptr;
  PixelBuffer pixels = Bitmap->ToPixels();
  const PixelBuffer mask = Mask && !Mask->Empty() ? Mask->ToPixels() : PixelBuffer();
  for (int y = 0; y < pixels.height; ++y) {
    for (int x = 0; x < pixels.width; ++x) {
      // A mask smaller than the bitmap leaves the rest opaque.
      std::uint8_t value = 255;
      if (x < mask.width && y < mask.height) {
        const std::uint32_t m = mask.at(x, y);
        // The mask's grey level (a monochrome mask is black or white).
        value = std::uint8_t((((m >> 16) & 0xFF) * 30 + ((m >> 8) & 0xFF) * 59 + (m & 0xFF) * 11 + 50) / 100);
        if (Inverse) value = std::uint8_t(255 - value);
      }
      pixels.row(y)[x * 4 + 3] = value;
    }
  }
  auto png = std::make_unique<TPngImage>();
  png->SetData(PngImageData::FromPixels(pixels));
  return png;
}

std::unique_ptr<TPngImage> PNGFromMaskColor(TBitmap* Bitmap, TColor MaskColor) {
  if (!Bitmap || Bitmap->Empty()) return nullptr;
  PixelBuffer pixels = Bitmap->ToPixels();
  KeyOut(pixels, MaskColor);
  auto png = std::make_unique<TPngImage>();
  png->SetData(PngImageData::FromPixels(pixels));
  return png;
}

std::unique_ptr<TPngImage> PNGFromGraphic(const TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return nullptr;
  if (auto* png = dynamic_cast<const TPngImage*>(Graphic)) {
    auto copy = std::make_unique<TPngImage>();
    copy->Assign(png);
    return copy;
  }
  PixelBuffer pixels = Graphic->ToPixels();
  if (auto* bitmap = dynamic_cast<const TBitmap*>(Graphic)) {
    if (bitmap->GetTransparent()) {
      KeyOut(pixels, bitmap->GetTransparentColor());
    } else {
      MakeOpaque(pixels);
    }
  }
  // Icons come with their own alpha, or their mask as alpha.
  return PngOfPixels(pixels);
}

std::unique_ptr<TPngImage> PNGFromImageList(TCustomImageList* List, int Index) {
  if (!List || Index < 0 || Index >= List->GetCount()) return nullptr;
  if (auto* pngList = dynamic_cast<TPngImageList*>(List)) {
    TPngImageCollectionItem* item = pngList->GetPngImages()->GetItem(Index);
    if (!item) return nullptr;
    auto copy = std::make_unique<TPngImage>();
    copy->Assign(item->GetPngImage());
    return copy;
  }
  PixelBuffer pixels = List->GetPixels(Index);
  // Another list's entry is an icon: opaque where its mask is black.
  for (std::size_t i = 3; i < pixels.bytes.size(); i += 4) pixels.bytes[i] = pixels.bytes[i] == 0 ? 0 : 255;
  return PngOfPixels(pixels);
}

void CalcButtonLayout(TCanvas* Canvas, TPngImage* Image, const TRect& Client, UINT TextFlags,
                      const std::wstring& Caption, TButtonLayout Layout, int Margin, int Spacing, bool Pressed,
                      TPoint& GlyphPos, TRect& TextRect) {
  if (TextFlags & DT_RIGHT) {
    if (Layout == blGlyphLeft)
      Layout = blGlyphRight;
    else if (Layout == blGlyphRight)
      Layout = blGlyphLeft;
  }
  const TSize glyph = Image && !Image->Empty() ? TSize{Image->GetWidth(), Image->GetHeight()} : TSize{};
  TSize text{};
  if (!Caption.empty() && Canvas) {
    TRect r(0, 0, Client.Width(), 0);
    Canvas->DrawText(Caption, r, DT_CALCRECT | TextFlags);
    text = {r.Width(), r.Height()};
  }
  static constexpr TGlyphSide kSide[] = {TGlyphSide::Left, TGlyphSide::Right, TGlyphSide::Top, TGlyphSide::Bottom};
  const TButtonPlacement place = PlaceButtonContent(Client, glyph, text, kSide[Layout], Margin, Spacing, Pressed);
  GlyphPos = place.glyph;
  TextRect = Bounds(place.text.X, place.text.Y, text.cx, text.cy);
}

}  // namespace Flat
