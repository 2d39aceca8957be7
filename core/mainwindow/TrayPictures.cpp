#include "core/mainwindow/TrayPictures.h"

#include <algorithm>

int TrayPictureIndex(std::string_view name) {
  const auto it = std::find(TrayPictureNames.begin(), TrayPictureNames.end(), name);
  return it == TrayPictureNames.end() ? -1 : static_cast<int>(it - TrayPictureNames.begin());
}

std::string NormalTrayPicture(bool programOn, bool trayShowsLocks, std::string_view lockState) {
  if (!programOn) return std::string(TrayPictureNames[1]);
  if (trayShowsLocks) return "CSN" + std::string(lockState);
  return std::string(TrayPictureNames[0]);
}

TLockIcon LockIconOf(char lock) {
  switch (lock) {
    case 'C': return {L"Caps Lock - ON", 2};
    case 'N': return {L"Num Lock - ON", 4};
    case 'S': return {L"Scroll Lock - ON", 6};
    default: return {};
  }
}
