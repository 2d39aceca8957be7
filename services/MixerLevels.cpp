#include "services/MixerLevels.h"

#include <algorithm>
#include <cmath>

namespace {

// Half to even, as the processor rounds by default.
long long RoundEven(double x) { return std::llrint(x); }

int ClampVolume(long long v) { return static_cast<int>(std::clamp<long long>(v, 0, MixerVolumeMax)); }

}  // namespace

TChannelStep StepChannelLevels(std::span<const std::uint32_t> current, int stepPercent, bool relative) {
  TChannelStep step;
  if (current.empty()) return step;
  const long long loudest = *std::max_element(current.begin(), current.end());
  if (loudest >= MixerVolumeMax && stepPercent >= 0 && relative) {
    step.NewVolume = static_cast<int>(std::min<long long>(loudest, 0xFFFFFFFFll));
    return step;
  }
  // Cut toward zero, as the level has always been computed.
  long long level = static_cast<long long>(stepPercent * 655.35);
  if (relative) level += loudest;
  const int newLevel = ClampVolume(level);
  step.Write = true;
  step.NewVolume = newLevel;
  for (const std::uint32_t value : current) {
    if (value == loudest || loudest < 1) step.Values.push_back(static_cast<std::uint32_t>(newLevel));
    else
      step.Values.push_back(
          static_cast<std::uint32_t>(ClampVolume(value * static_cast<long long>(newLevel) / loudest)));
  }
  return step;
}

double StepEndpointLevel(double current, int stepPercent, bool relative) {
  double v = stepPercent / 100.0 + (relative ? current : 0.0);
  v = std::clamp(v, 0.0, 1.0);
  if (v > 0 && v < 1 && relative) {
    const double target = static_cast<double>(RoundEven(current * 100) + stepPercent) * 0.01;
    while (target + 0.001 > v) v += 0.0011;
  }
  v = std::clamp(v, 0.0, 1.0);
  if (v < 0.003) v = 0;
  return v;
}

int EndpointLevelToVolume(double level) { return ClampVolume(RoundEven(level * MixerVolumeMax)); }

int VolumePercent(int volume) {
  return static_cast<int>(RoundEven(ClampVolume(volume) / static_cast<double>(MixerVolumeMax) * 100));
}

std::optional<std::size_t> FindSelectionItem(std::span<const std::uint32_t> itemLineIds, int channels,
                                             std::uint32_t lineId) {
  const std::size_t stride = static_cast<std::size_t>(std::max(channels, 1));
  for (std::size_t i = stride - 1; i < itemLineIds.size(); i += stride)
    if (itemLineIds[i] == lineId) return i;
  return std::nullopt;
}
