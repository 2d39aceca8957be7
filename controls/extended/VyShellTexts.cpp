#include "controls/extended/VyShellTexts.h"

namespace Vy {

TVyShellTexts& ShellTexts() {
  static TVyShellTexts texts;
  return texts;
}

}  // namespace Vy
