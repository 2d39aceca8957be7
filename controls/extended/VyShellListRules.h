// What the shell list decides without the shell: which file names a set of masks
// lets through, the order of its items, the column widths it keeps between lists,
// and whether a new name still fits the folder's path.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Vy {

// ---- File-name masks ("*" any run of characters, "?" one character, case ignored).

// The masks of a list such as "*.txt; *.doc": trimmed, empty ones dropped.
std::vector<std::wstring> SplitFileMasks(const std::wstring& text);
// Empty, "*" and "*.*" let every file through: no filtering at all.
bool IsEveryFileMask(const std::wstring& mask);
// A mask holding a character no file name can hold matches nothing; the others
// still apply.
bool IsUsableFileMask(const std::wstring& mask);
// As the system matches: "name.*" also takes "name" without an extension.
bool MatchesFileMask(const std::wstring& name, const std::wstring& mask);
bool MatchesAnyFileMask(const std::wstring& name, const std::vector<std::wstring>& masks);

// ---- Order of the items.

enum class TShellColumnKind { Name, Size, Type, Modified, Other };

struct TShellSortKey {
  bool Folder = false;
  std::wstring Name;
  std::uint64_t Size = 0;
  std::wstring Type;
  std::uint64_t Modified = 0;  // FILETIME ticks; 0 unknown
  int Position = 0;            // the place before this sort: equal items keep their order
};

// Case ignored, digit runs by their value ("file2" before "file10").
int CompareFileNames(const std::wstring& a, const std::wstring& b);
// Folders come first in either direction; then the column, reversed when descending;
// `otherOrder` is the shell's order for a column of kind Other. Items the column
// cannot tell apart keep their places.
int CompareShellSortKeys(const TShellSortKey& a, const TShellSortKey& b, TShellColumnKind kind, bool descending,
                         int otherOrder = 0);

// ---- Column widths.

// The explorer's "DirectoryCols" value: the first four 16-bit widths; nothing when
// fewer than 8 bytes were read.
std::optional<std::array<int, 4>> ParseDirectoryCols(const std::vector<std::uint8_t>& data);
// The widths kept for the next list: a 32-bit count, then one 32-bit width each.
std::vector<std::uint8_t> StoreColumnWidths(const std::vector<int>& widths);
// The kept widths laid over `widths`: only as many as both have, and nothing from a
// block shorter than its count says.
std::vector<int> ApplyStoredWidths(const std::vector<std::uint8_t>& stored, std::vector<int> widths);

// A path of a network share (\\server\share): such folders send no change
// notifications, so the list refreshes itself after its own commands there.
bool IsNetworkPath(const std::wstring& path);

// ---- Renaming.

// The longest path the system takes, with its terminating zero.
constexpr std::size_t kMaxPathChars = 260;
constexpr std::size_t kMaxNameChars = 255;
// Whether folder + "\" + name stays within both limits: a longer name is refused,
// never cut to fit (a cut name would be another file's).
bool NameFitsFolder(const std::wstring& folderPath, const std::wstring& name);

}  // namespace Vy
