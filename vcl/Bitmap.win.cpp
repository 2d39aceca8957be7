#include "vcl/Bitmap.h"

#include <algorithm>
#include <cstring>

#include "vcl/BmpCodec.h"

// The bitmap's own canvas: a memory DC with the DIB section selected, made when
// first drawn on and kept until the pixels are reallocated.
class TBitmap::TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& owner) : FOwner(owner) {}
  ~TBitmapCanvas() override { Release(); }
  void Release() {
    if (!FDC) return;
    SetHandle(nullptr);
    SelectObject(FDC, FOldBitmap);
    DeleteDC(FDC);
    FDC = nullptr;
  }

 protected:
  void CreateHandle() override {
    // An empty bitmap still gets a DC (drawing on it does nothing), as callers
    // measure text on a fresh bitmap's canvas.
    FDC = CreateCompatibleDC(nullptr);
    if (!FDC) return;
    FOldBitmap = FOwner.FHandle ? SelectObject(FDC, FOwner.FHandle.Get()) : nullptr;
    SetHandle(FDC);
  }

 private:
  TBitmap& FOwner;
  HDC FDC = nullptr;
  HGDIOBJ FOldBitmap = nullptr;
};

namespace {

int BitsOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

void FillPalette(DibInfo& info, int bits) {
  if (bits == 1) {
    info.colors[0] = {0, 0, 0, 0};
    info.colors[1] = {255, 255, 255, 0};
    info.header.biClrUsed = 2;
  } else if (bits == 4) {
    // The 16 standard colours, in their usual order.
    static const COLORREF kVga[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
                                      0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    for (int i = 0; i < 16; ++i)
      info.colors[i] = {GetBValue(kVga[i]), GetGValue(kVga[i]), GetRValue(kVga[i]), 0};
    info.header.biClrUsed = 16;
  } else if (bits == 8) {
    // A 6 x 6 x 6 colour cube and greys fill the 256 entries.
    int i = 0;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b) info.colors[i++] = {BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0};
    for (int k = 0; i < 256; ++i, ++k) {
      const BYTE v = BYTE(8 + k * 6);
      info.colors[i] = {v, v, v, 0};
    }
    info.header.biClrUsed = 256;
  }
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int Width, int Height, TPixelFormat Format) {
  FPixelFormat = Format;
  SetSize(Width, Height);
}

TBitmap::~TBitmap() { FreeCanvasDC(); }

int TBitmap::BitCount() const { return BitsOf(FPixelFormat); }

void TBitmap::FreeCanvasDC() {
  if (FCanvas) FCanvas->Release();
}

void TBitmap::Allocate(int Width, int Height, TPixelFormat Format, bool KeepPixels) {
  Width = std::max(Width, 0);
  Height = std::max(Height, 0);
  if (Width > 0 && Height > 0) CheckPictureSize(Width, Height);
  GdiFlush();
  // A bitmap can be selected into one DC only: the canvas lets go of it first.
  FreeCanvasDC();
  TGdiHandle<HBITMAP> fresh;
  std::uint8_t* bits = nullptr;
  const int bitCount = BitsOf(Format);
  const int stride = ((Width * bitCount + 31) / 32) * 4;
  if (Width > 0 && Height > 0) {
    DibInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = Width;
    info.header.biHeight = -Height;
    info.header.biPlanes = 1;
    info.header.biBitCount = WORD(bitCount);
    info.header.biCompression = BI_RGB;
    FillPalette(info, bitCount);
    if (Format == pf16bit) {
      info.header.biCompression = BI_BITFIELDS;
      auto* masks = reinterpret_cast<DWORD*>(info.colors);
      masks[0] = 0xF800;
      masks[1] = 0x07E0;
      masks[2] = 0x001F;
    }
    void* p = nullptr;
    fresh.Reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &p, nullptr, 0));
    if (!fresh) throw EInvalidGraphic("Out of system resources for a bitmap");
    bits = static_cast<std::uint8_t*>(p);
    std::memset(bits, 0, std::size_t(stride) * Height);
    if (KeepPixels && FHandle && FWidth > 0 && FHeight > 0) {
      const int w = std::min(Width, FWidth), h = std::min(Height, FHeight);
      if (Format == FPixelFormat || BitsOf(Format) == BitCount()) {
        // Same layout: copy the bytes (GDI would drop the alpha of 32-bit pixels).
        const std::size_t rowBytes = (std::size_t(w) * bitCount + 7) / 8;
        for (int y = 0; y < h; ++y) std::memcpy(bits + std::size_t(y) * stride, FBits + std::size_t(y) * FStride, rowBytes);
      } else {
        HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
        HGDIOBJ oldSrc = SelectObject(src, FHandle.Get()), oldDst = SelectObject(dst, fresh.Get());
        BitBlt(dst, 0, 0, w, h, src, 0, 0, SRCCOPY);
        SelectObject(src, oldSrc);
        SelectObject(dst, oldDst);
        DeleteDC(src);
        DeleteDC(dst);
        GdiFlush();
      }
    }
  }
  FHandle = std::move(fresh);
  FBits = bits;
  FWidth = FHandle ? Width : 0;
  FHeight = FHandle ? Height : 0;
  FStride = FHandle ? stride : 0;
  FPixelFormat = Format;
}

