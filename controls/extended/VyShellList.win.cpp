#include "controls/extended/VyShellList.h"

#include "controls/extended/VyShellDeviceChange.h"
#include "controls/extended/VyShellListSupport.h"
#include "controls/extended/VyShellPidlList.h"
#include "controls/extended/VyShellWatch.h"
#include "vcl/Dialogs.h"
#include "vcl/Registry.h"
#include "vcl/ScopeGuards.h"

#include <dbt.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace Vy {

using namespace shell_list;

namespace {

// Posted to itself: fill once the window stands, when still empty.
constexpr UINT WM_FILLWHENEMPTY = WM_USER + 103;
// The explorer asks a window hosting a view for its browser.
constexpr UINT CWM_GETISHELLBROWSER = WM_USER + 7;
// What an item is asked before it is added.
constexpr SFGAOF kAddTestAttributes = 0x720B0000;
constexpr SHCONTF kEnumItems = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS;
// The enumerator's "no more items".
constexpr HRESULT kNoMoreItems = HRESULT(0x80070103);
constexpr DWORD kWatchedChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr unsigned kFocusedRefreshMs = 400;
constexpr unsigned kUnfocusedRefreshMs = 2000;
constexpr int kDefaultAllocBy = 256;

// The storage property set and its ids, for telling what a shell column shows.
constexpr GUID kFmtidStorage = {0xB725F130, 0x47EF, 0x101A, {0xA5, 0xF1, 0x02, 0x60, 0x8C, 0x9E, 0xEB, 0xAC}};
constexpr DWORD kPidStorageType = 4, kPidName = 10, kPidSize = 12, kPidWriteTime = 14;

// The four columns of a folder without details, in the order of TShellColumnKind.
struct TFixedColumn {
  const wchar_t* Caption;
  TAlignment Alignment;
  int Width;
  TShellColumnKind Kind;
};
constexpr std::array<TFixedColumn, 4> kFixedColumns = {{
    {L"Name", taLeftJustify, 200, TShellColumnKind::Name},
    {L"Size", taRightJustify, 60, TShellColumnKind::Size},
    {L"Type", taLeftJustify, 100, TShellColumnKind::Type},
    {L"Modified", taLeftJustify, 120, TShellColumnKind::Modified},
}};

// The widths the last list of a file-system folder had, for the next one built.
struct TKeptWidths {
  std::vector<std::uint8_t> Stored;
  std::vector<std::uint8_t> RegistrySeen;
};
TKeptWidths& KeptWidths() {
  static TKeptWidths kept;
  return kept;
}

std::wstring UpperCase(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(text.data(), DWORD(text.size()));
  return text;
}

std::uint64_t FileTimeValue(const FILETIME& t) { return std::uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime; }

void CopyToBuffer(const std::wstring& text, wchar_t* buffer, int size) {
  if (buffer && size > 0) lstrcpynW(buffer, text.c_str(), size);
}

}  // namespace
// --- item data

const TShellSortKey& TVyShellListItem::SortKey() {
  if (FKeyValid) return FKey;
  const int position = FKey.Position;
  FKey = TShellSortKey{};
  FKey.Position = position;
  FKey.Folder = IsFolder();
  FKey.Name = DisplayName();
  const std::wstring path = PathName();
  if (path.size() > 3) {
    const TQuietErrors quiet;
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW(path.c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      FindClose(find);
      FKey.Size = std::uint64_t(found.nFileSizeHigh) << 32 | found.nFileSizeLow;
      FKey.Modified = FileTimeValue(found.ftLastWriteTime);
    }
  }
  SHFILEINFOW info{};
  if (SHGetFileInfoW(reinterpret_cast<const wchar_t*>(AbsIdList()), 0, &info, sizeof(info),
                     SHGFI_PIDL | SHGFI_TYPENAME))
    FKey.Type = info.szTypeName;
  FKeyValid = true;
  return FKey;
}

// --- construction

