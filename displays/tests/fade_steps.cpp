// The dimming overlay's fade: the step, the number of steps, the cap at opaque.
#include <gtest/gtest.h>

#include "displays/FadeSteps.h"

#include <vector>

using Displays::TFadeSteps;

namespace {

std::vector<int> FadeIn(const TFadeSteps& fade) {
  std::vector<int> alphas;
  for (int k = 0;; ++k) {
    alphas.push_back(fade.AlphaAt(k));
    if (fade.DoneAt(k)) return alphas;
  }
}

struct TFadeCase {
  unsigned percent, fadeMs;
  int step, count, full;
};

class FadeSteps : public ::testing::TestWithParam<TFadeCase> {};

TEST_P(FadeSteps, StepAndCountRoundHalvesToEven) {
  const TFadeCase& c = GetParam();
  const TFadeSteps fade(c.percent, c.fadeMs);
  EXPECT_FALSE(fade.Immediate());
  EXPECT_EQ(fade.Step(), c.step);
  EXPECT_EQ(fade.Count(), c.count);
  EXPECT_EQ(fade.Full(), c.full);
}

INSTANTIATE_TEST_SUITE_P(Cases, FadeSteps,
                         ::testing::Values(TFadeCase{50, 200, 13, 10, 130},   // 12.75
                                           TFadeCase{100, 200, 26, 10, 255},  // 260 capped
                                           TFadeCase{40, 240, 8, 12, 96},     // 8.5: to the even 8
                                           TFadeCase{30, 200, 8, 10, 80},     // 7.65
                                           TFadeCase{50, 30, 85, 2, 170},     // 1.5 steps: to the even 2
                                           TFadeCase{50, 50, 51, 2, 102},     // 2.5 steps: to the even 2
                                           TFadeCase{0, 200, 0, 10, 0}));

TEST(FadeSequence, HalfDarkOver200MsRisesInElevenStepsOf13) {
  EXPECT_EQ(FadeIn(TFadeSteps(50, 200)), (std::vector<int>{0, 13, 26, 39, 52, 65, 78, 91, 104, 117, 130}));
}

TEST(FadeSequence, NeverPastOpaqueAndNeverWrapped) {
  EXPECT_EQ(FadeIn(TFadeSteps(100, 200)), (std::vector<int>{0, 26, 52, 78, 104, 130, 156, 182, 208, 234, 255}));
  // More than full darkness asked for: opaque at the first step past it, then done.
  const TFadeSteps over(200, 200);
  EXPECT_EQ(FadeIn(over), (std::vector<int>{0, 51, 102, 153, 204, 255}));
  for (int k = 0; k <= over.Count() + 1; ++k) {
    EXPECT_GE(over.AlphaAt(k), 0);
    EXPECT_LE(over.AlphaAt(k), 255) << "step " << k;
  }
  // Fading out walks back from the top, capped as well.
  EXPECT_EQ(over.AlphaAt(over.Count()), 255);
}

TEST(FadeSequence, AFadeShorterThanAStepIsImmediate) {
  for (unsigned ms : {0u, 1u, 19u}) {
    const TFadeSteps fade(50, ms);
    EXPECT_TRUE(fade.Immediate()) << ms;
    EXPECT_EQ(FadeIn(fade), (std::vector<int>{0, 128})) << "round(127.5), halves to even: " << ms;
  }
  EXPECT_EQ(TFadeSteps(100, 0).Full(), 255);
  EXPECT_EQ(TFadeSteps(40, 10).Full(), 102);
  EXPECT_FALSE(TFadeSteps(50, 20).Immediate());
}

}  // namespace
