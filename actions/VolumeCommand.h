// What a volume binding (codes 21-24) asks for, read from its parameter string:
// fixed-width decimal fields, two characters each for the destination line, the
// line (0 the destination itself, k its source k-1) and the mixer device, then the
// step in per cent (up, down) or the level in per cent (set), two or three characters.
#pragma once
#include <string>
#include <string_view>

// The sub-codes the dispatcher passes for codes 21-24 (code - 20).
enum class TVolumeCode { Up = 1, Down = 2, Mute = 3, Set = 4 };

// The parameters of a binding with none, or too short to name a line.
inline constexpr std::string_view DefaultVolumeParams = "00000002";

struct TVolumeParams {
  int Destination = 0;
  int Connection = -1;  // -1: the destination line itself
  int Mixer = 0;
  int Step = 2;  // per cent: the step (up, down) or the level (set)
  friend bool operator==(const TVolumeParams&, const TVolumeParams&) = default;
};

// Reads every field before anything acts on it. A field that is missing or not a
// number takes its value from the defaults. For up and down the step is repaired
// as it always has been: a step text that sorts after "10", or "00", becomes
// Trunc(step / 10 + 1) ("50" a step of 6, "5" of 1, "100" of 11).
TVolumeParams ReadVolumeParams(std::string_view params, TVolumeCode code);

// The step text after that repair (characters 7-9 of the string).
std::string RepairedStepText(std::string_view step);

// The parameter string the settings page stores: each field at least two digits
// ("%0.2d": a level of 100 makes the string nine characters long). A field below
// zero (a list with nothing chosen) is written as "00".
std::string WriteVolumeParams(const TVolumeParams& p);