TVyCustomShellList::TVyCustomShellList(TComponent* AOwner)
    : TVyCustomListView(AOwner),
      FFolder(std::make_unique<TVyShellLocator>()),
      FChangeTimer(std::make_unique<TTimer>(nullptr)),
      FSmallImages(std::make_unique<TCustomImageList>(nullptr)),
      FLargeImages(std::make_unique<TCustomImageList>(nullptr)) {
  FFolder->OnChange = TNotifyEvent(this, &TVyCustomShellList::FolderChanged);
  FChangeTimer->SetEnabled(false);
  FChangeTimer->OnTimer = TNotifyEvent(this, &TVyCustomShellList::ChangeTimerTick);
  FSmallImages->SetShareImages(true);
  FSmallImages->SetHandle(GetSystemImageListHandle(TSystemImageSize::Small));
  FLargeImages->SetShareImages(true);
  FLargeImages->SetHandle(GetSystemImageListHandle(TSystemImageSize::Large));
  SetSmallImages(FSmallImages.get());
  SetLargeImages(FLargeImages.get());
  SetAllocBy(kDefaultAllocBy);
  GetIconOptions()->SetAutoArrange(true);
  SetFillLastColumn(false);
  SetMultiSelect(true);
  DeviceChangeHandler().AddNotify(TVyDeviceChangeEvent(this, &TVyCustomShellList::DeviceChanged));
}

TVyCustomShellList::~TVyCustomShellList() {
  DeviceChangeHandler().RemoveNotify(TVyDeviceChangeEvent(this, &TVyCustomShellList::DeviceChanged));
  FChangeTimer->SetEnabled(false);
  FWatchThread.reset();
  if (FDropTargetObject && HandleAllocated()) RevokeDragDrop(WindowHandle());
  FDropTargetObject.Reset();
  // The items' data goes while the folder it refers to is still here.
  GetItems()->Clear();
  SetSmallImages(nullptr);
  SetLargeImages(nullptr);
  FFolder->OnChange = nullptr;
}

void TVyCustomShellList::Publish(TPublisher<TVyCustomShellList>&) {}

void TVyShellList::Publish(TPublisher<TVyShellList>& p) {
  using T = TVyShellList;
  PublishWindowFrame(p);
  p.Property(L"Folder", &T::GetFolder, &T::SetFolder);
  p.Property(L"Options", &T::GetOptions, &T::SetOptions).Default(kDefaultShellListOptions);
  p.Property(L"SortColumn", &T::GetShellSortColumn, &T::SetShellSortColumn).Default(1);
  p.Property(L"FileMask", &T::GetFileMask, &T::SetFileMask);
  p.Property(L"OnColumnClick", &T::OnColumnClick);
  p.Property(L"OnEdited", &T::OnEdited);
  p.Property(L"OnGetImageIndex", &T::OnGetImageIndex);
  p.Property(L"OnSelectItem", &T::OnSelectItem);
}

void TVyCustomShellList::SetOptions(unsigned v) {
  v &= 0xFFFF;
  const unsigned changed = FOptions ^ v;
  FOptions = v;
  if (!HandleAllocated()) return;
  if (changed & sloOleDrop) {
    if (v & sloOleDrop) {
      RegisterDropTarget();
    } else if (FDropTargetObject) {
      RevokeDragDrop(WindowHandle());
      FDropTargetObject.Reset();
    }
  }
  if (changed & sloDynamicRefresh) {
    if (v & sloDynamicRefresh) WatchFolder();
    else if (FWatchThread) FWatchThread->RemoveAllWatches();
  }
}

void TVyCustomShellList::SetFileMask(const std::wstring& v) {
  if (FFileMask == v) return;
  FFileMask = v;
  if (HandleAllocated() && GetItems()->Count() > 0) FillList();
}

// --- window life

void TVyCustomShellList::Loaded() {
  TVyCustomListView::Loaded();
  if (HasOption(sloAutoFill) && HandleAllocated()) PostMessageW(WindowHandle(), WM_FILLWHENEMPTY, 0, 0);
}

void TVyCustomShellList::CreateWnd() {
  TVyCustomListView::CreateWnd();
  LoadShellOverlayIcons();
  if (HasOption(sloOleDrop)) RegisterDropTarget();
  if (HasOption(sloAutoFill) && GetItems()->Count() == 0 && !Loading())
    PostMessageW(WindowHandle(), WM_FILLWHENEMPTY, 0, 0);
}

