#include "controls/extended/VyShellUtils.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "controls/extended/VyShellIdList.h"
#include "vcl/Exceptions.h"
#include "vcl/ScopeGuards.h"
#include "vcl/WinVersion.h"

namespace Vy {

namespace {

int validateSuspendCount = 0;

std::wstring AnsiToWide(const char* text, std::size_t maxBytes) {
  const std::size_t length = strnlen(text, maxBytes);
  if (length == 0) return {};
  const int units = MultiByteToWideChar(CP_ACP, 0, text, int(length), nullptr, 0);
  std::wstring out(std::size_t(std::max(units, 0)), L'\0');
  if (units > 0) MultiByteToWideChar(CP_ACP, 0, text, int(length), out.data(), units);
  return out;
}

}  // namespace

void TIdListFree::operator()(ITEMIDLIST* list) const { ShellMemFree(list); }

bool IsWinNT() { return Win32Platform() == Win32PlatformNT; }

bool ReadFileVersion(const std::wstring& fileName, std::uint64_t& version) {
  version = 0;
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(fileName.c_str(), &handle);
  if (size == 0) return false;
  std::vector<std::uint8_t> data(size);
  if (!GetFileVersionInfoW(fileName.c_str(), 0, size, data.data())) return false;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO))
    return false;
  version = std::uint64_t(info->dwFileVersionMS) << 32 | info->dwFileVersionLS;
  return true;
}

std::uint64_t ComCtlVersion() {
  static const std::uint64_t version = [] {
    std::uint64_t v = 0;
    ReadFileVersion(L"comctl32.dll", v);
    return v;
  }();
  return version;
}

IMalloc* ShellMalloc() {
  // The task allocator lives as long as the process; the one reference is kept.
  static IMalloc* const malloc = [] {
    IMalloc* m = nullptr;
    return SUCCEEDED(SHGetMalloc(&m)) ? m : nullptr;
  }();
  return malloc;
}

void* ShellMemAlloc(std::size_t size) {
  IMalloc* m = ShellMalloc();
  return m ? m->Alloc(size) : CoTaskMemAlloc(size);
}

void ShellMemFree(void* p) {
  if (!p) return;
  if (IMalloc* m = ShellMalloc()) m->Free(p);
  else CoTaskMemFree(p);
}

TIdList IdListFromBytes(const std::vector<std::uint8_t>& bytes) {
  TIdList list(static_cast<ITEMIDLIST*>(ShellMemAlloc(bytes.size())));
  if (list) std::memcpy(list.get(), bytes.data(), bytes.size());
  return list;
}

std::size_t IdListSize(const ITEMIDLIST* list) { return Vy::IdListSize(static_cast<const void*>(list)); }

int HResultCodeOf(HRESULT result) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(result & 0xFFFF)); }

int CompareIdLists(const ITEMIDLIST* a, const ITEMIDLIST* b) {
  const bool emptyA = !a || IdListSize(a) <= 2, emptyB = !b || IdListSize(b) <= 2;
  if (!a && !b) return 0;
  if (!a || !b) return -1;
  if (emptyA && emptyB) return 0;
  if (emptyA || emptyB) return -1;
  TComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) return kCannotCompare;
  const HRESULT result = desktop->CompareIDs(0, a, b);
  if (FAILED(result)) return kCannotCompare;
  return HResultCodeOf(result);
}

TIdList ConcatIdLists(const ITEMIDLIST* first, const ITEMIDLIST* second) {
  return IdListFromBytes(JoinIdListBytes(first, INT32_MAX, second));
}

TIdList CopyIdList(const ITEMIDLIST* list) { return IdListFromBytes(JoinIdListBytes(list, INT32_MAX, nullptr)); }

HRESULT GetShellFolder(const ITEMIDLIST* absolute, TComPtr<IShellFolder>& folder) {
  folder.Reset();
  TComPtr<IShellFolder> desktop;
  const HRESULT result = SHGetDesktopFolder(desktop.Put());
  if (FAILED(result)) return result;
  if (!absolute || IdListSize(absolute) <= 2) {
    folder = desktop;
    return S_OK;
  }
  return desktop->BindToObject(absolute, nullptr, IID_IShellFolder, folder.PutVoid());
}

HRESULT PathToIdList(const std::wstring& path, TIdList& list) {
  list.reset();
  if (path.size() > MAX_PATH) return E_INVALIDARG;
  TComPtr<IShellFolder> desktop;
  HRESULT result = SHGetDesktopFolder(desktop.Put());
  if (FAILED(result)) return result;
  std::wstring name = path;  // ParseDisplayName takes a writable string
  ITEMIDLIST* parsed = nullptr;
  result = desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &parsed, nullptr);
  TIdList owned(parsed);
  if (SUCCEEDED(result)) list = std::move(owned);
  return result;
}

