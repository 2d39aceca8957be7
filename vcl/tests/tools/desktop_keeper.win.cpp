// Holds the test session's desktop open while the tests run. Wine closes a desktop
// about a second after the last program using it has ended; a test program that
// starts in that moment (after a test that ran alone, on a busy machine) finds no
// desktop: every window it makes fails ("Error creating window of ..."), and it then
// hangs in its exit. scripts/wine-test.sh starts this before the tests; it ends with
// the run's wineserver. It shows nothing and never takes the focus.
#include "vcl/Win.h"

int main() {
  // A window of its own (message-only, never shown) keeps this process a user of the
  // desktop for as long as it runs.
  HWND keeper = CreateWindowExW(0, L"STATIC", L"Qorn desktop keeper", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  if (!keeper) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