void TBitmap::SetSize(int Width, int Height) {
  if (Width == FWidth && Height == FHeight) return;
  Allocate(Width, Height, FPixelFormat, true);
  Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == FPixelFormat) return;
  Allocate(FWidth, FHeight, Value, true);
  Changed();
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == GetMonochrome()) return;
  SetPixelFormat(Value ? pf1bit : pfDevice);
}

void TBitmap::SetAlphaFormat(TAlphaFormat Value) {
  if (Value == FAlphaFormat) return;
  FAlphaFormat = Value;
  Changed();
}

TColor TBitmap::GetTransparentColor() const {
  if (FTransparentMode == tmFixed && FTransparentColor != clDefault) return FTransparentColor;
  if (Empty()) return clDefault;
  return GetPixel(0, FHeight - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == FTransparentColor && FTransparentMode == tmFixed) return;
  FTransparentColor = Value;
  FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == FTransparentMode) return;
  FTransparentMode = Value;
  if (Value == tmAuto) FTransparentColor = clDefault;
  Changed();
}

TCanvas* TBitmap::GetCanvas() {
  if (!FCanvas) {
    FCanvas = std::make_unique<TBitmapCanvas>(*this);
    FCanvas->OnChange = [this](TObject*) { Changed(); };
  }
  return FCanvas.get();
}

HBITMAP TBitmap::GetHandle() {
  GdiFlush();
  return FHandle.Get();
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (!Value) {
    Allocate(0, 0, FPixelFormat, false);
    Changed();
    return;
  }
  TGdiHandle<HBITMAP> adopted(Value);
  BITMAP bm{};
  if (!GetObjectW(Value, sizeof bm, &bm)) throw EInvalidGraphic("Not a bitmap handle");
  const TPixelFormat format = bm.bmBitsPixel == 1 ? pf1bit : bm.bmBitsPixel == 32 ? pf32bit : pf24bit;
  Allocate(bm.bmWidth, std::abs(bm.bmHeight), format, false);
  if (FHandle) {
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSrc = SelectObject(src, Value), oldDst = SelectObject(dst, FHandle.Get());
    BitBlt(dst, 0, 0, FWidth, FHeight, src, 0, 0, SRCCOPY);
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteDC(src);
    DeleteDC(dst);
    GdiFlush();
  }
  Changed();
}

void* TBitmap::ScanLine(int Y) {
  if (Y < 0 || Y >= FHeight) throw EInvalidGraphic("Scan line index out of range");
  GdiFlush();
  return FBits + std::size_t(Y) * FStride;
}

TColor TBitmap::GetPixel(int X, int Y) const {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return clNone;
  GdiFlush();
  const std::uint8_t* row = FBits + std::size_t(Y) * FStride;
  switch (BitCount()) {
    case 32: return RGBToColor(row[X * 4 + 2], row[X * 4 + 1], row[X * 4]);
    case 24: return RGBToColor(row[X * 3 + 2], row[X * 3 + 1], row[X * 3]);
    default: {
      // Other depths through GDI, which knows their palettes and masks.
      return TColor(::GetPixel(const_cast<TBitmap*>(this)->GetCanvas()->GetHandle(), X, Y));
    }
  }
}

