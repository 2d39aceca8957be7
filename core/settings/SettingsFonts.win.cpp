#include "core/settings/SettingsFonts.h"

#include <cstring>

LOGFONTA ToLogFont(const TStoredLogFont& f) {
  LOGFONTA lf{};
  lf.lfHeight = f.Height;
  lf.lfWidth = f.Width;
  lf.lfEscapement = f.Escapement;
  lf.lfOrientation = f.Orientation;
  lf.lfWeight = f.Weight;
  lf.lfItalic = f.Italic;
  lf.lfUnderline = f.Underline;
  lf.lfStrikeOut = f.StrikeOut;
  lf.lfCharSet = f.CharSet;
  lf.lfOutPrecision = f.OutPrecision;
  lf.lfClipPrecision = f.ClipPrecision;
  lf.lfQuality = f.Quality;
  lf.lfPitchAndFamily = f.PitchAndFamily;
  static_assert(sizeof lf.lfFaceName == TStoredLogFont::FaceSize);
  std::memcpy(lf.lfFaceName, f.FaceName.data(), sizeof lf.lfFaceName);
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  return lf;
}

TStoredLogFont FromLogFont(const LOGFONTA& lf) {
  TStoredLogFont f;
  f.Height = lf.lfHeight;
  f.Width = lf.lfWidth;
  f.Escapement = lf.lfEscapement;
  f.Orientation = lf.lfOrientation;
  f.Weight = lf.lfWeight;
  f.Italic = lf.lfItalic;
  f.Underline = lf.lfUnderline;
  f.StrikeOut = lf.lfStrikeOut;
  f.CharSet = lf.lfCharSet;
  f.OutPrecision = lf.lfOutPrecision;
  f.ClipPrecision = lf.lfClipPrecision;
  f.Quality = lf.lfQuality;
  f.PitchAndFamily = lf.lfPitchAndFamily;
  std::memcpy(f.FaceName.data(), lf.lfFaceName, f.FaceName.size());
  f.FaceName.back() = '\0';
  return f;
}

HFONT CreateSlotFont(const TFontSlot& slot) {
  if (!slot.Present) return nullptr;
  const LOGFONTA lf = ToLogFont(slot.Font);
  return CreateFontIndirectA(&lf);
}

TFontSlot SlotFromFont(HFONT font, std::int32_t color) {
  TFontSlot slot;
  LOGFONTA lf{};
  if (font != nullptr && GetObjectA(font, sizeof lf, &lf) == sizeof lf) {
    slot.Present = true;
    slot.Color = color;
    slot.Font = FromLogFont(lf);
  }
  return slot;
}
