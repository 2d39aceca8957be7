// GIF files to 32-bit pixels, with each frame's transparent colour as alpha 0.
// DecodeGif gives the first frame placed on the logical screen (still pictures);
// DecodeGifFrames gives every frame alone with its place and delay (animations).
// The file is walked block by block through giflib, so a truncated or damaged
// file ends in EInvalidGraphic, never in a read past its end.
#pragma once
#include <cstdint>
#include <vector>

#include "vcl/PixelBuffer.h"

// Throws EInvalidGraphic for data that is not a readable GIF.
PixelBuffer DecodeGif(const std::uint8_t* data, std::size_t size);

struct GifFrame {
  int Left = 0;  // place of the frame on the logical screen
  int Top = 0;
  unsigned DelayMs = 0;  // how long the frame shows (0: not given)
  PixelBuffer Pixels;    // the frame alone, its own width and height
};

struct GifAnimation {
  int Width = 0;  // the logical screen
  int Height = 0;
  std::vector<GifFrame> Frames;  // at least one
};

// Every frame, or the first maxFrames of them. Throws EInvalidGraphic for data that
// is not a readable GIF, or one whose frames together declare more pixels than a
// picture may have.
GifAnimation DecodeGifFrames(const std::uint8_t* data, std::size_t size, std::size_t maxFrames = SIZE_MAX);
