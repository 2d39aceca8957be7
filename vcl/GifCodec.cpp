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

PixelBuffer DecodeGif(const std::uint8_t* data, std::size_t size) {
  if (size < 6 || std::memcmp(data, "GIF", 3) != 0) throw EInvalidGraphic("Not a GIF picture");
  ReadSource src{data, size, 0};
  int error = 0;
  GifHandle gif(DGifOpen(&src, ReadFromMemory, &error));
  if (!gif) Fail(error);

  int transparent = NO_TRANSPARENT_COLOR;
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) Fail(gif->Error);
    if (record == TERMINATE_RECORD_TYPE) throw EInvalidGraphic("The GIF picture has no image");
    if (record == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) Fail(gif->Error);
      if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock gcb{};
        if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) transparent = gcb.TransparentColor;
      }
      while (block) {
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) Fail(gif->Error);
      }
      continue;
    }
    if (record != IMAGE_DESC_RECORD_TYPE) continue;

    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) Fail(gif->Error);
    const GifImageDesc& desc = gif->Image;
    // Some writers leave the logical screen at 0 x 0: the frame then sets the size.
    const int screenW = gif->SWidth > 0 ? gif->SWidth : desc.Left + desc.Width;
    const int screenH = gif->SHeight > 0 ? gif->SHeight : desc.Top + desc.Height;
    CheckPictureSize(screenW, screenH, size);
    CheckPictureSize(desc.Width, desc.Height, size);
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

    PixelBuffer out(screenW, screenH);  // outside the frame: transparent
    for (int y = 0; y < desc.Height; ++y) {
      const int sy = desc.Top + y;
      if (sy < 0 || sy >= screenH) continue;
      for (int x = 0; x < desc.Width; ++x) {
        const int sx = desc.Left + x;
        if (sx < 0 || sx >= screenW) continue;
        const int index = rows[y][x];
        if (index == transparent || index >= map->ColorCount) continue;
        const GifColorType& c = map->Colors[index];
        std::uint8_t* p = out.row(sy) + std::size_t(sx) * 4;
        p[0] = c.Blue;
        p[1] = c.Green;
        p[2] = c.Red;
        p[3] = 255;
      }
    }
    return out;
  }
}
