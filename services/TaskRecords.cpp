#include "services/TaskRecords.h"

#include <cwctype>

#include "vcl/Exceptions.h"

namespace {

constexpr wchar_t JobExtension[] = L".job";
constexpr std::size_t JobExtensionLength = 4;

bool HasJobExtension(const std::wstring& name) {
  if (name.size() < JobExtensionLength) return false;
  for (std::size_t i = 0; i < JobExtensionLength; ++i) {
    if (std::towlower(name[name.size() - JobExtensionLength + i]) != static_cast<wint_t>(JobExtension[i])) return false;
  }
  return true;
}

// Two digits of text at pos, or -1.
int Digits(const std::wstring& text, std::size_t pos, std::size_t count) {
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    wchar_t c = text[pos + i];
    if (c < L'0' || c > L'9') return -1;
    value = value * 10 + (c - L'0');
  }
  return value;
}

std::wstring Padded(int value, int width) {
  std::wstring text = std::to_wstring(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), L'0');
  return text;
}

std::wstring DateText(int year, int month, int day) {
  return Padded(year, 4) + L"-" + Padded(month, 2) + L"-" + Padded(day, 2);
}

}  // namespace

std::wstring JobName(const std::wstring& name) { return HasJobExtension(name) ? name : name + JobExtension; }

std::wstring PlainName(const std::wstring& name) {
  return HasJobExtension(name) ? name.substr(0, name.size() - JobExtensionLength) : name;
}

std::uint32_t TaskFlagsToSystem(TTaskFlags flags) {
  std::uint32_t word = 0;
  for (int bit = 0; bit < TaskFlagBitCount; ++bit) {
    if (HasBit(flags, bit)) word |= TaskFlagValues[bit];
  }
  return word;
}

TTaskFlags TaskFlagsFromSystem(std::uint32_t systemFlags) {
  TTaskFlags flags = 0;
  for (int bit = 0; bit < TaskFlagBitCount; ++bit) {
    if (systemFlags & TaskFlagValues[bit]) flags |= BitOf(bit);
  }
  return flags;
}

std::optional<TTriggerMapping> MapTriggerKind(int kind) {
  // The new scheduler's numbers: time 1, daily 2, weekly 3, monthly 4, monthly on a
  // day of the week 5, idle 6, boot 8, logon 9, session state 11 (remote connect 3,
  // remote disconnect 4, lock 7, unlock 8).
  static constexpr TTriggerMapping table[TaskTriggerKindCount] = {
      {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {8, 0}, {9, 0}, {11, 3}, {11, 4}, {11, 7}, {11, 8}};
  if (kind < 0 || kind >= TaskTriggerKindCount) return std::nullopt;
  return table[kind];
}

std::optional<std::uint16_t> WeeksOfMonthMask(int whichWeek) {
  if (whichWeek < 1 || whichWeek > 5) return std::nullopt;
  return BitOf(whichWeek - 1);
}

std::wstring StartBoundaryText(int year, int month, int day, int hour, int minute) {
  return DateText(year, month, day) + L"T" + Padded(hour, 2) + L":" + Padded(minute, 2) + L":00";
}

std::wstring EndBoundaryText(int year, int month, int day) { return DateText(year, month, day) + L"T23:59:59"; }

TDateTime IsoToDateTime(const std::wstring& text) {
  if (text.empty()) return 0;
  auto invalid = [&]() -> EConvertError {
    return EConvertError(L"'%s' is not a valid date and time", {text});
  };
  // 2024-03-07T09:05:30
  if (text.size() < 19 || text[4] != L'-' || text[7] != L'-' || (text[10] != L'T' && text[10] != L't') ||
      text[13] != L':' || text[16] != L':') {
    throw invalid();
  }
  const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
  const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2), second = Digits(text, 17, 2);
  TDateTime date = 0, time = 0;
  if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0 ||
      !TryEncodeDate(year, month, day, date) || !TryEncodeTime(hour, minute, second, 0, time)) {
    throw invalid();
  }
  // Before 1899-12-30 the time of day still counts away from midnight.
  return date < 0 ? date - time : date + time;
}
