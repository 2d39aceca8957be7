// Guards undo their step however the scope ends, and never hide the failure that
// ended it.
#include <gtest/gtest.h>

#include "vcl/ScopeGuards.h"

#include <stdexcept>
#include <string>

namespace {

TEST(ScopeGuards, OnExitUndoesOnReturnAndOnThrow) {
  int undone = 0;
  { const TOnExit guard([&] { ++undone; }); }
  EXPECT_EQ(undone, 1);
  EXPECT_THROW(
      {
        const TOnExit guard([&] { ++undone; });
        throw std::runtime_error("step");
      },
      std::runtime_error);
  EXPECT_EQ(undone, 2);
}

TEST(ScopeGuards, OnFailureUndoesOnlyWhenTheScopeThrows) {
  int undone = 0;
  { const TOnFailure guard([&] { ++undone; }); }
  EXPECT_EQ(undone, 0);
  EXPECT_THROW(
      {
        const TOnFailure guard([&] { ++undone; });
        throw std::runtime_error("step");
      },
      std::runtime_error);
  EXPECT_EQ(undone, 1);
}

// The undo fails too: the caller hears of the step's failure, not of the undo's.
TEST(ScopeGuards, TheFirstFailureIsTheOneTheCallerHears) {
  const auto failedStep = [](auto makeGuard) {
    try {
      const auto guard = makeGuard();
      throw std::runtime_error("step");
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
  };
  EXPECT_EQ(failedStep([] { return TOnExit([] { throw std::logic_error("undo"); }); }), "step");
  EXPECT_EQ(failedStep([] { return TOnFailure([] { throw std::logic_error("undo"); }); }), "step");
}

TEST(ScopeGuards, AnUndoThatFailsOnANormalExitReachesTheCaller) {
  EXPECT_THROW({ const TOnExit guard([] { throw std::logic_error("undo"); }); }, std::logic_error);
}

// A guard used by cleanup code that itself runs during unwinding (a destructor)
// judges by its own scope: its undo's failure still reaches that cleanup.
TEST(ScopeGuards, AGuardInCleanupDuringUnwindingKeepsItsOwnFailure) {
  std::string heardInCleanup;
  struct TCleanup {
    std::string& heard;
    ~TCleanup() {
      try {
        const TOnExit guard([] { throw std::logic_error("undo in cleanup"); });
      } catch (const std::logic_error& e) {
        heard = e.what();
      }
    }
  };
  EXPECT_THROW(
      {
        const TCleanup cleanup{heardInCleanup};
        throw std::runtime_error("step");
      },
      std::runtime_error);
  EXPECT_EQ(heardInCleanup, "undo in cleanup");
}

}  // namespace
