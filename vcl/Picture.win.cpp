#include "vcl/Picture.h"

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "vcl/Bitmap.h"
#include "vcl/Filer.h"
#include "vcl/Streams.h"
#include "vcl/GifImage.h"
#include "vcl/IconCodec.h"
#include "vcl/JpegImage.h"
#include "vcl/PngImage.h"

namespace {

// A memory DC with one bitmap selected, both released together.
class TMemoryDC {
 public:
  TMemoryDC(HDC like, HBITMAP bitmap) : FDC(CreateCompatibleDC(like)) { FOld = SelectObject(FDC, bitmap); }
  ~TMemoryDC() {
    SelectObject(FDC, FOld);
    DeleteDC(FDC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return FDC; }

 private:
  HDC FDC;
  HGDIOBJ FOld;
};

}  // namespace

std::vector<std::uint8_t> ReadPictureFile(const std::wstring& FileName) {
  HANDLE file = CreateFileW(FileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EInvalidGraphic(L"Cannot open the picture file " + FileName);
  const std::unique_ptr<void, decltype(&CloseHandle)> closer(file, &CloseHandle);
  // A pipe or a device may never end, or never answer: a picture is a disk file.
  if (GetFileType(file) != FILE_TYPE_DISK) throw EInvalidGraphic(L"Not a picture file: " + FileName);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) throw EInvalidGraphic(L"Cannot read the picture file " + FileName);
  if (size.QuadPart > kMaxPictureFileBytes) throw EInvalidGraphic(L"The picture file is too large: " + FileName);
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file, bytes.data() + done, want, &got, nullptr))
      throw EInvalidGraphic(L"Cannot read the picture file " + FileName);
    if (got == 0) break;  // shorter than it was a moment ago
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

void WritePictureFile(const std::wstring& FileName, const std::vector<std::uint8_t>& Bytes) {
  std::ofstream out(std::filesystem::path(FileName), std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(Bytes.data()), std::streamsize(Bytes.size()));
  if (!out) throw EInvalidGraphic(L"Cannot write the picture file " + FileName);
}

HBITMAP CreateDibFromPixels(const PixelBuffer& Pixels, void** Bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = Pixels.width;
  bi.bmiHeader.biHeight = -Pixels.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bmp) throw EInvalidGraphic("Out of system resources for a bitmap");
  if (!Pixels.bytes.empty()) std::memcpy(bits, Pixels.bytes.data(), Pixels.bytes.size());
  if (Bits) *Bits = bits;
  return bmp;
}

void DrawPixelBuffer(HDC DC, const TRect& R, const PixelBuffer& Pixels, bool UseAlpha, std::uint8_t Opacity) {
  if (Pixels.empty() || R.IsEmpty()) return;
  PixelBuffer premultiplied;
  const PixelBuffer* source = &Pixels;
  if (UseAlpha) {
    premultiplied = Pixels;
    Premultiply(premultiplied);
    source = &premultiplied;
  }
  TGdiHandle<HBITMAP> dib(CreateDibFromPixels(*source));
  TMemoryDC mem(DC, dib.Get());
  if (!UseAlpha && Opacity == 255) {
    const int oldMode = SetStretchBltMode(DC, COLORONCOLOR);
    StretchBlt(DC, R.Left, R.Top, R.Width(), R.Height(), mem.Get(), 0, 0, Pixels.width, Pixels.height, SRCCOPY);
    SetStretchBltMode(DC, oldMode);
    return;
  }
  BLENDFUNCTION blend{AC_SRC_OVER, 0, Opacity, BYTE(UseAlpha ? AC_SRC_ALPHA : 0)};
  AlphaBlend(DC, R.Left, R.Top, R.Width(), R.Height(), mem.Get(), 0, 0, Pixels.width, Pixels.height, blend);
}

