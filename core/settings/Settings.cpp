#include "core/settings/Settings.h"

#include <algorithm>
#include <cstring>

TSettingsRecords SettingsRecords;
std::uint8_t SettingsLoading = 0;

std::string_view TStoredLogFont::Face() const {
  const auto end = std::find(FaceName.begin(), FaceName.end(), '\0');
  return {FaceName.data(), static_cast<std::size_t>(end - FaceName.begin())};
}

void TStoredLogFont::SetFace(std::string_view face) {
  FaceName.fill('\0');
  std::memcpy(FaceName.data(), face.data(), std::min(face.size(), FaceSize - 1));
}

void TSettingsHeader::SetSignature() {
  Bytes[0] = static_cast<std::uint8_t>(SettingsFileSignature.size());
  std::memcpy(Bytes.data() + 1, SettingsFileSignature.data(), SettingsFileSignature.size());
}

std::int32_t FontHeightForPoints(int points, int pixelsPerInch) {
  // As MulDiv rounds: the height of a font is negative (character height, not cell).
  const long long scaled = static_cast<long long>(points) * pixelsPerInch;
  return -static_cast<std::int32_t>((scaled + 36) / 72);
}

namespace {
constexpr int DefaultPoints = 8;
constexpr int TextDisplayPoints = 14;

TFontSlot PlainFont(int pixelsPerInch) {
  TFontSlot slot;
  slot.Present = true;
  slot.Color = ColorWindowText;
  slot.Font.Height = FontHeightForPoints(DefaultPoints, pixelsPerInch);
  slot.Font.Weight = FontWeightNormal;
  slot.Font.CharSet = DefaultCharSet;
  slot.Font.SetFace("Microsoft Sans Serif");
  return slot;
}
}  // namespace

void CreateDefaultFonts(TFontSlots& fonts, int pixelsPerInch) {
  for (TFontSlot& slot : fonts) slot = PlainFont(pixelsPerInch);
  fonts[0].Font.SetFace("Courier New");
  fonts[0].Font.Height = FontHeightForPoints(TextDisplayPoints, pixelsPerInch);
  fonts[0].Font.Weight = FontWeightBold;
  fonts[1].Font.Weight = FontWeightBold;
  fonts[2].Font.Weight = FontWeightBold;
}

void FillEmptyFontSlots(TFontSlots& fonts, int pixelsPerInch) {
  if (!fonts[0].Present) {
    CreateDefaultFonts(fonts, pixelsPerInch);
    return;
  }
  for (TFontSlot& slot : fonts)
    if (!slot.Present) slot = PlainFont(pixelsPerInch);
}