void TVyCustomShellList::RegisterDropTarget() {
  if (FDropTargetObject) return;
  FDropTargetObject = TComPtr<IDropTarget>(new TVyShellDropTarget(this));
  // Without OLE on this thread the list simply takes no drops.
  if (FAILED(RegisterDragDrop(WindowHandle(), FDropTargetObject.Get()))) FDropTargetObject.Reset();
}

void TVyCustomShellList::DestroyWnd() {
  FDestroyingWnd = true;
  const TOnExit done([this] { FDestroyingWnd = false; });
  TVyCustomListView::DestroyWnd();
}

HWND TVyCustomShellList::OwnerFormWindow() {
  TCustomForm* form = GetParentForm(this);
  return form && form->HandleAllocated() ? form->WindowHandle() : nullptr;
}

// --- the folder

void TVyCustomShellList::FolderChanged(TObject*) {
  if (FUpdateCount > 0) return;
  {
    ++FUpdateCount;
    const TOnExit done([this] { --FUpdateCount; });
    if (FLinkedTree) FLinkedTree->GotoIdList(FFolder->GetIdList());
  }
  if (HandleAllocated()) FillList();
  if (OnFolderChanged) OnFolderChanged(this);
}

void TVyCustomShellList::ShowTreeFolder(const ITEMIDLIST* absolute) {
  if (Loading()) return;
  FFolder->SetIdList(absolute);
}

bool TVyCustomShellList::Busy() const { return FInMenuOrDrag || IsEditing(); }

void TVyCustomShellList::FillList() {
  if (!HandleAllocated()) return;
  if (Busy()) {
    FRefreshRequested = true;
    return;
  }
  const THourglass hourglass;
  SetSelected(nullptr);
  GetItems()->Clear();
  TComPtr<IShellFolder> folder;
  const HRESULT bound = GetShellFolder(FFolder->GetIdList(), folder);
  if (FAILED(bound)) throw EOleSysError(SysErrorMessage(std::uint32_t(bound)), bound);
  BuildFileMatches();
  {
    const TOnExit freed([this] { FreeFileMatches(); });
    FillItems(folder.Get(), FFolder->GetIdList());
  }
  SortItems();
  if (GetItems()->Count() > 0) GetItems()->Item(0)->SetFocused(true);
  if (GetViewStyle() == vsReport || GetViewStyle() == vsSmallIcon) {
    SendMessageW(WindowHandle(), WM_VSCROLL, SB_TOP, 0);
    SendMessageW(WindowHandle(), WM_HSCROLL, SB_TOP, 0);
  }
  WatchFolder();
}

SHCONTF TVyCustomShellList::EnumFlags() const {
  return kEnumItems | (HasOption(sloShowHidden) ? SHCONTF_INCLUDEHIDDEN : 0);
}

bool TVyCustomShellList::EnumerateFolder(IShellFolder* folder, std::vector<TIdList>& items) {
  TComPtr<IEnumIDList> enumerator;
  const HRESULT opened = folder->EnumObjects(OwnerFormWindow(), EnumFlags(), enumerator.Put());
  if (FAILED(opened)) return false;
  if (!enumerator) return true;
  items.reserve(500);
  for (;;) {
    ITEMIDLIST* item = nullptr;
    ULONG fetched = 0;
    const HRESULT next = enumerator->Next(1, &item, &fetched);
    if (next == S_OK && fetched == 1 && item) {
      if (items.size() == items.capacity()) items.reserve(items.size() + 500);
      items.emplace_back(item);
      continue;
    }
    if (item) ShellMemFree(item);
    if (next == S_OK || next == S_FALSE || next == kNoMoreItems) return true;
    if (next == E_FAIL) return false;
    throw EOleSysError(SysErrorMessage(std::uint32_t(next)), next);
  }
}

