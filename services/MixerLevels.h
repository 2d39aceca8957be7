// The arithmetic of the audio mixer, apart from the system calls: how a step or a
// set level turns into channel values (winmm lines) or a master level (the
// endpoint volume of newer systems), and where a source line's item sits in its
// destination's selection list.
//
// Volume values are 0..65535 (65535 = full); -1 means none, or leave unchanged.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

inline constexpr int MixerVolumeMax = 65535;
inline constexpr int MixerNone = -1;

// What GetVolume reads of a line. The defaults are what a line, a device or a
// control that cannot be read gives.
struct TLineVolume {
  int Left = MixerNone;
  int Right = MixerNone;
  int Mute = MixerNone;  // 1 muted, 0 audible, -1 no mute control
  bool Stereo = false;
  bool VolumeDisabled = true;
  bool MuteDisabled = true;
  bool MuteIsMuxSelection = false;  // the mute is the destination's selection of this source
  friend bool operator==(const TLineVolume&, const TLineVolume&) = default;
};

struct TChannelStep {
  bool Write = false;                 // false: the line stays as it is
  std::vector<std::uint32_t> Values;  // one per channel, when Write
  int NewVolume = MixerNone;          // the loudest channel's level afterwards
};

// A step by stepPercent (relative; may be negative) or a set to stepPercent per
// cent (not relative) of a line whose channels read `current`. The loudest channel
// takes the new level, the others keep their share of it, so the balance stays;
// a silent channel of a line with sound stays silent. A relative step up on a
// line already at full writes nothing.
TChannelStep StepChannelLevels(std::span<const std::uint32_t> current, int stepPercent, bool relative);

// The same for the endpoint's master level (scalar 0..1). A relative step lands
// at or beyond the next whole per cent in its direction, so a step is never lost
// to rounding; a level below 0.003 becomes silence.
double StepEndpointLevel(double current, int stepPercent, bool relative);

// A scalar level on the mixer's scale.
int EndpointLevelToVolume(double level);

// Per cent as the displays show it: round(volume / 65535 x 100), the volume taken
// into 0..65535 first.
int VolumePercent(int volume);

// The list item of a selection (MUX) control that stands for a source line: the
// items' first parameters are the line ids; the source's item is searched from
// (channels - 1) in steps of the channel count.
std::optional<std::size_t> FindSelectionItem(std::span<const std::uint32_t> itemLineIds, int channels,
                                             std::uint32_t lineId);
