// The mixer's arithmetic: channel steps and sets on winmm lines, the endpoint's
// master level, per cent for the displays, a source's item in a selection list.
#include <gtest/gtest.h>

#include "services/MixerLevels.h"

#include <vector>

namespace {

TEST(MixerLevels, ChannelStepsAndSets) {
  const struct {
    std::vector<std::uint32_t> current;
    int step;
    bool relative;
    bool write;
    std::vector<std::uint32_t> values;
    int newVolume;
  } cases[] = {
      // Set 50 % on a mono line: Trunc(50 x 655.35).
      {{40000}, 50, false, true, {32767}, 32767},
      // Set 50 % keeps the balance: the quieter channel keeps its share (it used
      // to come out at full, the balance turned round).
      {{60000, 50000}, 50, false, true, {32767, 27305}, 32767},
      {{50000, 60000}, 50, false, true, {27305, 32767}, 32767},
      // A relative step raises the loudest channel by the step, the other in proportion.
      {{30000, 15000}, 2, true, true, {31310, 15655}, 31310},
      {{30000, 15000}, -2, true, true, {28690, 14345}, 28690},
      // At full, a step up writes nothing; a step down does.
      {{65535, 65535}, 2, true, false, {}, 65535},
      {{65535, 65535}, -2, true, true, {64225, 64225}, 64225},
      // A silent line: every channel takes the new level.
      {{0, 0}, 2, true, true, {1310, 1310}, 1310},
      // A silent channel beside a sounding one stays silent.
      {{20000, 0}, 5, true, true, {23276, 0}, 23276},
      // The level is kept inside the scale.
      {{1000}, -10, true, true, {0}, 0},
      {{65000}, 10, true, true, {65535}, 65535},
      {{100}, 101, false, true, {65535}, 65535},
      // Set 0 %.
      {{30000, 15000}, 0, false, true, {0, 0}, 0},
  };
  for (const auto& c : cases) {
    const TChannelStep s = StepChannelLevels(c.current, c.step, c.relative);
    EXPECT_EQ(s.Write, c.write) << c.current[0] << " step " << c.step;
    EXPECT_EQ(s.Values, c.values) << c.current[0] << " step " << c.step;
    EXPECT_EQ(s.NewVolume, c.newVolume) << c.current[0] << " step " << c.step;
  }
}

TEST(MixerLevels, ALineWithoutChannelsIsLeftAlone) {
  const TChannelStep s = StepChannelLevels({}, 5, true);
  EXPECT_FALSE(s.Write);
  EXPECT_EQ(s.NewVolume, MixerNone);
}

TEST(MixerLevels, EndpointStepsLandOnTheNextWholePerCent) {
  // 0.4999 + 2: at least 0.51 + 0.001, never short of the step.
  const double up = StepEndpointLevel(0.4999, 2, true);
  EXPECT_GE(up, 0.511);
  EXPECT_LT(up, 0.5225);
  const double down = StepEndpointLevel(0.5, -2, true);
  EXPECT_GE(down, 0.481);
  EXPECT_LT(down, 0.4825);
  // Below 0.003 is silence; the ends of the scale hold.
  EXPECT_EQ(StepEndpointLevel(0.021, -2, true), 0.0);
  EXPECT_EQ(StepEndpointLevel(0.01, -5, true), 0.0);
  EXPECT_EQ(StepEndpointLevel(0.99, 5, true), 1.0);
  // A set goes where it is told, whatever the level was.
  EXPECT_DOUBLE_EQ(StepEndpointLevel(0.9, 50, false), 0.5);
  EXPECT_EQ(StepEndpointLevel(0.9, 0, false), 0.0);
  EXPECT_EQ(StepEndpointLevel(0.1, 100, false), 1.0);
}

TEST(MixerLevels, EndpointLevelsOnTheMixerScale) {
  EXPECT_EQ(EndpointLevelToVolume(0.0), 0);
  EXPECT_EQ(EndpointLevelToVolume(1.0), 65535);
  EXPECT_EQ(EndpointLevelToVolume(0.5), 32768);  // 32767.5, half to even
  EXPECT_EQ(EndpointLevelToVolume(1.5), 65535);
}

TEST(MixerLevels, PerCentForTheDisplays) {
  const struct {
    int volume;
    int percent;
  } cases[] = {{0, 0}, {65535, 100}, {32767, 50}, {31310, 48}, {655, 1}, {327, 0}, {-1, 0}, {70000, 100}};
  for (const auto& c : cases) EXPECT_EQ(VolumePercent(c.volume), c.percent) << c.volume;
}

TEST(MixerLevels, SourceItemOfASelectionList) {
  const std::vector<std::uint32_t> mono = {7, 8, 9};
  EXPECT_EQ(FindSelectionItem(mono, 1, 8), 1u);
  EXPECT_EQ(FindSelectionItem(mono, 1, 5), std::nullopt);
  // Two channels: the items are searched from index 1 in steps of 2.
  const std::vector<std::uint32_t> stereo = {8, 7, 8, 9};
  EXPECT_EQ(FindSelectionItem(stereo, 2, 7), 1u);
  EXPECT_EQ(FindSelectionItem(stereo, 2, 8), std::nullopt);
  EXPECT_EQ(FindSelectionItem(stereo, 2, 9), 3u);
  EXPECT_EQ(FindSelectionItem({}, 2, 9), std::nullopt);
  EXPECT_EQ(FindSelectionItem(mono, 0, 9), 2u);
}

}  // namespace