HICON CreateIconFromPixels(const PixelBuffer& Pixels) {
  if (Pixels.empty()) return nullptr;
  TGdiHandle<HBITMAP> colour(CreateDibFromPixels(Pixels));
  // Monochrome rows are word-aligned; a set bit marks a transparent pixel.
  const int stride = ((Pixels.width + 15) / 16) * 2;
  std::vector<std::uint8_t> maskBits(std::size_t(stride) * Pixels.height, 0);
  for (int y = 0; y < Pixels.height; ++y) {
    const std::uint8_t* row = Pixels.row(y);
    for (int x = 0; x < Pixels.width; ++x) {
      if (row[x * 4 + 3] == 0) maskBits[std::size_t(y) * stride + x / 8] |= std::uint8_t(0x80 >> (x % 8));
    }
  }
  TGdiHandle<HBITMAP> mask(CreateBitmap(Pixels.width, Pixels.height, 1, 1, maskBits.data()));
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = colour.Get();
  info.hbmMask = mask.Get();
  return CreateIconIndirect(&info);
}

namespace {

// The pixels of a bitmap of any format as 32-bit top-down rows (GDI converts).
PixelBuffer ReadBitmapBits(HBITMAP bitmap, int width, int height) {
  PixelBuffer out(width, height);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC dc = GetDC(nullptr);
  GetDIBits(dc, bitmap, 0, UINT(height), out.bytes.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  return out;
}

}  // namespace

PixelBuffer PixelsFromIcon(HICON Icon) {
  ICONINFO info{};
  if (!Icon || !GetIconInfo(Icon, &info)) return {};
  TGdiHandle<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  GetObjectW(mask.Get(), sizeof bm, &bm);
  const int width = bm.bmWidth;
  // An icon without a colour bitmap keeps AND and XOR masks stacked in one.
  const int height = colour ? bm.bmHeight : bm.bmHeight / 2;
  if (width <= 0 || height <= 0) return {};
  PixelBuffer maskPixels = ReadBitmapBits(mask.Get(), width, colour ? height : height * 2);
  PixelBuffer out;
  if (colour) {
    out = ReadBitmapBits(colour.Get(), width, height);
  } else {
    out = PixelBuffer(width, height);
    for (int y = 0; y < height; ++y) std::memcpy(out.row(y), maskPixels.row(y + height), std::size_t(width) * 4);
  }
  bool anyAlpha = false;
  for (std::size_t i = 3; i < out.bytes.size() && !anyAlpha; i += 4) anyAlpha = out.bytes[i] != 0;
  if (!anyAlpha) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const bool transparent = (maskPixels.at(x, y) & 0xFFFFFF) != 0;
        out.row(y)[x * 4 + 3] = transparent ? 0 : 255;
      }
    }
  }
  return out;
}

// ----------------------------------------------------------------------------
void TGraphic::SetWidth(int) {}
void TGraphic::SetHeight(int) {}

void TGraphic::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  Changed();
}

void TGraphic::LoadFromFile(const std::wstring& FileName) {
  const std::vector<std::uint8_t> bytes = ReadPictureFile(FileName);
  LoadFromBytes(bytes.data(), bytes.size());
}

void TGraphic::SaveToFile(const std::wstring& FileName) const { WritePictureFile(FileName, SaveToBytes()); }

void TGraphic::LoadFromStream(TStream& Stream) {
  const std::int64_t count = Stream.Size() - Stream.Position();
  if (count <= 0) throw EInvalidGraphic(L"The stream holds no picture");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
  Stream.ReadBuffer(bytes.data(), count);
  LoadFromBytes(bytes.data(), bytes.size());
}

