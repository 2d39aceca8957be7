#include "displays/FadeSteps.h"

#include <algorithm>

namespace Displays {

namespace {
// num / den to the nearest integer, halves to the even neighbour (40 % over 240 ms
// gives steps of 8, not 9), in integers so no binary fraction tips a half over.
int RoundHalfEven(unsigned num, unsigned den) {
  const unsigned q = num / den;
  const unsigned twiceRest = 2 * (num % den);
  const bool up = twiceRest > den || (twiceRest == den && q % 2 == 1);
  return static_cast<int>(q + (up ? 1 : 0));
}
constexpr int kOpaque = 255;
}  // namespace

TFadeSteps::TFadeSteps(unsigned alphaPercent, unsigned fadeMs)
    : immediate_(fadeMs < StepMs),
      // alphaPercent x 2.55, and per step alphaPercent / fadeMs x 20 x 2.55.
      immediateAlpha_(std::min(RoundHalfEven(alphaPercent * 255, 100), kOpaque)),
      step_(immediate_ ? 0 : RoundHalfEven(alphaPercent * 51, fadeMs)),
      count_(immediate_ ? 1 : RoundHalfEven(fadeMs, StepMs)) {}

int TFadeSteps::AlphaAt(int k) const {
  if (immediate_) return k > 0 ? immediateAlpha_ : 0;
  // A byte would wrap 260 to 4: a flash to almost see-through.
  return std::clamp(step_ * std::clamp(k, 0, count_), 0, kOpaque);
}

bool TFadeSteps::DoneAt(int k) const { return k >= count_ || AlphaAt(k) >= kOpaque; }

}  // namespace Displays
