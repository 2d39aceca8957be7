// What the shell controls need of the shell namespace: the shell allocator, ID lists
// (absolute and relative), special folders, display names, icons of the system image
// list, shortcuts, and a few helpers around them. GUI thread only; COM is the
// program's (TOleInitialization, vcl/ComObj.h).
//
// Ownership: every ID list a routine here hands out is a TIdList, allocated with the
// shell allocator and freed through it. Raw `const ITEMIDLIST*` arguments are only read.
// Names are UTF-16 throughout; ANSI text only where the shell gives it (STRRET).
#pragma once
#include "vcl/Win.h"

#include <shlobj.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "vcl/ComObj.h"

namespace Vy {

// The number IdListToCsidl gives for a list that is no special folder.
constexpr int kNoSpecialFolder = 50;

struct TIdListFree {
  void operator()(ITEMIDLIST* list) const;
};
using TIdList = std::unique_ptr<ITEMIDLIST, TIdListFree>;

bool IsWinNT();
// The file version (dwFileVersionMS high, dwFileVersionLS low); false when unreadable.
bool ReadFileVersion(const std::wstring& fileName, std::uint64_t& version);
// The version of comctl32.dll, read once; 0 when unreadable.
std::uint64_t ComCtlVersion();
constexpr std::uint64_t MakeFileVersion(unsigned major, unsigned minor) {
  return std::uint64_t(major) << 48 | std::uint64_t(minor) << 32;
}

IMalloc* ShellMalloc();
void* ShellMemAlloc(std::size_t size);
// Null is ignored.
void ShellMemFree(void* p);

std::size_t IdListSize(const ITEMIDLIST* list);
// The low 16 bits of a result, signed: the order CompareIDs gives.
int HResultCodeOf(HRESULT result);
// 0 when both are null or both empty, -1 when just one is; else the desktop's order,
// or kCannotCompare. Not antisymmetric: use it to tell equal lists apart only.
constexpr int kCannotCompare = 2147483647;
int CompareIdLists(const ITEMIDLIST* a, const ITEMIDLIST* b);
// Null lists count as empty. Null only when the allocation fails.
TIdList ConcatIdLists(const ITEMIDLIST* first, const ITEMIDLIST* second);
TIdList CopyIdList(const ITEMIDLIST* list);
// A list of the given bytes (a whole list with its terminator); null when the
// allocation fails.
TIdList IdListFromBytes(const std::vector<std::uint8_t>& bytes);

// The desktop for null or the empty list.
HRESULT GetShellFolder(const ITEMIDLIST* absolute, TComPtr<IShellFolder>& folder);
// The desktop's parse of the path; E_INVALIDARG for paths longer than MAX_PATH
// characters (a cut path could name another folder).
HRESULT PathToIdList(const std::wstring& path, TIdList& list);
// Empty when the item has no file-system path; null is the desktop.
std::wstring IdListToPath(const ITEMIDLIST* list);
std::wstring SpecialFolderPath(HWND owner, int csidl);
HRESULT GetSpecialFolderIdList(HWND owner, int csidl, TIdList& list);
// The system image list index of the item; 0 on failure.
int GetIdListIconIndex(const ITEMIDLIST* list, UINT extraFlags);
// The first special folder 0..49 at that location, kNoSpecialFolder when none.
int IdListToCsidl(const ITEMIDLIST* list);

// Display-name kinds.
enum class TDisplayNameKind { Normal, InFolder, ForParsing, ForEditing };
// Empty on failure; a null folder is the desktop.
std::wstring DisplayNameOf(IShellFolder* folder, const ITEMIDLIST* relative, TDisplayNameKind kind);
// The last item's name in its parent folder.
std::wstring IdListDisplayName(const ITEMIDLIST* absolute);
// Converts and, for STRRET_WSTR, frees the shell's string.
std::wstring StrRetToString(const ITEMIDLIST* relative, STRRET& value);
void FreeStrRet(STRRET& value);

enum class TSystemImageSize { Small, Large };
HIMAGELIST GetSystemImageListHandle(TSystemImageSize size);
// Overlay images 1 and 2 of the system lists from shell32's icons 29 and 30; once.
void LoadShellOverlayIcons();

// An empty text stays empty; else `c` is added unless the text ends with it.
std::wstring AppendCharIfMissing(const std::wstring& text, wchar_t c);

// A shortcut's contents.
enum class TShortcutResolve { NoUI, WithUI };
struct TShortcutInfo {
  TShortcutResolve Resolve = TShortcutResolve::NoUI;
  std::wstring Path;
  WIN32_FIND_DATAW FindData{};
  std::wstring Arguments;
  std::wstring Description;
  std::wstring IconLocation;
  int IconIndex = 0;
  std::wstring WorkingDirectory;
  int ShowCommand = 0;
  WORD HotKey = 0;
  TIdList IdList;  // only when asked for
};
HRESULT ReadShortcut(const std::wstring& linkFile, TShortcutInfo& info, bool wantIdList);

// Makes the shell forget what it cached of the drives, unless suspended.
void ValidateDrives();
class TValidateDrivesSuspension {
 public:
  TValidateDrivesSuspension();
  ~TValidateDrivesSuspension();
  TValidateDrivesSuspension(const TValidateDrivesSuspension&) = delete;
  TValidateDrivesSuspension& operator=(const TValidateDrivesSuspension&) = delete;
};

// FormatMessage over a format with %1.. inserts; inserts the format names beyond the
// given strings read as empty. Raises for 50 or more strings; empty on failure.
std::wstring FormatStrPos(const std::wstring& format, const std::vector<std::wstring>& strings);

}  // namespace Vy