void TBitmap::SetPixel(int X, int Y, TColor Value) {
  if (X < 0 || Y < 0 || X >= FWidth || Y >= FHeight) return;
  const TColor c = ColorToRGB(Value);
  GdiFlush();
  std::uint8_t* row = FBits + std::size_t(Y) * FStride;
  if (BitCount() == 32) {
    std::uint8_t* p = row + X * 4;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
    p[3] = 255;
  } else if (BitCount() == 24) {
    std::uint8_t* p = row + X * 3;
    p[0] = GetBValue(c);
    p[1] = GetGValue(c);
    p[2] = GetRValue(c);
  } else {
    GetCanvas()->SetPixel(X, Y, c);
    return;
  }
  Changed();
}

PixelBuffer TBitmap::ToPixels() const {
  if (Empty()) return {};
  GdiFlush();
  PixelBuffer out(FWidth, FHeight);
  if (BitCount() == 32) {
    for (int y = 0; y < FHeight; ++y) std::memcpy(out.row(y), FBits + std::size_t(y) * FStride, std::size_t(FWidth) * 4);
    if (FAlphaFormat == afIgnored) {
      MakeOpaque(out);
    } else if (FAlphaFormat == afPremultiplied) {
      for (std::size_t i = 0; i < out.bytes.size(); i += 4) {
        const int a = out.bytes[i + 3];
        for (int c = 0; c < 3; ++c) out.bytes[i + c] = a ? std::uint8_t(std::min(255, (out.bytes[i + c] * 255 + a / 2) / a)) : 0;
      }
    }
  } else if (BitCount() == 24) {
    for (int y = 0; y < FHeight; ++y) {
      const std::uint8_t* s = FBits + std::size_t(y) * FStride;
      std::uint8_t* d = out.row(y);
      for (int x = 0; x < FWidth; ++x, s += 3, d += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        d[3] = 255;
      }
    }
  } else {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = FWidth;
    bi.bmiHeader.biHeight = -FHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    // GetDIBits wants the bitmap out of every DC.
    const_cast<TBitmap*>(this)->FreeCanvasDC();
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, FHandle.Get(), 0, UINT(FHeight), out.bytes.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    MakeOpaque(out);
  }
  if (GetTransparent()) {
    const TColor key = ColorToRGB(GetTransparentColor());
    for (std::size_t i = 0; i < out.bytes.size(); i += 4) {
      if (out.bytes[i] == GetBValue(key) && out.bytes[i + 1] == GetGValue(key) && out.bytes[i + 2] == GetRValue(key))
        out.bytes[i + 3] = 0;
    }
  }
  return out;
}

void TBitmap::SetPixels(const PixelBuffer& Pixels, TAlphaFormat Alpha) {
  Allocate(Pixels.width, Pixels.height, pf32bit, false);
  for (int y = 0; y < FHeight; ++y) std::memcpy(FBits + std::size_t(y) * FStride, Pixels.row(y), std::size_t(FWidth) * 4);
  FAlphaFormat = Alpha;
  Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
  if (!Source) {
    Allocate(0, 0, FPixelFormat, false);
    Changed();
    return;
  }
  if (auto* b = dynamic_cast<const TBitmap*>(Source)) {
    if (b == this) return;
    GdiFlush();
    Allocate(b->FWidth, b->FHeight, b->FPixelFormat, false);
    if (FBits && b->FBits) {
      if (BitCount() <= 8) {
        // Keep the source's palette too.
        RGBQUAD colors[256];
        const UINT n = GetDIBColorTable(const_cast<TBitmap*>(b)->GetCanvas()->GetHandle(), 0, 256, colors);
        SetDIBColorTable(GetCanvas()->GetHandle(), 0, n, colors);
      }
      std::memcpy(FBits, b->FBits, std::size_t(FStride) * FHeight);
    }
    FHandleType = b->FHandleType;
    FAlphaFormat = b->FAlphaFormat;
    FTransparentMode = b->FTransparentMode;
    FTransparentColor = b->FTransparentColor;
    TGraphic::SetTransparent(b->GetTransparent());
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<const TGraphic*>(Source)) {
    const PixelBuffer pixels = g->ToPixels();
    if (pixels.hasTransparency()) {
      SetPixels(pixels, afDefined);
    } else {
      SetPixels(pixels, afIgnored);
      SetPixelFormat(pf24bit);
    }
    return;
  }
  inherited::Assign(Source);
}

