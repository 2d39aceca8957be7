#include "vcl/GifCodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ReadSource {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos;
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int count) {
  auto* src = static_cast<ReadSource*>(gif->UserData);
  const std::size_t n = std::min<std::size_t>(std::size_t(std::max(count, 0)), src->size - src->pos);
  std::memcpy(out, src->data + src->pos, n);
  src->pos += n;
  return int(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

[[noreturn]] void Fail(int code) {
  const char* text = GifErrorString(code);
  throw EInvalidGraphic(std::string("Damaged GIF picture: ") + (text ? text : "unknown error"));
}

}  // namespace

GifAnimation DecodeGifFrames(const std::uint8_t* data, std::size_t size, std::size_t maxFrames) {
  if (!data || size < 6 || std::memcmp(data, "GIF", 3) != 0) throw EInvalidGraphic("Not a GIF picture");
  ReadSource src{data, size, 0};
  int error = 0;
  GifHandle gif(DGifOpen(&src, ReadFromMemory, &error));
  if (!gif) Fail(error);

  GifAnimation result;
  std::int64_t totalPixels = 0;
  // The graphic control block applies to the next image only.
  int transparent = NO_TRANSPARENT_COLOR;
  unsigned delayMs = 0;
  while (result.Frames.size() < maxFrames) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) Fail(gif->Error);
    if (record == TERMINATE_RECORD_TYPE) break;
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) Fail(gif->Error);
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
          transparent = gcb.TransparentColor;
          delayMs = unsigned(std::max(gcb.DelayTime, 0)) * 10;
        }
      }
      while (block) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) Fail(gif->Error);
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(gif->Error);
    const GifImageDesc& desc = gif->Image;
    if (result.Frames.empty()) {
      // Some writers leave the logical screen at 0 x 0: the first frame then sets the size.
      result.Width = gif->SWidth > 0 ? gif->SWidth : desc.Left + desc.Width;
      result.Height = gif->SHeight > 0 ? gif->SHeight : desc.Top + desc.Height;
      CheckPictureSize(result.Width, result.Height, size);
    }
    CheckPictureSize(desc.Width, desc.Height, size);
    // Many frames of few bytes each must not add up to more than one picture's worth.
    totalPixels += std::int64_t(desc.Width) * desc.Height;
    if (totalPixels > kMaxPicturePixels ||
        (totalPixels > kPixelsWithoutData && totalPixels / kMaxPixelsPerDataByte > std::int64_t(size)))
      throw EInvalidGraphic("The GIF picture's frames declare more pixels than its data can hold");
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || !map->Colors || map->ColorCount <= 0) throw EInvalidGraphic("The GIF picture has no colours");

    std::vector<GifPixelType> line(desc.Width);
    std::vector<std::vector<GifPixelType>> rows(desc.Height);
    if (desc.Interlace) {
      static constexpr int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
      for (int pass = 0; pass < 4; ++pass) {
        for (int y = kStart[pass]; y < desc.Height; y += kStep[pass]) {
          if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) Fail(gif->Error);
          rows[y] = line;
        }
      }
    } else {
      for (int y = 0; y < desc.Height; ++y) {
        if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) Fail(gif->Error);
        rows[y] = line;
      }
    }

    GifFrame frame;
    frame.Left = desc.Left;
    frame.Top = desc.Top;
    frame.DelayMs = delayMs;
    frame.Pixels = PixelBuffer(desc.Width, desc.Height);  // transparent where the index says so
    for (int y = 0; y < desc.Height; ++y) {
      for (int x = 0; x < desc.Width; ++x) {
        const int index = rows[y][x];
        if (index == transparent || index >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[index];
        std::uint8_t* p = frame.Pixels.row(y) + std::size_t(x) * 4;
        p[0] = c.Blue;
        p[1] = c.Green;
        p[2] = c.Red;
        p[3] = 255;
      }
    }
    result.Frames.push_back(std::move(frame));
    transparent = NO_TRANSPARENT_COLOR;
    delayMs = 0;
  }
  if (result.Frames.empty()) throw EInvalidGraphic("The GIF picture has no image");
  return result;
}

PixelBuffer DecodeGif(const std::uint8_t* data, std::size_t size) {
  const GifAnimation gif = DecodeGifFrames(data, size, 1);
  const GifFrame& first = gif.Frames.front();
  PixelBuffer out(gif.Width, gif.Height);  // outside the frame: transparent
  for (int y = 0; y < first.Pixels.height; ++y) {
    const int sy = first.Top + y;
    if (sy < 0 || sy >= gif.Height) continue;
    for (int x = 0; x < first.Pixels.width; ++x) {
      const int sx = first.Left + x;
      if (sx < 0 || sx >= gif.Width) continue;
      std::memcpy(out.row(sy) + std::size_t(sx) * 4, first.Pixels.row(y) + std::size_t(x) * 4, 4);
    }
  }
  return out;
}
