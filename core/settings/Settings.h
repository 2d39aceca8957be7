// The settings records: every option of the program, with its default, as the
// displays, the tray, the update check and the option handlers read and write them
// by name. The records are moved to and from "stg.db" only by SettingsFile, field
// by field; their in-memory layout is free.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "vcl/ShortString.h"

// 50 signed 32-bit integers in the file; a flag is 1 for on, 0 for off. A field named
// after a settings control holds that control's state.
struct TMainSettings {
  static constexpr std::size_t StoredSize = 200;

  std::int32_t KeyPressCount = 0;  // key presses since the first run
  std::int32_t optauto = 1;        // start with Windows
  std::int32_t opttray = 1;        // start minimized to the tray
  std::int32_t optclose = 1;       // the close button minimizes to the tray
  std::int32_t osdshfs = 1;        // no displays over full-screen programs
  std::int32_t optmb = 0;          // multi-clipboard
  std::int32_t washowosd = 0;      // events as the text display (1) or the popup (0)
  std::int32_t osdwa = 1;          // show events
  std::int32_t osd2sf = 1;         // text display on a background
  std::int32_t osdlim = 1;         // keep the displays inside the screen
  std::int32_t osdtr2 = 200;       // text display opacity 0-255
  std::int32_t osdtr = 200;        // volume display opacity 0-255
  std::int32_t osdsh2 = 20;        // text display time, ms beyond the first second
  std::int32_t osdsh = 20;         // volume display time, ms beyond the first second
  std::int32_t osdshw = 1;         // show the volume level
  std::int32_t volshowosd = 0;     // volume as the volume display (1) or the popup (0)
  std::int32_t OsdTextTop = 0;     // display positions: set on the first run
  std::int32_t OsdTextLeft = 0;
  std::int32_t OsdVolTop = 0;
  std::int32_t OsdVolLeft = 0;
  std::int32_t OsdVolHeight = 0;
  std::int32_t OsdVolWidth = 0;
  std::int32_t osdvolstep = 25;    // volume display step 1-50
  std::int32_t osdvolspace = 1;    // volume display gap 0-10
  std::int32_t CB_osd_vol_border_style = 0;  // 0 ordinary, 1 none, 2 thin
  std::int32_t optnotrayicon = 0;
  std::int32_t optsetpriority = 0;  // 0 = not set, 1-6 = list index + 1
  std::int32_t osdkeyspressed = 0;
  std::int32_t osdshowlocks = 0;
  std::int32_t optlrmodif = 0;      // left and right modifiers count as one
  std::int32_t optmultiact = 0;     // several actions on one key
  std::int32_t optexceptonfullscreen = 0;
  std::int32_t CB_SettingsSave = 0;  // 0 the user's application data, 1 the program folder
  std::int32_t rbtn_locks_showastray = 1;
  std::int32_t trayshowlocks = 0;
  std::int32_t rbtn_trayshowlocks_multi = 0;
  std::int32_t optchecknewver = 1;
  std::int32_t ShowActionIcons = 0;
  std::int32_t cb_opt_autorun_ex = 0;  // autorun through a logon task
  std::array<std::int32_t, 11> Reserved{};  // kept as read
};

// 20 unsigned bytes in the file.
struct TPopupSettings {
  static constexpr std::size_t StoredSize = 20;

  std::uint8_t popupdelay = 15;      // show time, units of 100 ms, 1-50
  std::uint8_t popupopauqe = 206;    // opacity; 255 = opaque, transparency off
  std::uint8_t popupfade = 1;
  std::uint8_t popupanim = 1;
  std::uint8_t PopupPosition = 6;    // 1-6
  std::uint8_t popupanimdelay = 3;   // units of 100 ms, 1-10
  std::uint8_t PopupSlide = 1;       // 1 vertical, 2 horizontal
  std::uint8_t popupgradient = 0;
  std::uint8_t popupcolorgroundgradientdirection = 0;  // 0-5
  std::uint8_t popuptranspvolumebar = 0;
  std::uint8_t popupuseskin = 0;
  std::uint8_t tb_skin_brightness = 100;  // slider value + 100; 100 = unchanged
  // Slider value + 90; 90 = unchanged. (A default of 100 would tint every skin by
  // +20 while the slider shows no change.)
  std::uint8_t tb_skin_color = 90;
  std::array<std::uint8_t, 7> Reserved{};
};

// 20 short strings of up to 255 characters.
struct TStringSettings {
  static constexpr std::size_t Count = 20;
  static constexpr std::size_t StoredSize = Count * TShortString<255>::StoredSize;  // 5120

  TShortString<255> LanguageName;
  TShortString<255> PopupSkinName;
  TShortString<255> InstallationId;
  TShortString<255> SkippedVersion;
  std::array<TShortString<255>, 16> Reserved{};
};

// Colour references; -1 = not chosen (leaves a control's colour unchanged).
inline constexpr std::int32_t NoColor = -1;

struct TColorSettings {
  static constexpr std::size_t StoredSize = 80;

