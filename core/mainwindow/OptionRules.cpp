#include "core/mainwindow/OptionRules.h"

#include <algorithm>

namespace {

std::uint8_t ByteOf(int value) { return static_cast<std::uint8_t>(ClampTo(value, 0, 255)); }

}  // namespace

int ClampTo(int value, int low, int high) { return std::clamp(value, low, high); }

std::uint8_t PopupDelayByte(int position) { return ByteOf(ClampTo(position, 0, 49) + 1); }
int PopupDelayPosition(std::uint8_t stored) { return ClampTo(stored - 1, 0, 49); }
std::uint8_t PopupAnimDelayByte(int position) { return ByteOf(ClampTo(position, 0, 9) + 1); }
int PopupAnimDelayPosition(std::uint8_t stored) { return ClampTo(stored - 1, 0, 9); }
std::wstring TenthsLabel(int position) { return std::to_wstring(position * 100 + 100); }
std::wstring OpacityLabel(int opacity) { return std::to_wstring(opacity * 100 / 255) + L" %"; }
std::uint8_t PopupOpacityByte(bool transparent, int position) { return transparent ? ByteOf(position) : 255; }

std::uint8_t SkinBrightnessByte(int position) { return ByteOf(ClampTo(position, -100, 150) + 100); }
int SkinBrightnessPosition(std::uint8_t stored) { return ClampTo(stored - 100, -100, 150); }
std::uint8_t SkinColorByte(int position) { return ByteOf(ClampTo(position, -90, 90) + 90); }
int SkinColorPosition(std::uint8_t stored) { return ClampTo(stored - 90, -90, 90); }
std::wstring SkinColorLabel(int position) { return std::to_wstring(position * 2); }

std::optional<std::uint32_t> PriorityClassOfItem(int itemIndex) {
  // IDLE, BELOW_NORMAL, NORMAL, ABOVE_NORMAL, HIGH, and HIGH again for "Highest".
  static constexpr std::array<std::uint32_t, PriorityItemCount> classes{0x40, 0x4000, 0x20, 0x8000, 0x80, 0x80};
  if (itemIndex < 0 || itemIndex >= PriorityItemCount) return std::nullopt;
  return classes[static_cast<std::size_t>(itemIndex)];
}

std::optional<int> PriorityItemOfStored(std::int32_t stored) {
  if (stored < 1 || stored > PriorityItemCount) return std::nullopt;
  return stored - 1;
}

std::wstring SkinFolderOf(const std::wstring& skinsFolder, const std::wstring& name) {
  return skinsFolder + name + L"\\";
}
