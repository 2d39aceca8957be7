#include "vcl/PngCodec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <string>

namespace {

struct ReadSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos;
};

struct ErrorState {
  char message[200];
};

[[noreturn]] void OnPngError(png_structp png, png_const_charp message) {
  auto* state = static_cast<ErrorState*>(png_get_error_ptr(png));
  if (state) {
    std::strncpy(state->message, message ? message : "unknown error", sizeof state->message - 1);
    state->message[sizeof state->message - 1] = 0;
  }
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* src = static_cast<ReadSource*>(png_get_io_ptr(png));
  if (count > src->size - src->pos) png_error(png, "The PNG data ends early");
  std::memcpy(out, src->data + src->pos, count);
  src->pos += count;
}

void WriteToVector(png_structp png, png_bytep in, png_size_t count) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), in, in + count);
}

void FlushNothing(png_structp) {}

class ReadStruct {
 public:
  explicit ReadStruct(ErrorState* errors) {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, errors, OnPngError, OnPngWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) throw EInvalidGraphic("Out of memory reading a PNG picture");
  }
  ~ReadStruct() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  ReadStruct(const ReadStruct&) = delete;
  ReadStruct& operator=(const ReadStruct&) = delete;
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

class WriteStruct {
 public:
  explicit WriteStruct(ErrorState* errors) {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, OnPngError, OnPngWarning);
    if (png_) info_ = png_create_info_struct(png_);
    if (!png_ || !info_) throw EInvalidGraphic("Out of memory writing a PNG picture");
  }
  ~WriteStruct() { png_destroy_write_struct(&png_, info_ ? &info_ : nullptr); }
  WriteStruct(const WriteStruct&) = delete;
  WriteStruct& operator=(const WriteStruct&) = delete;
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// Scales a sample of the file's bit depth to 8 bits, as the pixel rows are.
std::uint8_t ScaleSample(unsigned value, int bitDepth) {
  if (bitDepth == 16) return std::uint8_t(value >> 8);
  if (bitDepth == 8) return std::uint8_t(value);
  const unsigned max = (1u << bitDepth) - 1;
  return std::uint8_t((value & max) * 255 / max);
}

// Everything between setjmp and a possible longjmp lives in the caller's objects,
// so no C++ object is skipped by the jump. Returns false after a libpng error.
bool ReadAll(png_structp png, png_infop info, ReadSource* src, PngImageData* out,
             std::vector<png_bytep>* rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_read_fn(png, src, ReadFromMemory);
  png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(png, 64u << 20);
  // Damaged CRCs in ancillary chunks are shrugged off as the common viewers do;
  // a damaged image chunk still fails.
  png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_DEFAULT);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  // Before the rows are taken (an interlaced picture is read whole).
  if (!PictureSizeAllowed(width, height, src->size)) png_error(png, "The picture is too large for its data");

  out->width = int(width);
  out->height = int(height);
  switch (colorType) {
    case PNG_COLOR_TYPE_GRAY: out->colorType = PngColorType::Grayscale; break;
    case PNG_COLOR_TYPE_RGB: out->colorType = PngColorType::RGB; break;
    case PNG_COLOR_TYPE_PALETTE: out->colorType = PngColorType::Palette; break;
    case PNG_COLOR_TYPE_GRAY_ALPHA: out->colorType = PngColorType::GrayscaleAlpha; break;
    case PNG_COLOR_TYPE_RGB_ALPHA: out->colorType = PngColorType::RGBAlpha; break;
    default: png_error(png, "Unknown PNG colour type");
  }

  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count) && palette) {
      for (int i = 0; i < count; ++i) out->palette.push_back({palette[i].red, palette[i].green, palette[i].blue});
    }
    if (out->palette.empty()) png_error(png, "A palette picture without a palette");
  }
  if (png_get_valid(png, info, PNG_INFO_tRNS)) {
    png_bytep trans = nullptr;
    int count = 0;
    png_color_16p value = nullptr;
    png_get_tRNS(png, info, &trans, &count, &value);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
      if (trans) out->paletteAlpha.assign(trans, trans + count);
    } else if (value && (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_RGB)) {
      out->hasTransparentColor = true;
      if (colorType == PNG_COLOR_TYPE_GRAY) {
        const std::uint8_t g = ScaleSample(value->gray, bitDepth);
        out->transparentColor = {g, g, g};
      } else {
        out->transparentColor = {ScaleSample(value->red, bitDepth), ScaleSample(value->green, bitDepth),
                                 ScaleSample(value->blue, bitDepth)};
      }
    }
  }

  // Rows of 8-bit samples in the file's own colour type; the alpha types are read
  // interleaved and split below.
  if (bitDepth == 16) png_set_strip_16(png);
  if (bitDepth < 8) {
    png_set_packing(png);
    if (colorType == PNG_COLOR_TYPE_GRAY) png_set_expand_gray_1_2_4_to_8(png);
  }
  if (colorType & PNG_COLOR_MASK_COLOR) png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const std::size_t rowBytes = png_get_rowbytes(png, info);
  const int channels = png_get_channels(png, info);
  if (rowBytes != std::size_t(width) * channels) png_error(png, "Unexpected PNG row layout");
  std::vector<std::uint8_t>& raw = out->pixels;
  raw.resize(rowBytes * height);
  rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) (*rows)[y] = raw.data() + y * rowBytes;
  png_read_image(png, rows->data());
  png_read_end(png, nullptr);
  return true;
}

