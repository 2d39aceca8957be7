#include "core/settings/SettingsFile.h"

#include <algorithm>
#include <array>

#include "core/settings/SettingsBytes.h"

namespace {

// File order of the named fields; the reserved words follow them.
constexpr std::array<std::int32_t TMainSettings::*, 39> MainFields = {
    &TMainSettings::KeyPressCount,
    &TMainSettings::optauto,
    &TMainSettings::opttray,
    &TMainSettings::optclose,
    &TMainSettings::osdshfs,
    &TMainSettings::optmb,
    &TMainSettings::washowosd,
    &TMainSettings::osdwa,
    &TMainSettings::osd2sf,
    &TMainSettings::osdlim,
    &TMainSettings::osdtr2,
    &TMainSettings::osdtr,
    &TMainSettings::osdsh2,
    &TMainSettings::osdsh,
    &TMainSettings::osdshw,
    &TMainSettings::volshowosd,
    &TMainSettings::OsdTextTop,
    &TMainSettings::OsdTextLeft,
    &TMainSettings::OsdVolTop,
    &TMainSettings::OsdVolLeft,
    &TMainSettings::OsdVolHeight,
    &TMainSettings::OsdVolWidth,
    &TMainSettings::osdvolstep,
    &TMainSettings::osdvolspace,
    &TMainSettings::CB_osd_vol_border_style,
    &TMainSettings::optnotrayicon,
    &TMainSettings::optsetpriority,
    &TMainSettings::osdkeyspressed,
    &TMainSettings::osdshowlocks,
    &TMainSettings::optlrmodif,
    &TMainSettings::optmultiact,
    &TMainSettings::optexceptonfullscreen,
    &TMainSettings::CB_SettingsSave,
    &TMainSettings::rbtn_locks_showastray,
    &TMainSettings::trayshowlocks,
    &TMainSettings::rbtn_trayshowlocks_multi,
    &TMainSettings::optchecknewver,
    &TMainSettings::ShowActionIcons,
    &TMainSettings::cb_opt_autorun_ex,
};
static_assert((MainFields.size() + std::tuple_size_v<decltype(TMainSettings::Reserved)>) * 4 ==
              TMainSettings::StoredSize);

constexpr std::array<std::uint8_t TPopupSettings::*, 13> PopupFields = {
    &TPopupSettings::popupdelay,
    &TPopupSettings::popupopauqe,
    &TPopupSettings::popupfade,
    &TPopupSettings::popupanim,
    &TPopupSettings::PopupPosition,
    &TPopupSettings::popupanimdelay,
    &TPopupSettings::PopupSlide,
    &TPopupSettings::popupgradient,
    &TPopupSettings::popupcolorgroundgradientdirection,
    &TPopupSettings::popuptranspvolumebar,
    &TPopupSettings::popupuseskin,
    &TPopupSettings::tb_skin_brightness,
    &TPopupSettings::tb_skin_color,
};
static_assert(PopupFields.size() + std::tuple_size_v<decltype(TPopupSettings::Reserved)> ==
              TPopupSettings::StoredSize);

constexpr std::array<TShortString<255> TStringSettings::*, 4> StringFields = {
    &TStringSettings::LanguageName,
    &TStringSettings::PopupSkinName,
    &TStringSettings::InstallationId,
    &TStringSettings::SkippedVersion,
};

constexpr std::array<std::int32_t TColorSettings::*, 7> ColorFields = {
    &TColorSettings::osdclrb,
    &TColorSettings::osdclre,
    &TColorSettings::osd2fc,
    &TColorSettings::osd2cl,
    &TColorSettings::popupcolorcaption,
    &TColorSettings::popupcolorground,
    &TColorSettings::popupcolorground2,
};
static_assert((ColorFields.size() + std::tuple_size_v<decltype(TColorSettings::Reserved)>) * 4 ==
              TColorSettings::StoredSize);

constexpr std::array<std::int32_t TStoredLogFont::*, 5> LogFontInts = {
    &TStoredLogFont::Height, &TStoredLogFont::Width, &TStoredLogFont::Escapement,
    &TStoredLogFont::Orientation, &TStoredLogFont::Weight,
};
constexpr std::array<std::uint8_t TStoredLogFont::*, 8> LogFontBytes = {
    &TStoredLogFont::Italic,       &TStoredLogFont::Underline,     &TStoredLogFont::StrikeOut,
    &TStoredLogFont::CharSet,      &TStoredLogFont::OutPrecision,  &TStoredLogFont::ClipPrecision,
    &TStoredLogFont::Quality,      &TStoredLogFont::PitchAndFamily,
};
static_assert(LogFontInts.size() * 4 + LogFontBytes.size() + TStoredLogFont::FaceSize ==
              TStoredLogFont::StoredSize);

void StoreFont(TByteWriter& w, const TStoredLogFont& f) {
  for (auto field : LogFontInts) w.I32(f.*field);
  for (auto field : LogFontBytes) w.U8(f.*field);
  w.Raw(f.FaceName.data(), f.FaceName.size());
}

bool LoadFont(TByteReader& r, TStoredLogFont& f) {
  TStoredLogFont read;
  for (auto field : LogFontInts)
    if (!r.I32(read.*field)) return false;
  for (auto field : LogFontBytes)
    if (!r.U8(read.*field)) return false;
  if (!r.Raw(read.FaceName.data(), read.FaceName.size())) return false;
  // A face name without its terminating NUL would run into the next bytes.
  read.FaceName.back() = '\0';
  f = read;
  return true;
}

}  // namespace