std::wstring IdListToPath(const ITEMIDLIST* list) {
  static const std::uint8_t desktop[2] = {0, 0};
  wchar_t path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(list ? list : reinterpret_cast<const ITEMIDLIST*>(desktop), path)) return {};
  return path;
}

HRESULT GetSpecialFolderIdList(HWND owner, int csidl, TIdList& list) {
  list.reset();
  ITEMIDLIST* found = nullptr;
  const HRESULT result = SHGetSpecialFolderLocation(owner, csidl & 0x7F, &found);
  TIdList owned(found);
  if (SUCCEEDED(result)) list = std::move(owned);
  return result;
}

std::wstring SpecialFolderPath(HWND owner, int csidl) {
  TIdList list;
  if (FAILED(GetSpecialFolderIdList(owner, csidl, list))) return {};
  return IdListToPath(list.get());
}

int GetIdListIconIndex(const ITEMIDLIST* list, UINT extraFlags) {
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(reinterpret_cast<const wchar_t*>(list), 0, &info, sizeof(info),
                      SHGFI_PIDL | SHGFI_SYSICONINDEX | extraFlags))
    return 0;
  return info.iIcon;
}

int IdListToCsidl(const ITEMIDLIST* list) {
  for (int csidl = 0; csidl < kNoSpecialFolder; ++csidl) {
    TIdList location;
    // A folder this system does not have is no match, even for a null list.
    if (FAILED(GetSpecialFolderIdList(nullptr, csidl, location)) || !location) continue;
    if (CompareIdLists(list, location.get()) == 0) return csidl;
  }
  return kNoSpecialFolder;
}

std::wstring StrRetToString(const ITEMIDLIST* relative, STRRET& value) {
  switch (value.uType) {
    case STRRET_WSTR: {
      std::wstring out = value.pOleStr ? value.pOleStr : L"";
      FreeStrRet(value);
      return out;
    }
    case STRRET_OFFSET: {
      // The text lies inside the item itself: never read past it.
      const std::size_t itemBytes = IdListSize(relative);
      if (value.uOffset >= itemBytes) return {};
      return AnsiToWide(reinterpret_cast<const char*>(relative) + value.uOffset, itemBytes - value.uOffset);
    }
    case STRRET_CSTR: return AnsiToWide(value.cStr, sizeof(value.cStr));
    default: return {};
  }
}

void FreeStrRet(STRRET& value) {
  if (value.uType == STRRET_WSTR && value.pOleStr) {
    CoTaskMemFree(value.pOleStr);
    value.pOleStr = nullptr;
  }
}

std::wstring DisplayNameOf(IShellFolder* folder, const ITEMIDLIST* relative, TDisplayNameKind kind) {
  static const DWORD flags[] = {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING, SHGDN_INFOLDER | SHGDN_FOREDITING};
  TComPtr<IShellFolder> desktop;
  if (!folder) {
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) return {};
    folder = desktop.Get();
  }
  STRRET value{};
  if (FAILED(folder->GetDisplayNameOf(relative, flags[int(kind)], &value))) return {};
  return StrRetToString(relative, value);
}

std::wstring IdListDisplayName(const ITEMIDLIST* absolute) {
  const int count = IdListItemCount(absolute);
  if (count < 2) {
    TComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.Put())) || !desktop) return {};
    static const std::uint8_t empty[2] = {0, 0};
    return DisplayNameOf(desktop.Get(), absolute ? absolute : reinterpret_cast<const ITEMIDLIST*>(empty),
                         TDisplayNameKind::InFolder);
  }
  const TIdList parent = IdListFromBytes(JoinIdListBytes(absolute, count - 1, nullptr));
  TComPtr<IShellFolder> folder;
  if (!parent || FAILED(GetShellFolder(parent.get(), folder)) || !folder) return {};
  return DisplayNameOf(folder.Get(), reinterpret_cast<const ITEMIDLIST*>(IdListItemAt(absolute, count - 1)),
                       TDisplayNameKind::InFolder);
}

// IImageList, whose id the import libraries lack.
constexpr IID kImageListInterface = {0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};

