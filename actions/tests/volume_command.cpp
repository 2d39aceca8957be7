// Reading a volume binding: the fields, the defaults a bad or missing field takes,
// and the old step repair of up and down.
#include <gtest/gtest.h>

#include "actions/VolumeCommand.h"

namespace {

TEST(VolumeCommand, ReadsTheFieldsAndRepairsTheStep) {
  using enum TVolumeCode;
  const struct {
    const char* params;
    TVolumeCode code;
    TVolumeParams expected;  // destination, connection, mixer, step
  } cases[] = {
      {"01020305", Up, {1, 1, 3, 5}},
      {"00000002", Down, {0, -1, 0, 2}},
      {"00010010", Up, {0, 0, 0, 10}},
      // The step text compared as text: "5" sorts after "10", so a step of 1.
      {"0000005", Up, {0, -1, 0, 1}},
      {"00000050", Up, {0, -1, 0, 6}},
      {"000000100", Up, {0, -1, 0, 11}},
      {"000000100", Down, {0, -1, 0, 11}},
      {"00000000", Down, {0, -1, 0, 1}},
      {"00000009", Up, {0, -1, 0, 9}},
      // Set and mute take the level as it stands.
      {"000000100", Set, {0, -1, 0, 100}},
      {"00000050", Set, {0, -1, 0, 50}},
      {"00000000", Set, {0, -1, 0, 0}},
      {"00000005", Mute, {0, -1, 0, 5}},
      // Shorter than six characters: the defaults.
      {"", Up, {0, -1, 0, 2}},
      {"01020", Set, {0, -1, 0, 2}},
      // Six characters: no step at all, the default step.
      {"010203", Up, {1, 1, 3, 2}},
      {"010203", Set, {1, 1, 3, 2}},
      // A field that is no number takes its default; the others stand.
      {"xx0203 5", Up, {0, 1, 3, 2}},
      {"01xx0305", Up, {1, -1, 3, 5}},
      {"0102xx05", Up, {1, 1, 0, 5}},
      {"010203ab", Up, {1, 1, 3, 2}},
      {"010203ab", Set, {1, 1, 3, 2}},
      {"010203+-1", Set, {1, 1, 3, 2}},
      {"0 0203 5", Down, {0, 1, 3, 2}},
      // Beyond nine characters nothing is read.
      {"010203050junk", Set, {1, 1, 3, 50}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadVolumeParams(c.params, c.code), c.expected)
        << '"' << c.params << "\" code " << static_cast<int>(c.code);
}

TEST(VolumeCommand, StepRepairAsText) {
  EXPECT_EQ(RepairedStepText("05"), "05");
  EXPECT_EQ(RepairedStepText("10"), "10");
  EXPECT_EQ(RepairedStepText("5"), "01");
  EXPECT_EQ(RepairedStepText("50"), "06");
  EXPECT_EQ(RepairedStepText("100"), "11");
  EXPECT_EQ(RepairedStepText("00"), "01");
  EXPECT_EQ(RepairedStepText("ab"), "ab") << "no number: left for the default";
  EXPECT_EQ(RepairedStepText(""), "");
}

TEST(VolumeCommand, WritesWhatItReadsBack) {
  using enum TVolumeCode;
  const struct {
    TVolumeParams written;
    TVolumeCode code;
    const char* text;
  } cases[] = {
      {{1, 0, 0, 2}, Up, "01010002"},
      {{0, -1, 2, 10}, Down, "00000210"},
      {{3, 4, 1, 1}, Up, "03050101"},
      {{0, -1, 0, 100}, Set, "000000100"},
      {{0, -1, 0, 0}, Set, "00000000"},
      {{12, 7, 0, 55}, Set, "12080055"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WriteVolumeParams(c.written), c.text);
    EXPECT_EQ(ReadVolumeParams(WriteVolumeParams(c.written), c.code), c.written) << c.text;
  }
  // Nothing chosen in a list writes "00".
  EXPECT_EQ(WriteVolumeParams({-1, -2, -1, 5}), "00000005");
}

}  // namespace