  std::int32_t osdclrb = NoColor;  // volume display gradient start
  std::int32_t osdclre = NoColor;  // volume display gradient end
  std::int32_t osd2fc = NoColor;   // text display background
  std::int32_t osd2cl = NoColor;   // text display text
  std::int32_t popupcolorcaption = NoColor;
  std::int32_t popupcolorground = NoColor;
  std::int32_t popupcolorground2 = NoColor;
  std::array<std::int32_t, 13> Reserved = {NoColor, NoColor, NoColor, NoColor, NoColor, NoColor, NoColor,
                                           NoColor, NoColor, NoColor, NoColor, NoColor, NoColor};
};

// A Windows LOGFONTA as the file holds it (60 bytes), kept apart from <windows.h>.
struct TStoredLogFont {
  static constexpr std::size_t StoredSize = 60;
  static constexpr std::size_t FaceSize = 32;

  std::int32_t Height = 0;
  std::int32_t Width = 0;
  std::int32_t Escapement = 0;
  std::int32_t Orientation = 0;
  std::int32_t Weight = 0;
  std::uint8_t Italic = 0;
  std::uint8_t Underline = 0;
  std::uint8_t StrikeOut = 0;
  std::uint8_t CharSet = 0;
  std::uint8_t OutPrecision = 0;
  std::uint8_t ClipPrecision = 0;
  std::uint8_t Quality = 0;
  std::uint8_t PitchAndFamily = 0;
  std::array<char, FaceSize> FaceName{};  // always ends with a NUL

  std::string_view Face() const;
  void SetFace(std::string_view face);
};

// Font weights and the character set the default fonts use.
inline constexpr std::int32_t FontWeightNormal = 400;
inline constexpr std::int32_t FontWeightBold = 700;
inline constexpr std::uint8_t DefaultCharSet = 1;
// The colour a new font has: the system colour "window text".
inline constexpr std::int32_t ColorWindowText = static_cast<std::int32_t>(0x80000008u);

// One of the ten font slots: 0 the text display, 1 the popup caption, 2 the popup
// text; 3-9 are kept and saved. An empty slot is written as tag 0.
struct TFontSlot {
  bool Present = false;
  std::int32_t Color = ColorWindowText;
  TStoredLogFont Font;
};

inline constexpr std::size_t FontSlotCount = 10;
using TFontSlots = std::array<TFontSlot, FontSlotCount>;

// The default fonts: all "Microsoft Sans Serif", slot 0 "Courier New" 14 points bold,
// slots 1 and 2 bold. Created when slot 0 is empty (nothing was read).
void CreateDefaultFonts(TFontSlots& fonts, int pixelsPerInch = 96);
// A slot the file left empty while slot 0 is present gets the plain default font,
// so that saving and the displays never meet an empty slot.
void FillEmptyFontSlots(TFontSlots& fonts, int pixelsPerInch = 96);
// LOGFONT height of a font of that many points.
std::int32_t FontHeightForPoints(int points, int pixelsPerInch);

// Hot-key words: virtual key in the low byte, 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt; 0 = none.
struct THotKeySettings {
  static constexpr std::size_t StoredSize = 20;

  std::uint16_t ProgramOnOff = 0;
  std::uint16_t NextGlobalProfile = 0;
  std::uint16_t PrevGlobalProfile = 0;
  std::array<std::uint8_t, 14> Reserved{};
};

// The 16 header bytes of "stg.db": kept as read; bytes 0-8 are set again on writing.
inline constexpr std::string_view SettingsFileSignature = "Stg v0.1";
struct TSettingsHeader {
  static constexpr std::size_t StoredSize = 16;
  std::array<std::uint8_t, StoredSize> Bytes = {8, 'S', 't', 'g', ' ', 'v', '0', '.', '1'};

  // Bytes 0-8 become the short string "Stg v0.1"; the rest stay.
  void SetSignature();
};

// Everything "stg.db" holds.
struct TSettingsRecords {
  TSettingsHeader Header;
  TMainSettings Main;
  TPopupSettings Popup;
  TStringSettings Strings;
  TColorSettings Colors;
  TFontSlots Fonts{};
  THotKeySettings HotKeys;
};

// The program's settings, read directly by name; they start at the defaults above.
extern TSettingsRecords SettingsRecords;
inline TMainSettings& MainSettings = SettingsRecords.Main;
inline TPopupSettings& PopupSettings = SettingsRecords.Popup;
inline TStringSettings& StringSettings = SettingsRecords.Strings;
inline TColorSettings& ColorSettings = SettingsRecords.Colors;
inline TFontSlots& FontSlots = SettingsRecords.Fonts;
inline THotKeySettings& HotKeySettings = SettingsRecords.HotKeys;

// 1 while the settings are read and applied to the controls; option handlers do
// nothing with side effects and closing is refused while it is set.
extern std::uint8_t SettingsLoading;

// Sets SettingsLoading for a scope and puts back the value it had.
class TSettingsLoadingScope {
 public:
  TSettingsLoadingScope() : previous_(SettingsLoading) { SettingsLoading = 1; }
  ~TSettingsLoadingScope() { SettingsLoading = previous_; }
  TSettingsLoadingScope(const TSettingsLoadingScope&) = delete;
  TSettingsLoadingScope& operator=(const TSettingsLoadingScope&) = delete;

 private:
  std::uint8_t previous_;
};
