#include "actions/VolumeCommand.h"

#include <charconv>
#include <cstdio>
#include <optional>

namespace {

// A decimal number with an optional sign, nothing else: what the frame writes.
std::optional<int> DecimalField(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (*first == '+' && ++first != last && *first == '-') return std::nullopt;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return value;
}

std::string_view Field(std::string_view params, std::size_t from, std::size_t length) {
  return from < params.size() ? params.substr(from, length) : std::string_view();
}

int FieldOr(std::string_view params, std::size_t from, std::size_t length, int fallback) {
  return DecimalField(Field(params, from, length)).value_or(fallback);
}

}  // namespace

std::string RepairedStepText(std::string_view step) {
  // Compared as text, so "5" sorts after "10" too.
  if (!(step > std::string_view("10") || step == "00")) return std::string(step);
  const auto value = DecimalField(step);
  if (!value) return std::string(step);
  char text[16];
  std::snprintf(text, sizeof text, "%02d", *value / 10 + 1);
  return text;
}

TVolumeParams ReadVolumeParams(std::string_view params, TVolumeCode code) {
  if (params.size() < 6) params = DefaultVolumeParams;
  const TVolumeParams defaults;
  TVolumeParams p;
  p.Destination = FieldOr(params, 0, 2, defaults.Destination);
  p.Connection = FieldOr(params, 2, 2, defaults.Connection + 1) - 1;
  p.Mixer = FieldOr(params, 4, 2, defaults.Mixer);
  std::string step(Field(params, 6, 3));
  if (code == TVolumeCode::Up || code == TVolumeCode::Down) step = RepairedStepText(step);
  p.Step = DecimalField(step).value_or(defaults.Step);
  return p;
}

std::string WriteVolumeParams(const TVolumeParams& p) {
  const auto field = [](int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value < 0 ? 0 : value);
    return std::string(text);
  };
  return field(p.Destination) + field(p.Connection + 1) + field(p.Mixer) + field(p.Step);
}