void LoadShellOverlayIcons() {
  static bool loaded = false;
  if (loaded) return;
  loaded = true;
  HMODULE shell = LoadLibraryW(L"shell32.dll");
  if (!shell) return;
  const TOnExit freed([shell] { FreeLibrary(shell); });
  // The shell numbers an icon by where it went in one of its lists: every list of
  // its own takes the overlays, or the icons it adds later land out of step.
  std::vector<HIMAGELIST> lists;
  for (int which : {SHIL_LARGE, SHIL_SMALL, SHIL_EXTRALARGE, SHIL_SYSSMALL, SHIL_JUMBO}) {
    void* list = nullptr;
    if (FAILED(SHGetImageList(which, kImageListInterface, &list)) || !list) continue;
    // The list is the shell's: the reference taken here is not the caller's to keep.
    reinterpret_cast<IUnknown*>(list)->Release();
    if (std::find(lists.begin(), lists.end(), HIMAGELIST(list)) == lists.end()) lists.push_back(HIMAGELIST(list));
  }
  for (int overlay = 1; overlay <= 2; ++overlay) {
    std::vector<HICON> icons;
    for (HIMAGELIST list : lists) {
      int width = 0, height = 0;
      ImageList_GetIconSize(list, &width, &height);
      icons.push_back(static_cast<HICON>(
          LoadImageW(shell, MAKEINTRESOURCEW(28 + overlay), IMAGE_ICON, width, height, LR_DEFAULTCOLOR)));
    }
    const TOnExit destroyed([&icons] {
      for (HICON icon : icons)
        if (icon) DestroyIcon(icon);
    });
    // One list without it would put the lists out of step: all or none.
    if (std::find(icons.begin(), icons.end(), nullptr) != icons.end()) continue;
    for (std::size_t i = 0; i < lists.size(); ++i) {
      const int index = ImageList_ReplaceIcon(lists[i], -1, icons[i]);
      if (index >= 0) ImageList_SetOverlayImage(lists[i], index, overlay);
    }
  }
}

HIMAGELIST GetSystemImageListHandle(TSystemImageSize size) {
  if (IsWinNT() && ComCtlVersion() >= MakeFileVersion(4, 71)) LoadShellOverlayIcons();
  SHFILEINFOW info{};
  return reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info),
                     SHGFI_SYSICONINDEX | (size == TSystemImageSize::Small ? SHGFI_SMALLICON : SHGFI_LARGEICON)));
}

std::wstring AppendCharIfMissing(const std::wstring& text, wchar_t c) {
  if (text.empty() || text.back() == c) return text;
  return text + c;
}

HRESULT ReadShortcut(const std::wstring& linkFile, TShortcutInfo& info, bool wantIdList) {
  TComPtr<IShellLinkW> link;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid());
  if (FAILED(result)) return result;
  TComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  if (!file) return E_NOINTERFACE;
  if (FAILED(result = file->Load(linkFile.c_str(), STGM_READ))) return result;
  const DWORD resolve = info.Resolve == TShortcutResolve::NoUI ? (SLR_NO_UI | SLR_NOSEARCH | SLR_NOUPDATE) : 0;
  if (FAILED(result = link->Resolve(nullptr, resolve))) return result;
  wchar_t text[INFOTIPSIZE + 1] = {};
  if (FAILED(result = link->GetPath(text, MAX_PATH, &info.FindData, 0))) return result;
  info.Path = text;
  text[0] = 0;
  if (FAILED(result = link->GetArguments(text, INFOTIPSIZE))) return result;
  info.Arguments = text;
  text[0] = 0;
  if (FAILED(result = link->GetDescription(text, INFOTIPSIZE))) return result;
  info.Description = text;
  text[0] = 0;
  if (FAILED(result = link->GetIconLocation(text, MAX_PATH, &info.IconIndex))) return result;
  info.IconLocation = text;
  text[0] = 0;
  if (FAILED(result = link->GetWorkingDirectory(text, MAX_PATH))) return result;
  info.WorkingDirectory = text;
  if (FAILED(result = link->GetShowCmd(&info.ShowCommand))) return result;
  if (FAILED(result = link->GetHotkey(&info.HotKey))) return result;
  info.IdList.reset();
  if (wantIdList) {
    ITEMIDLIST* target = nullptr;
    result = link->GetIDList(&target);
    info.IdList.reset(target);
  }
  return result;
}

void ValidateDrives() {
  if (validateSuspendCount != 0) return;
  TIdList drives;
  if (FAILED(GetSpecialFolderIdList(nullptr, CSIDL_DRIVES, drives))) return;
  TComPtr<IShellFolder> folder;
  if (FAILED(GetShellFolder(drives.get(), folder)) || !folder) return;
  SFGAOF attributes = SFGAO_VALIDATE;
  folder->GetAttributesOf(0, nullptr, &attributes);
}

TValidateDrivesSuspension::TValidateDrivesSuspension() { ++validateSuspendCount; }
TValidateDrivesSuspension::~TValidateDrivesSuspension() { --validateSuspendCount; }

std::wstring FormatStrPos(const std::wstring& format, const std::vector<std::wstring>& strings) {
  if (format.empty()) return {};
  if (strings.size() >= 50) throw Exception(L"FormatStrPos: Too many substitution strings");
  // FormatMessage takes %1 to %99: every insert the format may name has an entry.
  std::vector<DWORD_PTR> args(99, reinterpret_cast<DWORD_PTR>(L""));
  for (std::size_t i = 0; i < strings.size(); ++i) args[i] = reinterpret_cast<DWORD_PTR>(strings[i].c_str());
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER, format.c_str(), 0, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, reinterpret_cast<va_list*>(args.data()));
  if (!buffer) return {};
  std::wstring out(buffer, length);
  LocalFree(buffer);
  return out;
}

}  // namespace Vy
