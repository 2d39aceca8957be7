#include "controls/extended/VyDateLocale.h"

namespace Vy {

TVyDateLocale InvariantDateLocale() { return TVyDateLocale{}; }

#ifndef _WIN32
const TVyDateLocale& SystemDateLocale() {
  static const TVyDateLocale locale = InvariantDateLocale();
  return locale;
}
#endif

}  // namespace Vy
