#include "core/settings/SettingsReporter.h"

std::wstring NumberedErrorText(int number) {
  return L"Error #" + std::to_wstring(number) + L": Can not save setting.";
}
