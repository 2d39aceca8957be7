// How the controls of the settings pages map onto the settings records: which
// check box holds which flag, how a slider position becomes a stored byte and
// back, the texts of the value labels, and the process priority of each list item.
// Free of Win32, so the rules are tested natively.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings/Settings.h"

// A check box or radio button whose state is one flag of TMainSettings (1 = on).
struct TMainFlagControl {
  std::wstring_view Control;
  std::int32_t TMainSettings::*Field;
  bool Inverted;  // the radio button that stores 0 when it is the chosen one
};

// Every such control of the pages. A pair of radio buttons shares one field: the
// first stores 1 when chosen, the inverted second stores 0.
inline constexpr std::array<TMainFlagControl, 23> MainFlagControls{{
    {L"optauto", &TMainSettings::optauto, false},
    {L"opttray", &TMainSettings::opttray, false},
    {L"optclose", &TMainSettings::optclose, false},
    {L"osdshfs", &TMainSettings::osdshfs, false},
    {L"optmb", &TMainSettings::optmb, false},
    {L"optnotrayicon", &TMainSettings::optnotrayicon, false},
    {L"osdkeyspressed", &TMainSettings::osdkeyspressed, false},
    {L"optlrmodif", &TMainSettings::optlrmodif, false},
    {L"optmultiact", &TMainSettings::optmultiact, false},
    {L"optexceptonfullscreen", &TMainSettings::optexceptonfullscreen, false},
    {L"optchecknewver", &TMainSettings::optchecknewver, false},
    {L"osdwa", &TMainSettings::osdwa, false},
    {L"washowosd", &TMainSettings::washowosd, false},
    {L"washowpopup", &TMainSettings::washowosd, true},
    {L"osdshw", &TMainSettings::osdshw, false},
    {L"volshowosd", &TMainSettings::volshowosd, false},
    {L"volshowpopup", &TMainSettings::volshowosd, true},
    {L"osdlim", &TMainSettings::osdlim, false},
    {L"osd2sf", &TMainSettings::osd2sf, false},
    {L"osdshowlocks", &TMainSettings::osdshowlocks, false},
    {L"rbtn_locks_showastray", &TMainSettings::rbtn_locks_showastray, false},
    {L"rbtn_locks_showaspopup", &TMainSettings::rbtn_locks_showastray, true},
    {L"trayshowlocks", &TMainSettings::trayshowlocks, false},
}};

// A control whose state or position is one field of a record as it stands.
template <class Record, class Value>
struct TFieldControl {
  std::wstring_view Control;
  Value Record::*Field;
};

// The entry of the control of that name in one of the tables, or nullptr.
template <class Entry, std::size_t N>
const Entry* FindControl(const std::array<Entry, N>& table, std::wstring_view control) {
  for (const Entry& entry : table)
    if (entry.Control == control) return &entry;
  return nullptr;
}

// A check box whose state is one byte of TPopupSettings (1 = on).
using TPopupFlagControl = TFieldControl<TPopupSettings, std::uint8_t>;
inline constexpr std::array<TPopupFlagControl, 4> PopupFlagControls{{
    {L"popupfade", &TPopupSettings::popupfade},
    {L"popupanim", &TPopupSettings::popupanim},
    {L"popupgradient", &TPopupSettings::popupgradient},
    {L"popuptranspvolumebar", &TPopupSettings::popuptranspvolumebar},
}};

// A slider, spin edit or list whose position is one TMainSettings field.
using TMainValueControl = TFieldControl<TMainSettings, std::int32_t>;
inline constexpr std::array<TMainValueControl, 7> MainValueControls{{
    {L"osdtr2", &TMainSettings::osdtr2},
    {L"osdsh2", &TMainSettings::osdsh2},
    {L"osdtr", &TMainSettings::osdtr},
    {L"osdsh", &TMainSettings::osdsh},
    {L"osdvolstep", &TMainSettings::osdvolstep},
    {L"osdvolspace", &TMainSettings::osdvolspace},
    {L"CB_osd_vol_border_style", &TMainSettings::CB_osd_vol_border_style},
}};

// A colour list and its slot of TColorSettings.
using TColorControl = TFieldControl<TColorSettings, std::int32_t>;
inline constexpr std::array<TColorControl, 7> ColorControls{{
    {L"osdclrb", &TColorSettings::osdclrb},
    {L"osdclre", &TColorSettings::osdclre},
    {L"osd2fc", &TColorSettings::osd2fc},
    {L"osd2cl", &TColorSettings::osd2cl},
    {L"popupcolorcaption", &TColorSettings::popupcolorcaption},
    {L"popupcolorground", &TColorSettings::popupcolorground},
    {L"popupcolorground2", &TColorSettings::popupcolorground2},
}};

// --- sliders of the popup page and their stored bytes

// Show time: slider 0..49 is 1..50 tenths of a second (and back).
std::uint8_t PopupDelayByte(int position);
int PopupDelayPosition(std::uint8_t stored);
// Animation time: slider 0..9 is 1..10 tenths of a second.
std::uint8_t PopupAnimDelayByte(int position);
int PopupAnimDelayPosition(std::uint8_t stored);
// The milliseconds a show-time or animation slider stands for ("100".."5000").
std::wstring TenthsLabel(int position);
// Opacity 0..255 as the per cent its label shows ("80 %").
std::wstring OpacityLabel(int opacity);
// Opacity 255 is "transparency off": the stored byte for the check box and slider.
std::uint8_t PopupOpacityByte(bool transparent, int position);

// Skin sliders: brightness -100..150 is stored + 100; colour -90..90 is stored + 90,
// its label shows the hue shift, twice the position.
std::uint8_t SkinBrightnessByte(int position);
int SkinBrightnessPosition(std::uint8_t stored);
std::uint8_t SkinColorByte(int position);
int SkinColorPosition(std::uint8_t stored);
std::wstring SkinColorLabel(int position);

// The value a slot or list position holds within the control's range.
int ClampTo(int value, int low, int high);

// --- process priority

// The list "Idle", "Lower", "Normal", "Higher", "Even Higher", "Highest" (0..5).
inline constexpr int PriorityItemCount = 6;
inline constexpr int NormalPriorityItem = 2;
// The Windows priority class of an item (its numeric value), nothing outside the
// list. "Highest" is the high class, never real time: a program that holds the
// keyboard hook must not starve the rest of the system.
std::optional<std::uint32_t> PriorityClassOfItem(int itemIndex);
// The stored field is the item index + 1 (0 = never chosen); the item of a stored value.
std::optional<int> PriorityItemOfStored(std::int32_t stored);

// --- popup skins

// Where the skin of that name lives: skinsFolder ends with a backslash.
std::wstring SkinFolderOf(const std::wstring& skinsFolder, const std::wstring& name);
