// Animated GIF files for the picture tests, written with giflib: frames of one
// colour each from a four-colour palette (0 red, 1 lime, 2 blue, 3 white), every
// frame with its own place and delay.
#pragma once
#include <cstdint>
#include <vector>

namespace qorn::testing {

struct TGifFrame {
  int left, top, w, h;
  std::uint8_t index;  // the frame's one colour
  int delay;           // hundredths of a second
};

// backgroundIndex: the palette colour of the logical screen behind the frames.
// Empty when giflib cannot start a file.
std::vector<std::uint8_t> WriteAnimatedGif(int screenW, int screenH, const std::vector<TGifFrame>& frames,
                                           int backgroundIndex = 0);

}  // namespace qorn::testing
