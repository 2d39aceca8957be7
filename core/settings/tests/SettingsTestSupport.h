// Fakes of the main window's side for the settings and profile tests.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings/ProfilesKeyList.h"
#include "core/settings/SettingsReporter.h"

struct TRecordingReporter final : ISettingsReporter {
  std::vector<int> errors;
  std::vector<std::wstring> messages;
  std::vector<TFileProblem> problems;
  void ShowNumberedError(int number) override { errors.push_back(number); }
  void ShowLanguageMessage(std::wstring_view name) override { messages.emplace_back(name); }
  void ShowFileProblem(const TFileProblem& problem) override { problems.push_back(problem); }
};

struct TFakeKeyList final : IKeyListView {
  std::vector<std::string> items;
  int selected = -1;
  int listButtonEnabled = 0;
  int saveButtonEnabled = 0;
  void Clear() override { items.clear(); }
  void Add(std::string_view name) override { items.emplace_back(name); }
  int ItemIndex() const override { return selected; }
  void EnableListButton() override { ++listButtonEnabled; }
  void EnableSaveButton() override { ++saveButtonEnabled; }
};

// Little-endian writes at fixed offsets, for hand-made file images.
inline void Put8(std::string& b, std::size_t at, std::uint8_t v) { b.at(at) = static_cast<char>(v); }
inline void Put16(std::string& b, std::size_t at, std::uint16_t v) {
  Put8(b, at, static_cast<std::uint8_t>(v));
  Put8(b, at + 1, static_cast<std::uint8_t>(v >> 8));
}
inline void Put32(std::string& b, std::size_t at, std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) Put8(b, at + i, static_cast<std::uint8_t>(u >> (8 * i)));
}
inline void PutShort(std::string& b, std::size_t at, std::string_view s) {
  Put8(b, at, static_cast<std::uint8_t>(s.size()));
  for (std::size_t i = 0; i < s.size(); ++i) b.at(at + 1 + i) = s[i];
}
inline std::int32_t Get32(const std::string& b, std::size_t at) {
  std::uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b.at(at + i))) << (8 * i);
  return static_cast<std::int32_t>(u);
}
