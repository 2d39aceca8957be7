// Pictures: TGraphic, the base of every picture kind (bitmap, icon, PNG, JPEG,
// GIF), TIcon, and TPicture, which holds one graphic and loads a file into the
// kind its extension names.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vcl/Canvas.h"
#include "vcl/PixelBuffer.h"

class TBitmap;
class TStream;

class TGraphic : public TPersistent {
  QORN_CLASS(TGraphic, TPersistent)
 public:
  virtual bool Empty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int Value);
  virtual void SetHeight(int Value);
  virtual bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);

  // Reads a whole file; throws EInvalidGraphic when it cannot be read or is not
  // a picture of this kind (the graphic is then left as it was).
  void LoadFromFile(const std::wstring& FileName);
  void SaveToFile(const std::wstring& FileName) const;
  virtual void LoadFromBytes(const std::uint8_t* Data, std::size_t Size) = 0;
  void LoadFromBytes(const std::vector<std::uint8_t>& Data) { LoadFromBytes(Data.data(), Data.size()); }
  // The file form of the picture.
  virtual std::vector<std::uint8_t> SaveToBytes() const = 0;
  // From the stream's position to its end; the file form at the position.
  void LoadFromStream(TStream& Stream);
  void SaveToStream(TStream& Stream) const;

  // The picture as straight-alpha blue, green, red, alpha pixels.
  virtual PixelBuffer ToPixels() const = 0;

  bool GetModified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  // Draws the picture into R of the canvas (stretched when sizes differ).
  virtual void Draw(TCanvas& ACanvas, const TRect& R) = 0;
  // Drawn with a constant opacity; by default through the pixels and AlphaBlend.
  virtual void DrawBlended(TCanvas& ACanvas, const TRect& R, std::uint8_t Opacity);
  virtual void Changed();
  // Form resources keep the picture as "Data": its file bytes.
  void DefineProperties(TFiler& Filer) override;

 private:
  bool FTransparent = false;
  bool FModified = false;
};

// Draws pixels into R of a DC: with their alpha (and the extra opacity) through
// AlphaBlend, or copied when useAlpha is false.
void DrawPixelBuffer(HDC DC, const TRect& R, const PixelBuffer& Pixels, bool UseAlpha, std::uint8_t Opacity = 255);
// A top-down 32-bit DIB section holding the pixels (alpha kept as it is).
HBITMAP CreateDibFromPixels(const PixelBuffer& Pixels, void** Bits = nullptr);
// An icon (or cursor-free icon) of the pixels, with its mask from alpha 0; the
// caller owns it.
HICON CreateIconFromPixels(const PixelBuffer& Pixels);
// The pixels of an icon, alpha from its own 32-bit colour bitmap when it has
// some, else from its mask.
PixelBuffer PixelsFromIcon(HICON Icon);

class TIcon : public TGraphic {
  QORN_CLASS(TIcon, TGraphic)
 public:
  TIcon();
  ~TIcon() override;
  void Assign(const TPersistent* Source) override;

  bool Empty() const override { return FHandle == nullptr; }
  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  // The icon drawn; owned by this object (setting adopts it, nullptr frees it).
  HICON GetHandle() const { return FHandle; }
  void SetHandle(HICON Value);
  // Gives the handle to the caller, who then owns it.
  HICON ReleaseHandle();

  void LoadFromBytes(const std::uint8_t* Data, std::size_t Size) override;
  using TGraphic::LoadFromBytes;
  std::vector<std::uint8_t> SaveToBytes() const override;
  PixelBuffer ToPixels() const override;
  // Makes the icon from pixels with alpha.
  void SetPixels(const PixelBuffer& Pixels);

 protected:
  void Draw(TCanvas& ACanvas, const TRect& R) override;

 private:
  void Reset(HICON Icon, std::vector<std::uint8_t> FileBytes);
  HICON FHandle = nullptr;
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint8_t> FFileBytes;  // the file read, written back unchanged
};

class TPicture : public TPersistent {
  QORN_CLASS(TPicture, TPersistent)
 public:
  TPicture();
  ~TPicture() override;
  void Assign(const TPersistent* Source) override;

  // The graphic held (nullptr when empty).
  TGraphic* GetGraphic() const { return FGraphic.get(); }
  // Holds a copy of Value (nullptr empties the picture).
  void SetGraphic(TGraphic* Value);
  // The graphic as a bitmap: a graphic of another kind is replaced by an empty bitmap.
  TBitmap* GetBitmap();
  void SetBitmap(TBitmap* Value);
  TIcon* GetIcon();
  void SetIcon(TIcon* Value) { SetGraphic(Value); }

  int GetWidth() const { return FGraphic ? FGraphic->GetWidth() : 0; }
  int GetHeight() const { return FGraphic ? FGraphic->GetHeight() : 0; }

  // By extension: .bmp, .ico, .png, .jpg/.jpeg/.jpe/.jfif, .gif. Throws
  // EInvalidGraphic for another extension or a bad file; the picture is then
  // left as it was.
  void LoadFromFile(const std::wstring& FileName);
  void SaveToFile(const std::wstring& FileName) const;
  // A new, empty graphic of the kind a file extension names (".png"), or nullptr.
  static std::unique_ptr<TGraphic> CreateGraphicForExtension(const std::wstring& Extension);
  // The kind the bytes' signature shows (BMP, ICO, PNG, JPEG, GIF), or nullptr.
  static std::unique_ptr<TGraphic> CreateGraphicForData(const std::uint8_t* Data, std::size_t Size);
  // Loads picture bytes of any kind; empty bytes empty the picture.
  void LoadFromData(const std::vector<std::uint8_t>& Data);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  // Form resources keep the picture as "Data": the graphic's file bytes.
  void DefineProperties(TFiler& Filer) override;

 private:
  void Adopt(std::unique_ptr<TGraphic> Graphic);
  std::unique_ptr<TGraphic> FGraphic;
};

// No picture this program accepts needs a file larger than its pixels stored plainly
// (a 32-bit bitmap) and room for headers.
constexpr std::int64_t kMaxPictureFileBytes = kMaxPicturePixels * 4 + (1 << 20);

// Whole files as bytes; EInvalidGraphic when they cannot be read or written. Only
// disk files are read (not pipes or devices, which may never end) and none larger
// than kMaxPictureFileBytes, which is refused before anything is read.
std::vector<std::uint8_t> ReadPictureFile(const std::wstring& FileName);
void WritePictureFile(const std::wstring& FileName, const std::vector<std::uint8_t>& Bytes);