std::string StoreSettingsFile(const TSettingsRecords& records) {
  TByteWriter w;
  TSettingsHeader header = records.Header;
  header.SetSignature();
  w.Raw(header.Bytes.data(), header.Bytes.size());

  for (auto field : MainFields) w.I32(records.Main.*field);
  for (std::int32_t v : records.Main.Reserved) w.I32(v);

  for (auto field : PopupFields) w.U8(records.Popup.*field);
  for (std::uint8_t v : records.Popup.Reserved) w.U8(v);

  for (auto field : StringFields) w.Short(records.Strings.*field);
  for (const auto& s : records.Strings.Reserved) w.Short(s);

  for (auto field : ColorFields) w.I32(records.Colors.*field);
  for (std::int32_t v : records.Colors.Reserved) w.I32(v);

  for (const TFontSlot& slot : records.Fonts) {
    if (!slot.Present) {
      w.I32(0);
      continue;
    }
    w.I32(static_cast<std::int32_t>(SettingsFontTagPresent));
    w.I32(slot.Color);
    StoreFont(w, slot.Font);
  }

  w.U16(records.HotKeys.ProgramOnOff);
  w.U16(records.HotKeys.NextGlobalProfile);
  w.U16(records.HotKeys.PrevGlobalProfile);
  for (std::uint8_t v : records.HotKeys.Reserved) w.U8(v);
  return w.Take();
}

void LoadSettingsFile(std::string_view bytes, TSettingsRecords& records) {
  TByteReader r(bytes);
  for (auto& b : records.Header.Bytes)
    if (!r.U8(b)) break;

  for (auto field : MainFields) r.I32(records.Main.*field);
  for (std::int32_t& v : records.Main.Reserved) r.I32(v);

  for (auto field : PopupFields) r.U8(records.Popup.*field);
  for (std::uint8_t& v : records.Popup.Reserved) r.U8(v);

  for (auto field : StringFields) r.Short(records.Strings.*field);
  for (auto& s : records.Strings.Reserved) r.Short(s);

  for (auto field : ColorFields) r.I32(records.Colors.*field);
  for (std::int32_t& v : records.Colors.Reserved) r.I32(v);

  for (TFontSlot& slot : records.Fonts) {
    std::int32_t tag = 0;
    if (!r.I32(tag)) break;
    if (tag != static_cast<std::int32_t>(SettingsFontTagPresent)) continue;
    std::int32_t color = 0;
    TStoredLogFont font;
    if (!r.I32(color) || !LoadFont(r, font)) break;
    slot.Present = true;
    slot.Color = color;
    slot.Font = font;
  }

  r.U16(records.HotKeys.ProgramOnOff);
  r.U16(records.HotKeys.NextGlobalProfile);
  r.U16(records.HotKeys.PrevGlobalProfile);
  for (std::uint8_t& v : records.HotKeys.Reserved) r.U8(v);
}

bool IsWellFormedSettingsFile(std::string_view bytes) {
  constexpr std::string_view signature("\x08Stg v0.1", 9);
  if (bytes.substr(0, signature.size()) != signature) return false;
  std::size_t at = TSettingsHeader::StoredSize + TMainSettings::StoredSize + TPopupSettings::StoredSize +
                   TStringSettings::StoredSize + TColorSettings::StoredSize;
  for (std::size_t slot = 0; slot < FontSlotCount; ++slot) {
    TByteReader r(bytes.substr(std::min(at, bytes.size())));
    std::int32_t tag = -1;
    if (!r.I32(tag)) return false;
    at += 4;
    if (tag == static_cast<std::int32_t>(SettingsFontTagPresent)) {
      at += 4 + TStoredLogFont::StoredSize;
    } else if (tag != 0) {
      return false;
    }
  }
  return bytes.size() == at + THotKeySettings::StoredSize;
}
