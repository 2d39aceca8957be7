// Texts of the folder-selection window that need no shell: a path shortened to fit a
// width, folder by folder from the left ("C:\...\c\d\name"), and the names a new
// folder is tried under.
#pragma once
#include <functional>
#include <string>

namespace Vy {

// The width a text takes, in the units of the limit.
using TTextWidthOf = std::function<int(const std::wstring&)>;

// The path as it stands when it fits; else its folders are replaced by "...\" from
// the left, then the drive goes, until it fits or only the name is left.
std::wstring ShortenPathToFit(const std::wstring& fileName, const TTextWidthOf& widthOf, int maxWidth);
// One step of that: the first folder of a folder part ("\a\b\" or "...\a\b\") goes,
// "...\" marking where folders were dropped; a last folder leaves "...\" alone.
void DropFirstFolder(std::wstring& path);

// The n-th name (n from 1) of a series of new-folder names: the base alone, then the
// base followed by the numbered format ("%d" the number) from 2 on.
std::wstring NewFolderName(const std::wstring& base, const std::wstring& numbered, int n);

}  // namespace Vy