void TBitmap::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  const DecodedBitmap bmp = DecodeBmp(Data, Size);
  SetPixels(bmp.pixels, afIgnored);
  if (bmp.bitCount != 32) SetPixelFormat(pf24bit);
}

std::vector<std::uint8_t> TBitmap::SaveToBytes() const {
  if (Empty()) throw EInvalidGraphic("The bitmap is empty");
  if (BitCount() == 32) {
    GdiFlush();
    PixelBuffer raw(FWidth, FHeight);
    for (int y = 0; y < FHeight; ++y) std::memcpy(raw.row(y), FBits + std::size_t(y) * FStride, std::size_t(FWidth) * 4);
    return EncodeBmp(raw, 32);
  }
  return EncodeBmp(ToPixels(), 24);
}

namespace {

std::vector<std::uint8_t> ResourceBytes(HINSTANCE instance, const wchar_t* name) {
  if (!instance) instance = GetModuleHandleW(nullptr);
  HRSRC res = FindResourceW(instance, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!res) throw EInvalidGraphic("Bitmap resource not found");
  HGLOBAL data = LoadResource(instance, res);
  const void* p = data ? LockResource(data) : nullptr;
  const DWORD size = SizeofResource(instance, res);
  if (!p || !size) throw EInvalidGraphic("Bitmap resource cannot be read");
  const auto* bytes = static_cast<const std::uint8_t*>(p);
  return std::vector<std::uint8_t>(bytes, bytes + size);
}

}  // namespace

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const std::wstring& Name) {
  LoadMappedFromResourceName(Instance, Name, {});
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int Id) {
  const std::vector<std::uint8_t> bytes = ResourceBytes(Instance, MAKEINTRESOURCEW(Id));
  const DecodedBitmap bmp = DecodeDib(bytes.data(), bytes.size());
  SetPixels(bmp.pixels, afIgnored);
  if (bmp.bitCount != 32) SetPixelFormat(pf24bit);
}

void TBitmap::LoadMappedFromResourceName(HINSTANCE Instance, const std::wstring& Name,
                                         const std::vector<std::pair<TColor, TColor>>& Map) {
  const std::vector<std::uint8_t> bytes = ResourceBytes(Instance, Name.c_str());
  DecodedBitmap bmp = DecodeDib(bytes.data(), bytes.size());
  if (!Map.empty()) {
    for (std::size_t i = 0; i < bmp.pixels.bytes.size(); i += 4) {
      std::uint8_t* p = &bmp.pixels.bytes[i];
      const TColor c = RGBToColor(p[2], p[1], p[0]);
      for (const auto& [from, to] : Map) {
        if (ColorToRGB(from) == c) {
          const TColor t = ColorToRGB(to);
          p[0] = GetBValue(t);
          p[1] = GetGValue(t);
          p[2] = GetRValue(t);
          break;
        }
      }
    }
  }
  SetPixels(bmp.pixels, afIgnored);
  if (bmp.bitCount != 32) SetPixelFormat(pf24bit);
}

void TBitmap::Draw(TCanvas& ACanvas, const TRect& R) {
  if (Empty()) return;
  HDC dest = ACanvas.GetHandle();
  if (GetTransparent() || (BitCount() == 32 && FAlphaFormat != afIgnored)) {
    DrawPixelBuffer(dest, R, ToPixels(), true);
    return;
  }
  HDC src = GetCanvas()->GetHandle();
  const int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
  StretchBlt(dest, R.Left, R.Top, R.Width(), R.Height(), src, 0, 0, FWidth, FHeight, ACanvas.GetCopyMode());
  SetStretchBltMode(dest, oldMode);
}

void TBitmap::DrawBlended(TCanvas& ACanvas, const TRect& R, std::uint8_t Opacity) {
  if (Empty()) return;
  DrawPixelBuffer(ACanvas.GetHandle(), R, ToPixels(), true, Opacity);
}
