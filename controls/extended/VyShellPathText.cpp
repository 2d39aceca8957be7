#include "controls/extended/VyShellPathText.h"

namespace Vy {

namespace {
const std::wstring kDropped = L"...\\";
}

void DropFirstFolder(std::wstring& path) {
  if (path == L"\\") {
    path.clear();
    return;
  }
  const bool rooted = !path.empty() && path.front() == L'\\';
  if (rooted) path.erase(0, 1);
  // Only the marker of earlier steps goes here: a folder may begin with a dot too.
  if (path.compare(0, kDropped.size(), kDropped) == 0) path.erase(0, kDropped.size());
  const std::size_t slash = path.find(L'\\');
  path = slash == std::wstring::npos ? std::wstring() : kDropped + path.substr(slash + 1);
  if (rooted) path.insert(0, 1, L'\\');
}

std::wstring ShortenPathToFit(const std::wstring& fileName, const TTextWidthOf& widthOf, int maxWidth) {
  const std::size_t slash = fileName.find_last_of(L"\\:");
  std::wstring dir = slash == std::wstring::npos ? std::wstring() : fileName.substr(0, slash + 1);
  const std::wstring name = slash == std::wstring::npos ? fileName : fileName.substr(slash + 1);
  std::wstring drive;
  if (dir.size() >= 2 && dir[1] == L':') {
    drive = dir.substr(0, 2);
    dir.erase(0, 2);
  }
  std::wstring result = fileName;
  while ((!dir.empty() || !drive.empty()) && widthOf(result) > maxWidth) {
    if (dir == L"\\" + kDropped) {
      drive.clear();
      dir = kDropped;
    } else if (dir.empty()) {
      drive.clear();
    } else {
      DropFirstFolder(dir);
    }
    result = drive + dir + name;
  }
  return result;
}

std::wstring NewFolderName(const std::wstring& base, const std::wstring& numbered, int n) {
  if (n <= 1) return base;
  std::wstring suffix = numbered;
  const std::size_t at = suffix.find(L"%d");
  if (at != std::wstring::npos) suffix.replace(at, 2, std::to_wstring(n));
  return base + suffix;
}

}  // namespace Vy