void TVyCustomShellList::FillItems(IShellFolder* folder, const ITEMIDLIST* absolute) {
  if (OnFillStart) OnFillStart(this);
  const TOnExit complete([this] {
    if (OnFillComplete) OnFillComplete(this);
  });
  const TQuietErrors quiet;
  TIdList previous = std::move(FFolderIdList);
  TComPtr<IShellFolder> previousFolder = std::move(FShellFolder);
  FFolderIdList = CopyIdList(absolute);
  folder->AddRef();
  FShellFolder = TComPtr<IShellFolder>(folder);
  try {
    FDetails = GetShellDetailsOf(folder);
    BuildColumns();
    std::vector<TIdList> found;
    if (!EnumerateFolder(folder, found)) return;
    SetAllocBy(std::max<int>(int(found.size()), 1));
    const TOnExit allocBy([this] { SetAllocBy(kDefaultAllocBy); });
    GetItems()->BeginUpdate();
    const TOnExit update([this] { GetItems()->EndUpdate(); });
    for (TIdList& item : found) AddItem(folder, std::move(item));
  } catch (...) {
    FFolderIdList = std::move(previous);
    FShellFolder = std::move(previousFolder);
    throw;
  }
}

bool TVyCustomShellList::PassesAddTest(IShellFolder* folder, const ITEMIDLIST* relative) {
  SFGAOF attributes = kAddTestAttributes;
  if (FAILED(folder->GetAttributesOf(1, &relative, &attributes))) attributes = 0;
  if (!HasOption(sloVirtualFolders) && !(attributes & (SFGAO_FILESYSTEM | SFGAO_FILESYSANCESTOR))) return false;
  if (HasOption(sloTreeShowsFolders) && FLinkedTree && (attributes & SFGAO_FOLDER) && (attributes & SFGAO_FILESYSTEM))
    return false;
  return DoAddItem(folder, FFolderIdList.get(), unsigned(attributes), relative);
}

bool TVyCustomShellList::DoAddItem(IShellFolder* folder, const ITEMIDLIST* folderList, unsigned attributes,
                                   const ITEMIDLIST* relative) {
  if (FMatchingFiles && !(attributes & SFGAO_FOLDER)) {
    std::wstring name = DisplayNameOf(folder, relative, TDisplayNameKind::ForParsing);
    const auto slash = name.find_last_of(L'\\');
    if (slash != std::wstring::npos) name.erase(0, slash + 1);
    if (!MatchesFile(name, attributes)) return false;
  }
  bool allow = true;
  if (OnAddItem) OnAddItem(this, folder, folderList, relative, attributes, allow);
  return allow;
}

namespace {
// The data of the item being added, for InsertItem.
thread_local TVyShellListItem* pendingData = nullptr;
}  // namespace

void TVyCustomShellList::AddItem(IShellFolder* folder, TIdList relative) {
  try {
    if (!PassesAddTest(folder, relative.get())) return;
    auto data = std::make_unique<TVyShellListItem>(this, std::move(relative));
    pendingData = data.get();
    const TOnExit cleared([] { pendingData = nullptr; });
    GetItems()->Add();
    data.release();
  } catch (const EAbort&) {
    throw;
  } catch (const Exception&) {
    // One box: the fill stops quietly after it.
    ShowMessage(L"Exception in AddNewShellItem");
    Abort();
  }
}

void TVyCustomShellList::InsertItem(TListItem* item) {
  TVyShellListItem* data = pendingData;
  pendingData = nullptr;
  if (data) {
    item->SetData(data);
    const SFGAOF attributes = data->Attributes();
    const int overlay = (attributes & SFGAO_SHARE) ? 0 : (attributes & SFGAO_LINK) ? 1 : -1;
    if (overlay >= 0 && HandleAllocated()) {
      LVITEMW state{};
      state.stateMask = LVIS_OVERLAYMASK;
      state.state = INDEXTOOVERLAYMASK(overlay + 1);
      SendMessageW(WindowHandle(), LVM_SETITEMSTATE, WPARAM(item->Index()), reinterpret_cast<LPARAM>(&state));
    }
    if (attributes & SFGAO_GHOSTED) item->SetCut(true);
  }
  TVyCustomListView::InsertItem(item);
}

TVyShellListItem* TVyCustomShellList::ShellItem(TListItem* item) {
  return item ? dynamic_cast<TVyShellListItem*>(static_cast<TObject*>(item->GetData())) : nullptr;
}

