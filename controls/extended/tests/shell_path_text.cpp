// The folder-selection window's texts: a path shortened folder by folder from the
// left until it fits (measured here as one unit a character), and the names a new
// folder is tried under.
#include <gtest/gtest.h>

#include "controls/extended/VyShellPathText.h"

#include <string>

using namespace Vy;

namespace {

int Characters(const std::wstring& text) { return int(text.size()); }

TEST(VyShellPathText, ShortenedFromTheLeftUntilItFits) {
  const std::wstring path = L"C:\\aa\\bb\\cc\\dd\\name.txt";
  struct TCase {
    int width;
    std::wstring shown;
  };
  const TCase cases[] = {
      {100, path},
      {int(path.size()), path},
      // The first step makes it longer ("aa" becomes "..."): it goes on.
      {22, L"C:\\...\\cc\\dd\\name.txt"},
      {20, L"C:\\...\\dd\\name.txt"},
      {17, L"C:\\...\\name.txt"},
      {14, L"...\\name.txt"},
      {11, L"name.txt"},
      {3, L"name.txt"},
  };
  for (const TCase& c : cases) EXPECT_EQ(ShortenPathToFit(path, Characters, c.width), c.shown) << c.width;
}

TEST(VyShellPathText, FoldersBeginningWithADotAreFoldersToo) {
  // Only "...\" marks dropped folders: ".a" is a folder like any other.
  std::wstring dir = L"\\.a\\b\\x\\";
  DropFirstFolder(dir);
  EXPECT_EQ(dir, L"\\...\\b\\x\\");
  DropFirstFolder(dir);
  EXPECT_EQ(dir, L"\\...\\x\\");
}

TEST(VyShellPathText, EveryPathEndsShortenedToItsName) {
  const std::wstring paths[] = {
      L"\\\\server\\share\\dir\\name", L"C:\\name", L"C:name", L"\\", L"name", L"C:\\...\\x\\y"};
  for (const std::wstring& path : paths) {
    const std::wstring shown = ShortenPathToFit(path, Characters, 0);
    const std::size_t slash = path.find_last_of(L"\\:");
    EXPECT_EQ(shown, slash == std::wstring::npos ? path : path.substr(slash + 1))
        << std::string(path.begin(), path.end());
  }
}

TEST(VyShellPathText, DropFirstFolderSteps) {
  const std::pair<std::wstring, std::wstring> steps[] = {
      {L"\\", L""},
      {L"\\a\\", L"\\...\\"},
      {L"\\a\\b\\", L"\\...\\b\\"},
      {L"a\\b\\", L"...\\b\\"},
      {L"...\\b\\", L"...\\"},
      {L"...\\", L""},
  };
  for (auto [before, after] : steps) {
    DropFirstFolder(before);
    EXPECT_EQ(before, after);
  }
}

TEST(VyShellPathText, NewFolderNames) {
  EXPECT_EQ(NewFolderName(L"New Folder", L" (%d)", 1), L"New Folder");
  EXPECT_EQ(NewFolderName(L"New Folder", L" (%d)", 2), L"New Folder (2)");
  EXPECT_EQ(NewFolderName(L"fldr", L"%d", 50), L"fldr50");
}

}  // namespace
