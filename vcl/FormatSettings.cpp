#include "vcl/FormatSettings.h"

TFormatSettings InvariantFormatSettings() { return TFormatSettings{}; }

#ifndef _WIN32
const TFormatSettings& FormatSettings() {
  static const TFormatSettings settings = InvariantFormatSettings();
  return settings;
}
#endif