void TVyCustomShellList::Delete(TListItem* item) {
  if (item == FDropHighlight) FDropHighlight = nullptr;
  TVyCustomListView::Delete(item);
  if (TVyShellListItem* data = ShellItem(item)) {
    if (OnDeleteItem) OnDeleteItem(this, item, data);
    item->SetData(nullptr);
    delete data;
  }
}

// --- masks

void TVyCustomShellList::BuildFileMatches() {
  FMatchingFiles.reset();
  if (IsEveryFileMask(FFileMask)) return;
  const std::wstring path = FolderPath();
  if (path.empty()) return;
  const std::vector<std::wstring> masks = SplitFileMasks(FFileMask);
  auto matches = std::make_unique<std::vector<std::wstring>>();
  const TQuietErrors quiet;
  WIN32_FIND_DATAW found{};
  HANDLE find = FindFirstFileW(AppendCharIfMissing(path, L'\\').append(L"*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    const TOnExit closed([find] { FindClose(find); });
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && MatchesAnyFileMask(found.cFileName, masks))
        matches->push_back(UpperCase(found.cFileName));
    } while (FindNextFileW(find, &found));
  }
  std::sort(matches->begin(), matches->end());
  matches->erase(std::unique(matches->begin(), matches->end()), matches->end());
  FMatchingFiles = std::move(matches);
}

bool TVyCustomShellList::MatchesFile(const std::wstring& name, unsigned attributes) {
  if (!FMatchingFiles || (attributes & SFGAO_FOLDER)) return true;
  return std::binary_search(FMatchingFiles->begin(), FMatchingFiles->end(), UpperCase(name));
}

void TVyCustomShellList::FreeFileMatches() { FMatchingFiles.reset(); }

// --- columns

void TVyCustomShellList::SaveColumnWidths() {
  if (!FSaveWidths || GetColumns()->Count() == 0) return;
  std::vector<int> widths;
  for (int i = 0; i < GetColumns()->Count(); ++i) {
    const int shown = HandleAllocated() ? int(SendMessageW(WindowHandle(), LVM_GETCOLUMNWIDTH, WPARAM(i), 0)) : 0;
    widths.push_back(shown > 0 ? shown : Column(i)->GetWidth());
  }
  KeptWidths().Stored = StoreColumnWidths(widths);
}