void SplitAlpha(PngImageData& image) {
  if (!image.hasAlphaChannel()) return;
  const int colour = image.colorType == PngColorType::RGBAlpha ? 3 : 1;
  const std::size_t count = std::size_t(image.width) * image.height;
  std::vector<std::uint8_t> pixels(count * colour);
  image.alpha.resize(count);
  const std::uint8_t* src = image.pixels.data();
  for (std::size_t i = 0; i < count; ++i, src += colour + 1) {
    std::memcpy(&pixels[i * colour], src, colour);
    image.alpha[i] = src[colour];
  }
  image.pixels.swap(pixels);
}

bool WriteAll(png_structp png, png_infop info, const PngImageData* image, std::vector<std::uint8_t>* out,
              std::vector<std::uint8_t>* interleaved, std::vector<png_bytep>* rows,
              std::vector<png_color>* palette) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, out, WriteToVector, FlushNothing);
  int type = PNG_COLOR_TYPE_RGB;
  switch (image->colorType) {
    case PngColorType::Grayscale: type = PNG_COLOR_TYPE_GRAY; break;
    case PngColorType::RGB: type = PNG_COLOR_TYPE_RGB; break;
    case PngColorType::Palette: type = PNG_COLOR_TYPE_PALETTE; break;
    case PngColorType::GrayscaleAlpha: type = PNG_COLOR_TYPE_GRAY_ALPHA; break;
    case PngColorType::RGBAlpha: type = PNG_COLOR_TYPE_RGB_ALPHA; break;
  }
  png_set_IHDR(png, info, image->width, image->height, 8, type, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (image->colorType == PngColorType::Palette) {
    for (const PngRGB& c : image->palette) palette->push_back({c.r, c.g, c.b});
    png_set_PLTE(png, info, palette->data(), int(palette->size()));
    if (!image->paletteAlpha.empty()) {
      png_set_tRNS(png, info, image->paletteAlpha.data(), int(image->paletteAlpha.size()), nullptr);
    }
  } else if (image->hasTransparentColor && !image->hasAlphaChannel()) {
    png_color_16 value{};
    value.red = image->transparentColor.r;
    value.green = image->transparentColor.g;
    value.blue = image->transparentColor.b;
    value.gray = image->transparentColor.r;
    png_set_tRNS(png, info, nullptr, 0, &value);
  }
  png_write_info(png, info);
  if (type & PNG_COLOR_MASK_COLOR) png_set_bgr(png);
  const int colour = image->bytesPerPixel();
  const int channels = colour + (image->hasAlphaChannel() ? 1 : 0);
  const std::size_t count = std::size_t(image->width) * image->height;
  interleaved->resize(count * channels);
  for (std::size_t i = 0; i < count; ++i) {
    std::memcpy(&(*interleaved)[i * channels], &image->pixels[i * colour], colour);
    if (image->hasAlphaChannel()) (*interleaved)[i * channels + colour] = image->alpha[i];
  }
  rows->resize(image->height);
  for (int y = 0; y < image->height; ++y) (*rows)[y] = interleaved->data() + std::size_t(y) * image->width * channels;
  png_write_image(png, rows->data());
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

int PngImageData::bytesPerPixel() const {
  return colorType == PngColorType::RGB || colorType == PngColorType::RGBAlpha ? 3 : 1;
}

PngImageData PngImageData::Blank(PngColorType type, int width, int height) {
  CheckPictureSize(width, height);
  PngImageData image;
  image.width = width;
  image.height = height;
  image.colorType = type;
  const std::size_t count = std::size_t(width) * height;
  image.pixels.assign(count * image.bytesPerPixel(), 0);
  if (image.hasAlphaChannel()) image.alpha.assign(count, 0);
  if (type == PngColorType::Palette) image.palette.assign(1, PngRGB{});
  return image;
}

PixelBuffer PngImageData::toPixels() const {
  PixelBuffer out(width, height);
  const std::size_t count = std::size_t(width) * height;
  const int colour = bytesPerPixel();
  if (pixels.size() < count * colour || (hasAlphaChannel() && alpha.size() < count))
    throw EInvalidGraphic("The PNG picture's pixels are incomplete");
  std::uint8_t* d = out.bytes.data();
  for (std::size_t i = 0; i < count; ++i, d += 4) {
    const std::uint8_t* s = &pixels[i * colour];
    switch (colorType) {
      case PngColorType::Grayscale:
      case PngColorType::GrayscaleAlpha:
        d[0] = d[1] = d[2] = s[0];
        break;
      case PngColorType::RGB:
      case PngColorType::RGBAlpha:
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        break;
      case PngColorType::Palette: {
        const PngRGB c = s[0] < palette.size() ? palette[s[0]] : PngRGB{};
        d[0] = c.b;
        d[1] = c.g;
        d[2] = c.r;
        break;
      }
    }
    if (hasAlphaChannel()) {
      d[3] = alpha[i];
    } else if (colorType == PngColorType::Palette) {
      d[3] = s[0] < paletteAlpha.size() ? paletteAlpha[s[0]] : 255;
    } else if (hasTransparentColor && d[2] == transparentColor.r && d[1] == transparentColor.g &&
               d[0] == transparentColor.b) {
      d[3] = 0;
    } else {
      d[3] = 255;
    }
  }
  return out;
}

PngImageData PngImageData::FromPixels(const PixelBuffer& source) {
  PngImageData image = Blank(PngColorType::RGBAlpha, source.width, source.height);
  const std::size_t count = std::size_t(source.width) * source.height;
  for (std::size_t i = 0; i < count; ++i) {
    std::memcpy(&image.pixels[i * 3], &source.bytes[i * 4], 3);
    image.alpha[i] = source.bytes[i * 4 + 3];
  }
  return image;
}

PngImageData DecodePng(const std::uint8_t* data, std::size_t size) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) throw EInvalidGraphic("Not a PNG picture");
  ErrorState errors{};
  ReadStruct rs(&errors);
  ReadSource src{data, size, 0};
  PngImageData image;
  std::vector<png_bytep> rows;
  if (!ReadAll(rs.png(), rs.info(), &src, &image, &rows))
    throw EInvalidGraphic(std::string("Damaged PNG picture: ") + errors.message);
  SplitAlpha(image);
  return image;
}

std::vector<std::uint8_t> EncodePng(const PngImageData& image) {
  CheckPictureSize(image.width, image.height);
  const std::size_t count = std::size_t(image.width) * image.height;
  if (image.pixels.size() < count * image.bytesPerPixel() || (image.hasAlphaChannel() && image.alpha.size() < count))
    throw EInvalidGraphic("The PNG picture's pixels are incomplete");
  if (image.colorType == PngColorType::Palette && (image.palette.empty() || image.palette.size() > 256))
    throw EInvalidGraphic("A palette picture needs 1 to 256 colours");
  ErrorState errors{};
  WriteStruct ws(&errors);
  std::vector<std::uint8_t> out, interleaved;
  std::vector<png_bytep> rows;
  std::vector<png_color> palette;
  if (!WriteAll(ws.png(), ws.info(), &image, &out, &interleaved, &rows, &palette))
    throw EInvalidGraphic(std::string("Cannot write the PNG picture: ") + errors.message);
  return out;
}
