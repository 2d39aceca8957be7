// The texts the shell tree and the folder-selection window show of their own: the
// library's English ones until the program puts its language's in their place.
#pragma once
#include <string>

namespace Vy {

struct TVyShellTexts {
  std::wstring BrowseForFolder = L"Browse for Folder";
  std::wstring Ok = L"OK";
  std::wstring Cancel = L"Cancel";
  std::wstring CreateFolder = L"Create Folder";
  std::wstring Delete = L"Delete";
  std::wstring FontName = L"MS Sans Serif";
  // The new folder's names: the first series, then the short one.
  std::wstring NewFolder = L"New Folder";
  std::wstring NewFolderNumbered = L" (%d)";
  std::wstring ShortNewFolder = L"fldr";
  std::wstring ShortNewFolderNumbered = L"%d";
  // %1 the system's reason, %2 the folder's name.
  std::wstring UnableToCreateFolder = L"Unable to create the folder '%2'\n\n%1";
  // %1 the longest name the folder allows.
  std::wstring NameTooLong = L"The name is too long: at most %1 characters.";
};

// The texts in use; GUI thread only.
TVyShellTexts& ShellTexts();

}  // namespace Vy
