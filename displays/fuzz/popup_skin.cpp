// Any skin, "config.skin" and picture alike, is read, checked, stretched to a few
// popup sizes, recoloured and laid out without reading or writing outside a
// picture. The input is the description, a NUL byte, then the picture's bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "displays/SkinFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = input.find('\0');
  const std::string config = input.substr(0, nul);
  const std::string picture = nul == std::string::npos ? std::string() : input.substr(nul + 1);
  const Displays::TSkinFolder skin = Displays::ReadSkin(config, L"fuzz", [&](const std::wstring&, std::string& bytes) {
    bytes = picture;
    return !picture.empty();
  });
  const Displays::TSkinConfig& c = skin.Config;
  Displays::TSkinLayout layout;
  layout.Width = 278, layout.Height = 92;
  layout.Text = {8, 50, 120, 30};
  layout.Time = {240, 29, 30, 13};
  layout = Displays::LayoutSkinLabels(c, layout);
  if (!skin.Usable()) return 0;
  // Sizes around the margins and the minimum, kept small so each run stays quick.
  const int sizes[][2] = {{0, 0},
                          {1, 1},
                          {c.Left + c.Right, c.Top + c.Bottom},
                          {std::clamp(layout.Width, 0, 600), std::clamp(layout.Height, 0, 400)},
                          {37, 300}};
  for (const auto& s : sizes) {
    PixelBuffer out = Displays::NineSliceStretch(skin.Picture, std::min(s[0], 600), std::min(s[1], 400), c.Margins());
    Displays::SaturateSkin(out, c.MinWidth % 251);
    Displays::ShiftSkinHue(out, c.MinHeight % 361);
  }
  return 0;
}
