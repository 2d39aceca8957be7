#include "controls/extended/VyShellItemData.h"

#include <cwctype>

#include "vcl/DateUtils.h"
#include "vcl/Format.h"
#include "vcl/ScopeGuards.h"

namespace Vy {

namespace {

// Drives without media answer with an error, never with a box.
class TNoCriticalErrorBoxes {
 public:
  TNoCriticalErrorBoxes() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TNoCriticalErrorBoxes() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

TDateTime FileTimeToLocalDateTime(const FILETIME& time) {
  FILETIME local{};
  SYSTEMTIME st{};
  if (!FileTimeToLocalFileTime(&time, &local) || !FileTimeToSystemTime(&local, &st)) return 0;
  return EncodeDate(st.wYear, st.wMonth, st.wDay) + EncodeTime(st.wHour, st.wMinute, st.wSecond, 0);
}

}  // namespace

std::wstring ShellSizeText(std::uint64_t bytes) {
  const std::uint64_t kb = bytes / 1024 + (bytes % 1024 ? 1 : 0);
  return Format(L"%sKB", {Format(L"%.0n", {double(kb)})});
}

TVyShellListData::TVyShellListData(IVyShellListDataOwner* owner, TIdList relIdList)
    : FOwner(owner), FRelIdList(std::move(relIdList)) {}

void TVyShellListData::SetRelIdList(TIdList list) {
  FRelIdList = std::move(list);
  ClearCache();
}

void TVyShellListData::ClearCache() {
  FAbsIdList.reset();
  FDisplayName.clear();
  FDataValid = false;
}

const ITEMIDLIST* TVyShellListData::AbsIdList() {
  if (!FAbsIdList) FAbsIdList = ConcatIdLists(FOwner->FolderIdList(), FRelIdList.get());
  return FAbsIdList.get();
}

SFGAOF TVyShellListData::Attributes() {
  SFGAOF request = kShellItemAttributes;
  const std::wstring path = PathName();
  // Asking a floppy whether it is read-only spins it up: leave that bit out there.
  if (path.size() > 3 && GetDriveTypeW(path.substr(0, 3).c_str()) == DRIVE_REMOVABLE) request &= ~SFGAO_READONLY;
  IShellFolder* folder = FOwner->ShellFolder();
  const ITEMIDLIST* item = FRelIdList.get();
  if (!folder || !item || FAILED(folder->GetAttributesOf(1, &item, &request))) return 0;
  return request;
}

bool TVyShellListData::IsLink() {
  const std::wstring path = PathName();
  if (path.size() < 4) return false;
  return CompareStringOrdinal(path.c_str() + path.size() - 4, 4, L".lnk", 4, TRUE) == CSTR_EQUAL;
}

const std::wstring& TVyShellListData::DisplayName() {
  if (FDisplayName.empty()) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(reinterpret_cast<const wchar_t*>(AbsIdList()), 0, &info, sizeof(info),
                       SHGFI_PIDL | SHGFI_DISPLAYNAME))
      FDisplayName = info.szDisplayName;
  }
  return FDisplayName;
}

void TVyShellListData::FillDetailTexts() {
  FSizeText.clear();
  FModifiedText.clear();
  FTypeText.clear();
  const std::wstring path = PathName();
  if (path.size() > 3) {
    const TNoCriticalErrorBoxes quiet;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(path.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      FindClose(find);
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        FSizeText = ShellSizeText(std::uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow);
        const FILETIME& when = (found.ftLastWriteTime.dwLowDateTime || found.ftLastWriteTime.dwHighDateTime)
                                   ? found.ftLastWriteTime
                                   : found.ftCreationTime;
        const TFormatSettings& fs = FormatSettings();
        FModifiedText =
            FormatDateTime(fs.ShortDateFormat + L" " + fs.ShortTimeFormat, FileTimeToLocalDateTime(when), fs);
      }
    }
  }
  if (!(Attributes() & SFGAO_FILESYSTEM)) {
    FTypeText = L"System Folder";
  } else {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(reinterpret_cast<const wchar_t*>(AbsIdList()), 0, &info, sizeof(info),
                       SHGFI_PIDL | SHGFI_TYPENAME))
      FTypeText = info.szTypeName;
  }
  FDataValid = true;
}

std::wstring TVyShellListData::GetDetail(int column) {
  if (column == 0) return {};
  if (IShellDetails* details = FOwner->ShellDetails()) {
    const TNoCriticalErrorBoxes quiet;
    SHELLDETAILS detail{};
    if (FAILED(details->GetDetailsOf(FRelIdList.get(), UINT(column), &detail))) return {};
    return StrRetToString(FRelIdList.get(), detail.str);
  }
  if (!FDataValid) FillDetailTexts();
  switch (column) {
    case 1: return FSizeText;
    case 2: return FTypeText;
    case 3: return FModifiedText;
    default: return {};
  }
}

TShellFolder2ToShellDetailsAdapter::TShellFolder2ToShellDetailsAdapter(IShellFolder2* folder) {
  folder->AddRef();
  FFolder = TComPtr<IShellFolder2>(folder);
}

HRESULT TShellFolder2ToShellDetailsAdapter::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IShellDetails))) {
    *object = static_cast<IShellDetails*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG TShellFolder2ToShellDetailsAdapter::AddRef() { return ULONG(InterlockedIncrement(&FRefCount)); }

ULONG TShellFolder2ToShellDetailsAdapter::Release() {
  const LONG count = InterlockedDecrement(&FRefCount);
  if (count == 0) delete this;
  return ULONG(count);
}

HRESULT TShellFolder2ToShellDetailsAdapter::GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) {
  SHCOLSTATEF state = 0;
  if (FAILED(FFolder->GetDefaultColumnState(column, &state)) || (state & SHCOLSTATE_ONBYDEFAULT))
    return FFolder->GetDetailsOf(item, column, details);
  return E_INVALIDARG;
}

HRESULT TShellFolder2ToShellDetailsAdapter::ColumnClick(UINT) { return E_NOTIMPL; }

TComPtr<IShellDetails> GetShellDetailsOf(IShellFolder* folder) {
  TComPtr<IShellDetails> details;
  if (!folder) return details;
  TComPtr<IShellFolder2> folder2;
  if (SUCCEEDED(folder->QueryInterface(IID_IShellFolder2, folder2.PutVoid())) && folder2) {
    SHELLDETAILS probe{};
    if (SUCCEEDED(folder2->GetDetailsOf(nullptr, 0, &probe))) {
      FreeStrRet(probe.str);
      return TComPtr<IShellDetails>(new TShellFolder2ToShellDetailsAdapter(folder2.Get()));
    }
    if (SUCCEEDED(folder->QueryInterface(__uuidof(IShellDetails), details.PutVoid())) && details) return details;
  }
  if (FAILED(folder->CreateViewObject(nullptr, __uuidof(IShellDetails), details.PutVoid()))) details.Reset();
  return details;
}

}  // namespace Vy