void TGraphic::SaveToStream(TStream& Stream) const {
  const std::vector<std::uint8_t> bytes = SaveToBytes();
  Stream.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TGraphic::DefineProperties(TFiler& Filer) {
  inherited::DefineProperties(Filer);
  Filer.DefineBinaryProperty(
      L"Data", [this](const std::vector<std::uint8_t>& data) { if (!data.empty()) LoadFromBytes(data); },
      [this](std::vector<std::uint8_t>& data) { data = SaveToBytes(); }, !Empty());
}

void TGraphic::DrawBlended(TCanvas& ACanvas, const TRect& R, std::uint8_t Opacity) {
  DrawPixelBuffer(ACanvas.GetHandle(), R, ToPixels(), true, Opacity);
}

void TGraphic::Changed() {
  FModified = true;
  if (OnChange) OnChange(this);
}

// ----------------------------------------------------------------------------
TIcon::TIcon() = default;

TIcon::~TIcon() {
  if (FHandle) DestroyIcon(FHandle);
}

void TIcon::Reset(HICON Icon, std::vector<std::uint8_t> FileBytes) {
  if (FHandle && FHandle != Icon) DestroyIcon(FHandle);
  FHandle = Icon;
  FFileBytes = std::move(FileBytes);
  FWidth = FHeight = 0;
  if (Icon) {
    ICONINFO info{};
    if (GetIconInfo(Icon, &info)) {
      BITMAP bm{};
      GetObjectW(info.hbmMask, sizeof bm, &bm);
      FWidth = bm.bmWidth;
      FHeight = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
      if (info.hbmColor) DeleteObject(info.hbmColor);
      DeleteObject(info.hbmMask);
    }
  }
  Changed();
}

void TIcon::Assign(const TPersistent* Source) {
  if (auto* icon = dynamic_cast<const TIcon*>(Source)) {
    if (icon == this) return;
    Reset(icon->FHandle ? CopyIcon(icon->FHandle) : nullptr, icon->FFileBytes);
    return;
  }
  if (!Source) {
    Reset(nullptr, {});
    return;
  }
  if (auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
    SetPixels(graphic->ToPixels());
    return;
  }
  inherited::Assign(Source);
}

void TIcon::SetHandle(HICON Value) { Reset(Value, {}); }

HICON TIcon::ReleaseHandle() {
  HICON h = FHandle;
  FHandle = nullptr;
  FWidth = FHeight = 0;
  FFileBytes.clear();
  Changed();
  return h;
}

void TIcon::LoadFromBytes(const std::uint8_t* Data, std::size_t Size) {
  const PixelBuffer pixels = DecodeIcon(Data, Size);
  HICON icon = CreateIconFromPixels(pixels);
  if (!icon) throw EInvalidGraphic("Cannot make an icon of the picture");
  Reset(icon, std::vector<std::uint8_t>(Data, Data + Size));
}

std::vector<std::uint8_t> TIcon::SaveToBytes() const {
  if (!FFileBytes.empty()) return FFileBytes;
  if (!FHandle) throw EInvalidGraphic("The icon is empty");
  return EncodeIcon(ToPixels());
}

PixelBuffer TIcon::ToPixels() const { return PixelsFromIcon(FHandle); }

void TIcon::SetPixels(const PixelBuffer& Pixels) {
  HICON icon = CreateIconFromPixels(Pixels);
  if (!icon && !Pixels.empty()) throw EInvalidGraphic("Cannot make an icon of the picture");
  Reset(icon, {});
}

void TIcon::Draw(TCanvas& ACanvas, const TRect& R) {
  if (!FHandle) return;
  DrawIconEx(ACanvas.GetHandle(), R.Left, R.Top, FHandle, R.Width(), R.Height(), 0, nullptr, DI_NORMAL);
}

// ----------------------------------------------------------------------------
TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Changed() {
  if (OnChange) OnChange(this);
}

void TPicture::Adopt(std::unique_ptr<TGraphic> Graphic) {
  FGraphic = std::move(Graphic);
  if (FGraphic) FGraphic->OnChange = [this](TObject*) { Changed(); };
  Changed();
}

void TPicture::SetGraphic(TGraphic* Value) {
  if (!Value) {
    Adopt(nullptr);
    return;
  }
  if (Value == FGraphic.get()) return;
  std::unique_ptr<TGraphic> copy;
  if (dynamic_cast<TBitmap*>(Value)) copy = std::make_unique<TBitmap>();
  else if (dynamic_cast<TIcon*>(Value)) copy = std::make_unique<TIcon>();
  else if (dynamic_cast<TPngImage*>(Value)) copy = std::make_unique<TPngImage>();
  else if (dynamic_cast<TJPEGImage*>(Value)) copy = std::make_unique<TJPEGImage>();
  else if (dynamic_cast<TGIFImage*>(Value)) copy = std::make_unique<TGIFImage>();
  else throw EInvalidGraphic("Unknown kind of picture");
  copy->Assign(Value);
  Adopt(std::move(copy));
}

void TPicture::SetBitmap(TBitmap* Value) { SetGraphic(Value); }

void TPicture::Assign(const TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* picture = dynamic_cast<const TPicture*>(Source)) {
    if (picture != this) SetGraphic(picture->FGraphic.get());
  } else if (auto* graphic = dynamic_cast<const TGraphic*>(Source)) {
    SetGraphic(const_cast<TGraphic*>(graphic));
  } else {
    inherited::Assign(Source);
  }
}

