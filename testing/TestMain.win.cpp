// The entry point of every Windows test program: the process starts as Qorn.exe
// does (OLE on the GUI thread) before any test runs, so a test sees the same
// apartment the program's windows live in.
#include <gtest/gtest.h>

#include "vcl/ComObj.h"

int main(int argc, char** argv) {
  const TOleInitialization ole;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