void TVyCustomShellList::BuildColumns() {
  SaveColumnWidths();
  TListColumns* columns = GetColumns();
  columns->BeginUpdate();
  const TOnExit updated([columns] { columns->EndUpdate(); });
  columns->Clear();
  FColumnKinds.clear();
  std::vector<std::wstring> captions;
  std::vector<int> widths;
  std::vector<TAlignment> alignments;
  TKeptWidths& kept = KeptWidths();
  bool useKept = false;
  if (FDetails) {
    TComPtr<IShellFolder2> folder2 = FShellFolder.As<IShellFolder2>(IID_IShellFolder2);
    for (UINT i = 0; i < 64; ++i) {
      SHELLDETAILS detail{};
      if (FAILED(FDetails->GetDetailsOf(nullptr, i, &detail))) break;
      captions.push_back(StrRetToString(nullptr, detail.str));
      TShellColumnKind kind = i == 0 ? TShellColumnKind::Name : TShellColumnKind::Other;
      SHCOLUMNID id{};
      if (folder2 && SUCCEEDED(folder2->MapColumnToSCID(i, &id)) && IsEqualGUID(id.fmtid, kFmtidStorage)) {
        if (id.pid == kPidName) kind = TShellColumnKind::Name;
        if (id.pid == kPidSize) kind = TShellColumnKind::Size;
        if (id.pid == kPidStorageType) kind = TShellColumnKind::Type;
        if (id.pid == kPidWriteTime) kind = TShellColumnKind::Modified;
      }
      FColumnKinds.push_back(kind);
      // The four known columns read as the explorer's do (names, types and dates from
      // the left, sizes from the right, wide enough for a date and time); others as
      // the shell asks.
      const std::size_t known = std::size_t(kind);
      if (known < kFixedColumns.size()) {
        widths.push_back(std::max(int(detail.cxChar) * 7, kFixedColumns[known].Width));
        alignments.push_back(kFixedColumns[known].Alignment);
      } else {
        widths.push_back(int(detail.cxChar) * 7);
        alignments.push_back(detail.fmt == LVCFMT_RIGHT    ? taRightJustify
                             : detail.fmt == LVCFMT_CENTER ? taCenter
                                                           : taLeftJustify);
      }
    }
    FColumnMode = 1;
    FSaveWidths = !FolderPath().empty();
    useKept = FSaveWidths;
  } else {
    for (const TFixedColumn& fixed : kFixedColumns) {
      captions.push_back(fixed.Caption);
      alignments.push_back(fixed.Alignment);
      widths.push_back(fixed.Width);
      FColumnKinds.push_back(fixed.Kind);
    }
    std::vector<std::uint8_t> registry;
    {
      TRegistry reg(KEY_READ);
      reg.SetRootKey(HKEY_CURRENT_USER);
      if (reg.OpenKeyReadOnly(L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer") &&
          reg.ValueExists(L"DirectoryCols")) {
        registry.resize(22);
        const int read = reg.ReadBinaryData(L"DirectoryCols", registry.data(), int(registry.size()));
        registry.resize(std::size_t(std::max(read, 0)));
      }
    }
    if (const auto fromRegistry = ParseDirectoryCols(registry))
      widths.assign(fromRegistry->begin(), fromRegistry->end());
    useKept = registry == kept.RegistrySeen;
    kept.RegistrySeen = registry;
    FColumnMode = 2;
    FSaveWidths = true;
  }
  if (useKept) widths = ApplyStoredWidths(kept.Stored, widths);
  for (std::size_t i = 0; i < captions.size(); ++i) {
    TListColumn* column = columns->Add();
    column->SetCaption(captions[i]);
    column->SetAlignment(alignments[i]);
    // Last: the other setters keep the width the window shows, none yet.
    column->SetWidth(widths[i]);
  }
  if (std::abs(FSortColumnN) > columns->Count()) FSortColumnN = 1;
  const int n = FSortColumnN;
  TVyCustomListView::SetSortColumn(n == 0 ? -1 : std::abs(n) - 1);
  SetSortDescending(n < 0);
}

TShellColumnKind TVyCustomShellList::ColumnKind(int column) const {
  return column >= 0 && column < int(FColumnKinds.size()) ? FColumnKinds[column] : TShellColumnKind::Other;
}

// --- sorting

namespace {
struct TSortContext {
  IShellFolder* Folder;
  int Column;
  TShellColumnKind Kind;
  bool Descending;
};

int CALLBACK CompareListItems(LPARAM a, LPARAM b, LPARAM context) {
  const auto* sort = reinterpret_cast<const TSortContext*>(context);
  TVyShellListItem* first = TVyCustomShellList::ShellItem(reinterpret_cast<TListItem*>(a));
  TVyShellListItem* second = TVyCustomShellList::ShellItem(reinterpret_cast<TListItem*>(b));
  // Items of the program's own come after the shell's.
  if (!first || !second) return first ? -1 : second ? 1 : 0;
  int other = 0;
  if (sort->Kind == TShellColumnKind::Other && sort->Folder)
    other = HResultCodeOf(sort->Folder->CompareIDs(LPARAM(sort->Column), first->RelIdList(), second->RelIdList()));
  return CompareShellSortKeys(first->SortKey(), second->SortKey(), sort->Kind, sort->Descending, other);
}
}  // namespace

void TVyShellListItem::SetSortPosition(int position) { FKey.Position = position; }

void TVyCustomShellList::SortItems() {
  if (FSortColumnN == 0 || GetItems()->Count() < 2) return;
  for (int i = 0; i < GetItems()->Count(); ++i)
    if (TVyShellListItem* data = ShellItem(GetItems()->Item(i))) data->SetSortPosition(i);
  const int column = std::abs(FSortColumnN) - 1;
  TSortContext context{FShellFolder.Get(), column, ColumnKind(column), FSortColumnN < 0};
  CustomSort(&CompareListItems, reinterpret_cast<LPARAM>(&context));
}

void TVyCustomShellList::SetShellSortColumn(int n) {
  const bool changed = n != FSortColumnN;
  FSortColumnN = n;
  TVyCustomListView::SetSortColumn(n == 0 ? -1 : std::abs(n) - 1);
  // The arrow points down for a descending order, as the list view draws it.
  SetSortDescending(n < 0);
  if (changed) SortItems();
}

void TVyCustomShellList::ColClick(TListColumn* column) {
  TVyCustomListView::ColClick(column);
  if (!column) return;
  const int n = column->Index() + 1;
  SetShellSortColumn(std::abs(FSortColumnN) == n ? -FSortColumnN : n);
}

// --- merging changes

void TVyCustomShellList::RefreshItems() {
  if (!HandleAllocated()) return;
  if (Busy()) {
    FRefreshRequested = true;
    return;
  }
  if (GetItems()->Count() == 0 || !FShellFolder) {
    FillList();
    return;
  }
  const THourglass hourglass;
  if (OnFillStart) OnFillStart(this);
  const TOnExit complete([this] {
    if (OnFillComplete) OnFillComplete(this);
  });
  BuildFileMatches();
  const TOnExit freed([this] { FreeFileMatches(); });
  const TQuietErrors quiet;
  std::vector<TIdList> now;
  if (!EnumerateFolder(FShellFolder.Get(), now)) return;

  // A virtual folder's items are told apart by the folder; files by their bytes, which
  // also carry size and time, so a changed file comes back with its new details.
  TVyPidlList current;
  if (FolderPath().empty()) current.ShellFolder = FShellFolder;
  current.Duplicates = dupAccept;
  current.SetSorted(true);
  for (int i = 0; i < GetItems()->Count(); ++i)
    if (TVyShellListItem* data = ShellItem(GetItems()->Item(i)))
      current.AddObject(const_cast<ITEMIDLIST*>(data->RelIdList()), GetItems()->Item(i));
  std::vector<bool> kept(std::size_t(current.Count()), false);
  std::vector<TIdList> added;
  for (TIdList& item : now) {
    int index = -1;
    if (current.Find(item.get(), index)) {
      while (index < current.Count() && kept[std::size_t(index)]) ++index;
      if (index < current.Count() && current.CompareLists(current.IdList(index), item.get()) == 0) {
        kept[std::size_t(index)] = true;
        continue;
      }
    }
    added.push_back(std::move(item));
  }
  std::vector<TListItem*> gone;
  for (int i = 0; i < current.Count(); ++i)
    if (!kept[std::size_t(i)]) gone.push_back(static_cast<TListItem*>(current.Data(i)));
  if (gone.empty() && added.empty()) return;
  GetItems()->BeginUpdate();
  const TOnExit update([this] { GetItems()->EndUpdate(); });
  current.Clear();
  for (TListItem* item : gone) delete item;
  SetAllocBy(std::max<int>(int(added.size()), 1));
  const TOnExit allocBy([this] { SetAllocBy(kDefaultAllocBy); });
  for (TIdList& item : added) AddItem(FShellFolder.Get(), std::move(item));
  SortItems();
}

void TVyCustomShellList::WatchFolder() {
  if (!HasOption(sloDynamicRefresh) || !HandleAllocated()) return;
  if (!FWatchThread) FWatchThread = std::make_unique<TChangeHandlerThread>(WindowHandle(), WM_SHELLCHANGE);
  else FWatchThread->RemoveAllWatches();
  int slot = -1;
  FWatchThread->AddWatch(FolderPath(), kWatchedChanges, slot, false);
}

void TVyCustomShellList::ChangeTimerTick(TObject*) {
  FChangeTimer->SetEnabled(false);
  if (FLinkedTree) FLinkedTree->PassPendingJobs();
  RefreshItems();
}

void TVyCustomShellList::RunPostponedRefresh() {
  if (!FRefreshRequested) return;
  FRefreshRequested = false;
  RefreshItems();
}

void TVyCustomShellList::DeviceChanged(TVyDeviceChangeHandler*, TMessage& message) {
  if (message.WParam != DBT_DEVICEARRIVAL && message.WParam != DBT_DEVICEREMOVECOMPLETE) return;
  ValidateDrives();
  const TValidateDrivesSuspension suspended;
  if (IdListToCsidl(FFolder->GetIdList()) == CSIDL_DRIVES) FillList();
}

// --- messages

void TVyCustomShellList::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
      if (hdr->code == LVN_GETDISPINFOW) {
        auto& info = reinterpret_cast<NMLVDISPINFOW*>(hdr)->item;
        TListItem* item = ItemOfNotify(info.iItem, info.lParam);
        if (TVyShellListItem* data = ShellItem(item)) {
          if (info.mask & LVIF_TEXT) {
            std::wstring text;
            if (info.iSubItem == 0) text = data->DisplayName();
            else if (info.iSubItem - 1 < item->SubItems()->Count()) text = item->SubItems()->Get(info.iSubItem - 1);
            if (info.iSubItem > 0 && text.empty()) text = data->GetDetail(info.iSubItem);
            CopyToBuffer(text, info.pszText, info.cchTextMax);
          }
          if ((info.mask & LVIF_IMAGE) && info.iSubItem == 0) {
            item->SetImageIndex(-1);
            GetImageIndex(item);
            info.iImage = item->GetImageIndex() >= 1 ? item->GetImageIndex()
                                                     : GetIdListIconIndex(data->AbsIdList(), SHGFI_SMALLICON);
            // The control keeps the index: the shell is asked once per item.
            info.mask |= LVIF_DI_SETITEM;
          }
          return;
        }
      } else if ((hdr->code == LVN_BEGINDRAG || hdr->code == LVN_BEGINRDRAG) && HasOption(sloOleDrag)) {
        BeginOleDrag(reinterpret_cast<NMLISTVIEW*>(hdr)->iItem, hdr->code == LVN_BEGINDRAG ? 0 : 1);
        return;
      }
      break;
    }
    case WM_SHELLCHANGE:
      if (FRenamePending || FInMenuOrDrag) {
        FRenamePending = false;
        if (FInMenuOrDrag) FRefreshRequested = true;
        return;
      }
      FChangeTimer->SetInterval(Focused() ? kFocusedRefreshMs : kUnfocusedRefreshMs);
      FChangeTimer->SetEnabled(true);
      return;
    case WM_RUNPOSTPONED: RunPostponedRefresh(); return;
    case WM_FILLWHENEMPTY:
      if (GetItems()->Count() == 0) FillList();
      return;
    case CM_WANTSPECIALKEY:
      if (IsEditing()) {
        m.Result = 1;
        return;
      }
      if (m.WParam == VK_RETURN) {
        TVyShellListItem* data = ShellItem(GetSelected());
        if (data && data->IsFolder()) {
          m.Result = 1;
          return;
        }
      }
      break;
    case CWM_GETISHELLBROWSER: {
      m.Result = 0;
      TComPtr<IUnknown> explorer;
      if (SUCCEEDED(SHGetInstanceExplorer(explorer.Put())) && explorer) {
        TComPtr<IShellBrowser> browser = explorer.As<IShellBrowser>(IID_IShellBrowser);
        // The answer lends the browser: the explorer instance keeps it alive.
        m.Result = reinterpret_cast<LRESULT>(browser.Get());
      }
      return;
    }
    case WM_WINDOWPOSCHANGED:
      if (FDestroyingWnd) return;
      break;
    case WM_DESTROY:
      SaveColumnWidths();
      FChangeTimer->SetEnabled(false);
      FWatchThread.reset();
      if (FDropTargetObject) {
        RevokeDragDrop(WindowHandle());
        FDropTargetObject.Reset();
      }
      break;
    default: break;
  }
  TVyCustomListView::WndProc(m);
  if (!FMenuObject) return;
  switch (m.Msg) {
    case WM_INITMENUPOPUP: HandleInitMenuPopup(FMenuObject.Get(), m); break;
    case WM_DRAWITEM: HandleDrawItem(FMenuObject.Get(), m, FSmallImages->GetHandle()); break;
    case WM_MEASUREITEM: HandleMeasureItem(FMenuObject.Get(), m); break;
    case WM_MENUCHAR: HandleMenuChar(FMenuObject.Get(), m); break;
    case WM_MENUSELECT: HandleMenuSelect(FMenuObject.Get(), m, this, OnPopupHint); break;
    default: break;
  }
}

}  // namespace Vy