TBitmap* TPicture::GetBitmap() {
  auto* bitmap = dynamic_cast<TBitmap*>(FGraphic.get());
  if (!bitmap) {
    auto fresh = std::make_unique<TBitmap>();
    bitmap = fresh.get();
    Adopt(std::move(fresh));
  }
  return bitmap;
}

TIcon* TPicture::GetIcon() {
  auto* icon = dynamic_cast<TIcon*>(FGraphic.get());
  if (!icon) {
    auto fresh = std::make_unique<TIcon>();
    icon = fresh.get();
    Adopt(std::move(fresh));
  }
  return icon;
}

std::unique_ptr<TGraphic> TPicture::CreateGraphicForExtension(const std::wstring& Extension) {
  std::wstring ext = Extension;
  if (!ext.empty() && ext[0] == L'.') ext.erase(0, 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](wchar_t c) { return wchar_t(std::towlower(c)); });
  if (ext == L"bmp" || ext == L"dib") return std::make_unique<TBitmap>();
  if (ext == L"ico") return std::make_unique<TIcon>();
  if (ext == L"png") return std::make_unique<TPngImage>();
  if (ext == L"jpg" || ext == L"jpeg" || ext == L"jpe" || ext == L"jfif") return std::make_unique<TJPEGImage>();
  if (ext == L"gif") return std::make_unique<TGIFImage>();
  return nullptr;
}

std::unique_ptr<TGraphic> TPicture::CreateGraphicForData(const std::uint8_t* Data, std::size_t Size) {
  auto starts = [&](const char* sig, std::size_t n) { return Size >= n && std::memcmp(Data, sig, n) == 0; };
  if (starts("BM", 2)) return std::make_unique<TBitmap>();
  if (starts("\x89PNG\r\n\x1a\n", 8)) return std::make_unique<TPngImage>();
  if (starts("\xFF\xD8", 2)) return std::make_unique<TJPEGImage>();
  if (starts("GIF8", 4)) return std::make_unique<TGIFImage>();
  if (starts("\0\0\1\0", 4)) return std::make_unique<TIcon>();
  return nullptr;
}

void TPicture::LoadFromData(const std::vector<std::uint8_t>& Data) {
  if (Data.empty()) {
    Adopt(nullptr);
    return;
  }
  std::unique_ptr<TGraphic> graphic = CreateGraphicForData(Data.data(), Data.size());
  if (!graphic) throw EInvalidGraphic(L"Unknown picture format");
  graphic->LoadFromBytes(Data);
  Adopt(std::move(graphic));
}

void TPicture::DefineProperties(TFiler& Filer) {
  inherited::DefineProperties(Filer);
  Filer.DefineBinaryProperty(
      L"Data", [this](const std::vector<std::uint8_t>& data) { LoadFromData(data); },
      [this](std::vector<std::uint8_t>& data) { data = FGraphic ? FGraphic->SaveToBytes() : std::vector<std::uint8_t>{}; },
      FGraphic && !FGraphic->Empty());
}

void TPicture::LoadFromFile(const std::wstring& FileName) {
  const std::wstring ext = std::filesystem::path(FileName).extension().wstring();
  std::unique_ptr<TGraphic> graphic = CreateGraphicForExtension(ext);
  if (!graphic) throw EInvalidGraphic(L"Unknown picture file extension (" + ext + L")");
  graphic->LoadFromFile(FileName);
  Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const std::wstring& FileName) const {
  if (FGraphic) FGraphic->SaveToFile(FileName);
}
