// Presses and releases keys from a process of its own, as a keyboard would:
//   keyroad_sendkeys VK [VK...]   (decimal virtual-key codes)
// Exit code 0 when every key was sent.
#include <cstdlib>


#include "vcl/Win.h"

namespace {

bool isExtended(WORD vk) {
  return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
         (vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2);
}

bool send(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (isExtended(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return SendInput(1, &input, sizeof input) == 1;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const WORD vk = static_cast<WORD>(std::strtoul(argv[i], nullptr, 10));
    if (!send(vk, false) || !send(vk, true)) return 1;
    Sleep(50);
  }
  return 0;
}
