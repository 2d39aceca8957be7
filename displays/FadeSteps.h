// How the dimming overlay fades: in steps of 20 ms from see-through to its
// darkness, and back the same way. Plain arithmetic, no windows.
#pragma once
#include <cstdint>

namespace Displays {

class TFadeSteps {
 public:
  static constexpr unsigned StepMs = 20;

  // alphaPercent of full darkness, reached in fadeMs; a fade shorter than one
  // step is no fade.
  TFadeSteps(unsigned alphaPercent, unsigned fadeMs);

  bool Immediate() const { return immediate_; }
  // The alpha added by each step, and how many steps a whole fade takes (one,
  // straight to the darkness, when there is no fade).
  int Step() const { return step_; }
  int Count() const { return count_; }
  // The alpha after k steps (0 = see-through), never beyond 255.
  int AlphaAt(int k) const;
  // The alpha of a fade that is done.
  int Full() const { return AlphaAt(count_); }
  // Whether a fade in is done after k steps (at its last step, or opaque before).
  bool DoneAt(int k) const;

 private:
  bool immediate_;
  int immediateAlpha_;
  int step_;
  int count_;
};

}  // namespace Displays
