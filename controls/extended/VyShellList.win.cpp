#include "controls/extended/VyShellList.h"

#include "controls/extended/VyShellDeviceChange.h"
#include "controls/extended/VyShellPidlList.h"
#include "controls/extended/VyShellWatch.h"
#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/Registry.h"
#include "vcl/ScopeGuards.h"
#include "vcl/ShortCuts.h"

#include <dbt.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace Vy {

namespace {

// Posted to itself: fill once the window stands, when still empty.
constexpr UINT WM_FILLWHENEMPTY = WM_USER + 103;
// Posted to itself: a refresh held back during a label edit.
constexpr UINT WM_RUNPOSTPONED = WM_USER + 104;
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
// The shell's rename flags as the explorer passes them.
constexpr SHGDNF kSetNameFlags = 0x20;
// Drag scrolling: edges and pace.
constexpr int kScrollEdgeX = 26, kScrollEdgeY = 20;
constexpr DWORD kScrollPaceMs = 100;

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

class THourglass {
 public:
  THourglass() : previous_(Screen->GetCursor()) { Screen->SetCursor(crHourGlass); }
  ~THourglass() { Screen->SetCursor(previous_); }

 private:
  TCursor previous_;
};

// Drives without media answer with an error, never with a box.
class TQuietErrors {
 public:
  TQuietErrors() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
  ~TQuietErrors() { SetErrorMode(previous_); }

 private:
  UINT previous_;
};

std::wstring UpperCase(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(text.data(), DWORD(text.size()));
  return text;
}

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
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

// --- opening and navigation

void TVyCustomShellList::Navigate(const ITEMIDLIST* absolute) {
  if (HasOption(sloNoNavigation)) return;
  TIdList target = CopyIdList(absolute);  // the list may belong to an item cleared below
  SetSelected(nullptr);
  GetItems()->Clear();
  if (FLinkedTree) {
    FLinkedTree->SetSelectedFolderIdList(target.get());
    return;
  }
  if (CompareIdLists(FFolder->GetIdList(), target.get()) == 0) FillList();
  else FFolder->SetIdList(target.get());
}

void TVyCustomShellList::GoUp(int levels) {
  if (HasOption(sloNoNavigation) || levels <= 0) return;
  if (FLinkedTree) {
    FLinkedTree->GoUp(levels);
    return;
  }
  TVyIdListArray parts(FFolder->GetIdList());
  if (parts.Count() < 1) return;
  const ITEMIDLIST* parent = parts.ParentList(std::min(levels, parts.Count()));
  TIdList copy = CopyIdList(parent);
  Navigate(copy.get());
}

void TVyCustomShellList::RunDefaultCommand(const std::vector<const ITEMIDLIST*>& items) {
  if (items.empty() || !FShellFolder) return;
  TComPtr<IContextMenu> menuObject;
  HMENU menu = nullptr;
  if (FAILED(CreateItemContextMenu(OwnerFormWindow(), FShellFolder.Get(), items, CMF_EXPLORE, kFirstShellCommand,
                                   menuObject, menu)))
    return;
  const TOnExit destroyed([menu] { DestroyMenu(menu); });
  const UINT id = GetMenuDefaultItem(menu, FALSE, 0);
  if (id != UINT(-1) && id >= kFirstShellCommand)
    InvokeMenuCommand(OwnerFormWindow(), menuObject.Get(), id - kFirstShellCommand);
}

void TVyCustomShellList::OpenItem(TListItem* item) {
  if (!item) return;
  if (FLinkedTree) FLinkedTree->PassPendingJobs();
  bool handled = false;
  TVyShellListItem* data = ShellItem(item);
  if (!data) {
    if (OnDefaultAction) OnDefaultAction(this, handled);
    return;
  }
  const THourglass hourglass;
  SFGAOF attributes = SFGAO_FOLDER;
  const ITEMIDLIST* relative = data->RelIdList();
  if (FShellFolder && SUCCEEDED(FShellFolder->GetAttributesOf(1, &relative, &attributes)) &&
      (attributes & SFGAO_FOLDER)) {
    Navigate(data->AbsIdList());
    return;
  }
  if (data->IsLink()) {
    TShortcutInfo link;
    if (SUCCEEDED(ReadShortcut(data->PathName(), link, false)) && !link.Path.empty()) {
      const DWORD target = GetFileAttributesW(link.Path.c_str());
      TIdList targetList;
      if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_DIRECTORY) &&
          SUCCEEDED(PathToIdList(link.Path, targetList))) {
        Navigate(targetList.get());
        return;
      }
    }
  }
  if (OnDefaultAction) OnDefaultAction(this, handled);
  if (!handled) RunDefaultCommand({relative});
}

void TVyCustomShellList::OpenSelection() {
  const std::vector<TListItem*> selected = SelectedShellItems();
  if (selected.size() < 2) {
    OpenItem(selected.empty() ? GetSelected() : selected.front());
    return;
  }
  bool handled = false;
  if (OnDefaultAction) OnDefaultAction(this, handled);
  if (!handled) RunDefaultCommand(SelectedRelLists());
}

std::vector<TListItem*> TVyCustomShellList::SelectedShellItems() const {
  std::vector<TListItem*> out;
  for (TListItem* item = GetNextItem(nullptr, sdAll, {isSelected}); item; item = GetNextItem(item, sdAll, {isSelected}))
    if (ShellItem(item)) out.push_back(item);
  return out;
}

std::vector<const ITEMIDLIST*> TVyCustomShellList::SelectedRelLists() const {
  std::vector<const ITEMIDLIST*> out;
  for (TListItem* item : SelectedShellItems()) out.push_back(ShellItem(item)->RelIdList());
  return out;
}

bool TVyCustomShellList::DoCommandForSelection(const std::wstring& verb) {
  const std::vector<const ITEMIDLIST*> items = SelectedRelLists();
  if (items.empty() || !FShellFolder) return false;
  TComPtr<IContextMenu> menuObject;
  HMENU menu = nullptr;
  if (FAILED(CreateItemContextMenu(OwnerFormWindow(), FShellFolder.Get(), items, CMF_EXPLORE, kFirstShellCommand,
                                   menuObject, menu)))
    return false;
  const TOnExit destroyed([menu] { DestroyMenu(menu); });
  return SUCCEEDED(InvokeMenuCommand(OwnerFormWindow(), menuObject.Get(), verb));
}

bool TVyCustomShellList::PasteIntoFolder(const std::wstring& verb) {
  TVyIdListArray parts(FFolder->GetIdList());
  if (parts.Count() < 1) return false;
  TIdList parentList = CopyIdList(parts.ParentList(1));
  TIdList last = CopyIdList(parts.Item(parts.Count() - 1));
  TComPtr<IShellFolder> parent;
  if (FAILED(GetShellFolder(parentList.get(), parent))) return false;
  TComPtr<IContextMenu> menuObject;
  HMENU menu = nullptr;
  if (FAILED(CreateItemContextMenu(OwnerFormWindow(), parent.Get(), {last.get()}, CMF_EXPLORE, kFirstShellCommand,
                                   menuObject, menu)))
    return false;
  const TOnExit destroyed([menu] { DestroyMenu(menu); });
  return SUCCEEDED(InvokeMenuCommand(OwnerFormWindow(), menuObject.Get(), verb));
}

void TVyCustomShellList::SelectAll() {
  if (!HandleAllocated()) return;
  GetItems()->BeginUpdate();
  const TOnExit update([this] { GetItems()->EndUpdate(); });
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED;
  state.state = LVIS_SELECTED;
  SendMessageW(WindowHandle(), LVM_SETITEMSTATE, WPARAM(-1), reinterpret_cast<LPARAM>(&state));
}

// After copy, cut and delete: a network folder sends no change notifications.
void TVyCustomShellList::AfterSelectionCommand(const std::wstring& verb) {
  if (verb == L"delete" || IsNetworkPath(FolderPath())) RefreshItems();
}

// --- keyboard and mouse

void TVyCustomShellList::KeyDown(WORD& key, TShiftState shift) {
  if (HasOption(sloDefaultKeyHandling) && !IsEditing()) {
    static const TShortCut selectAll = TextToShortCut(L"Ctrl+A"), refresh = TextToShortCut(L"F5"),
                           copy = TextToShortCut(L"Ctrl+C"), cut = TextToShortCut(L"Ctrl+X"),
                           paste = TextToShortCut(L"Ctrl+V"), rename = TextToShortCut(L"F2"),
                           remove = TextToShortCut(L"Del");
    const TShortCut pressed = ShortCut(key, shift);
    TShiftState withoutShift = shift;
    withoutShift.Exclude(ssShift);
    bool matched = true;
    if (pressed == selectAll) {
      SelectAll();
    } else if (pressed == refresh) {
      FillList();
    } else if (pressed == copy || pressed == cut) {
      const std::wstring verb = pressed == copy ? L"copy" : L"cut";
      DoCommandForSelection(verb);
      AfterSelectionCommand(verb);
    } else if (pressed == paste) {
      PasteIntoFolder(L"paste");
      RefreshItems();
    } else if (pressed == rename) {
      RenameItem(GetItemFocused());
    } else if (ShortCut(key, withoutShift) == remove) {
      DoCommandForSelection(L"delete");
      AfterSelectionCommand(L"delete");
    } else {
      matched = false;
    }
    if (matched) key = 0;
  }
  TVyCustomListView::KeyDown(key, shift);
}

void TVyCustomShellList::KeyPress(wchar_t& key) {
  if (HasOption(sloDefaultKeyHandling) && !IsEditing()) {
    if (key == L'\b') {
      key = 0;
      GoUp(1);
      return;
    }
    if (key == L'\r') {
      key = 0;
      OpenSelection();
      return;
    }
  }
  TVyCustomListView::KeyPress(key);
}

void TVyCustomShellList::DblClick() {
  TVyCustomListView::DblClick();
  OpenSelection();
}

bool TVyCustomShellList::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
  if (GetViewStyle() != vsList) return TVyCustomListView::DoMouseWheelDown(shift, mousePos);
  SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEDOWN, 0);
  return true;
}

bool TVyCustomShellList::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
  if (GetViewStyle() != vsList) return TVyCustomListView::DoMouseWheelUp(shift, mousePos);
  SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEUP, 0);
  return true;
}

// --- renaming

void TVyCustomShellList::RenameItem(TListItem* item) {
  if (!item || !HandleAllocated()) return;
  SetFocus();
  SendMessageW(WindowHandle(), LVM_EDITLABELW, WPARAM(item->Index()), 0);
}

bool TVyCustomShellList::CanEdit(TListItem* item) {
  TVyShellListItem* data = ShellItem(item);
  if (!data) return TVyCustomListView::CanEdit(item);
  if (!data->CanRename() || !TVyCustomListView::CanEdit(item)) return false;
  if (HWND edit = reinterpret_cast<HWND>(SendMessageW(WindowHandle(), LVM_GETEDITCONTROL, 0, 0))) {
    const std::wstring name = DisplayNameOf(FShellFolder.Get(), data->RelIdList(), TDisplayNameKind::ForEditing);
    if (!name.empty()) SetWindowTextW(edit, name.c_str());
  }
  return true;
}

void TVyCustomShellList::Edit(const LVITEMW& info) {
  TListItem* item = ItemOfNotify(info.iItem, info.lParam);
  TVyShellListItem* data = ShellItem(item);
  if (!data) {
    TVyCustomListView::Edit(info);
    return;
  }
  // The edit box is still there now: a refresh held back meanwhile runs once it is gone.
  if (FRefreshRequested) PostMessageW(WindowHandle(), WM_RUNPOSTPONED, 0, 0);
  if (!info.pszText) return;
  std::wstring name = Trimmed(info.pszText);
  if (OnEdited) OnEdited(this, item, name);
  // A name the folder cannot hold is refused whole: cut short it would name another file.
  if (!FShellFolder || !NameFitsFolder(FolderPath(), name)) {
    MessageBeep(MB_ICONWARNING);
    return;
  }
  const THourglass hourglass;
  FRenamePending = true;
  ITEMIDLIST* renamed = nullptr;
  const HRESULT result =
      FShellFolder->SetNameOf(OwnerFormWindow(), data->RelIdList(), name.c_str(), kSetNameFlags, &renamed);
  if (FAILED(result)) {
    FRenamePending = false;
    if (renamed) ShellMemFree(renamed);
    return;
  }
  if (renamed) data->SetRelIdList(TIdList(renamed));
  data->ForgetSortKey();
  item->SetCaption(data->DisplayName());
}

// --- context menu

void TVyCustomShellList::DoItemContextMenu(TListItem* item, TPoint point, TPopupMenu*& menu) {
  if (!HasOption(sloContextMenus) || FInMenuOrDrag || !FShellFolder) {
    TVyCustomListView::DoItemContextMenu(item, point, menu);
    return;
  }
  const std::vector<const ITEMIDLIST*> items = SelectedRelLists();
  if (items.empty()) {
    TVyCustomListView::DoItemContextMenu(item, point, menu);
    return;
  }
  menu = nullptr;
  TVyShellListItem* focused = ShellItem(GetItemFocused());
  UINT flags = CMF_EXPLORE;
  if (focused && !focused->PathName().empty() && !GetReadOnly()) flags |= CMF_CANRENAME;
  TComPtr<IContextMenu> menuObject;
  HMENU popup = nullptr;
  if (FAILED(CreateItemContextMenu(WindowHandle(), FShellFolder.Get(), items, flags, kFirstShellCommand, menuObject,
                                   popup)))
    return;
  const TOnExit destroyed([popup] { DestroyMenu(popup); });
  UINT id = 0;
  {
    FInMenuOrDrag = true;
    FMenuObject = menuObject;
    const TOnExit closed([this] {
      FMenuObject.Reset();
      FInMenuOrDrag = false;
    });
    const TPoint screen = ClientToScreen(point);
    id = UINT(TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, screen.X, screen.Y, 0,
                             WindowHandle(), nullptr));
  }
  switch (id == 0 ? TShellMenuChoice::None : ClassifyMenuCommand(menuObject.Get(), id)) {
    case TShellMenuChoice::Rename: RenameItem(GetItemFocused()); break;
    case TShellMenuChoice::ShellCommand:
      InvokeMenuCommand(WindowHandle(), menuObject.Get(), id - kFirstShellCommand);
      if (IsNetworkPath(FolderPath())) FRefreshRequested = true;
      break;
    case TShellMenuChoice::SendTo: {
      const auto& entries = SendToEntries();
      if (id - 1 < entries.size()) {
        TComPtr<IDataObject> data(new TVyShellDataObject(FShellFolder.Get(), FFolderIdList.get(), items));
        SendToDrop(entries[id - 1].Name, data.Get());
      }
      break;
    }
    case TShellMenuChoice::None: break;
  }
  // A change seen while the menu was open is applied now.
  RunPostponedRefresh();
}

// --- OLE drag from the list

IDropSource* TVyCustomShellList::CreateDropSource(int button) { return new TDropSource_shlvtv(button); }

void TVyCustomShellList::BeginOleDrag(int, int button) {
  const std::vector<const ITEMIDLIST*> items = SelectedRelLists();
  if (items.empty() || !FShellFolder) return;
  DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  SFGAOF attributes = SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK;
  std::vector<const ITEMIDLIST*> raw(items);
  if (SUCCEEDED(FShellFolder->GetAttributesOf(UINT(raw.size()), raw.data(), &attributes)))
    allowed = DWORD(attributes & 7);
  TComPtr<IDataObject> data(new TVyShellDataObject(FShellFolder.Get(), FFolderIdList.get(), items));
  TComPtr<IDropSource> source(CreateDropSource(button));
  FInMenuOrDrag = true;
  FDraggedFromHere = true;
  DWORD effect = DROPEFFECT_NONE;
  const HRESULT result = DoDragDrop(data.Get(), source.Get(), allowed, &effect);
  FInMenuOrDrag = false;
  FDraggedFromHere = false;
  const bool requested = std::exchange(FRefreshRequested, false);
  if (result == DRAGDROP_S_DROP || requested) RefreshItems();
}

// --- OLE drop onto the list

TComPtr<IDropTarget> TVyCustomShellList::DropTargetAt(POINTL screenPoint, TListItem*& item) {
  const TPoint client = ScreenToClient(TPoint(screenPoint.x, screenPoint.y));
  item = GetItemAt(client.X, client.Y);
  TComPtr<IDropTarget> target;
  if (!FShellFolder) return target;
  if (TVyShellListItem* data = ShellItem(item)) {
    const ITEMIDLIST* relative = data->RelIdList();
    if (SUCCEEDED(
            FShellFolder->GetUIObjectOf(OwnerFormWindow(), 1, &relative, IID_IDropTarget, nullptr, target.PutVoid())) &&
        target)
      return target;
  }
  item = nullptr;
  if (FAILED(FShellFolder->CreateViewObject(OwnerFormWindow(), IID_IDropTarget, target.PutVoid()))) target.Reset();
  return target;
}

void TVyCustomShellList::SetDropHighlight(TListItem* item) {
  if (item == FDropHighlight || !HandleAllocated()) return;
  auto mark = [this](TListItem* at, bool on) {
    if (!at) return;
    LVITEMW state{};
    state.stateMask = LVIS_DROPHILITED;
    state.state = on ? LVIS_DROPHILITED : 0;
    SendMessageW(WindowHandle(), LVM_SETITEMSTATE, WPARAM(at->Index()), reinterpret_cast<LPARAM>(&state));
  };
  mark(FDropHighlight, false);
  FDropHighlight = item;
  mark(item, true);
  UpdateWindow(WindowHandle());
}

void TVyCustomShellList::DragScroll(TPoint point) {
  const DWORD now = GetTickCount();
  if (now - FLastScrollTick < kScrollPaceMs) return;
  FLastScrollTick = now;
  if (point.X < kScrollEdgeX) SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEUP, 0);
  else if (point.X > GetClientWidth() - kScrollEdgeX) SendMessageW(WindowHandle(), WM_HSCROLL, SB_LINEDOWN, 0);
  if (point.Y < kScrollEdgeY) SendMessageW(WindowHandle(), WM_VSCROLL, SB_LINEUP, 0);
  else if (point.Y > GetClientHeight() - kScrollEdgeY) SendMessageW(WindowHandle(), WM_VSCROLL, SB_LINEDOWN, 0);
}

HRESULT TVyCustomShellList::DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  if (data) data->AddRef();
  FDragData = TComPtr<IDataObject>(data);
  FDragKeyState = keyState;
  return DragOver(keyState, point, effect);
}

HRESULT TVyCustomShellList::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
  if (!effect) return E_INVALIDARG;
  const DWORD offered = *effect;
  const TPoint client = ScreenToClient(TPoint(point.x, point.y));
  TListItem* under = GetItemAt(client.X, client.Y);
  if (under && !ShellItem(under)) {
    *effect = DROPEFFECT_COPY;
  } else if (!under && FDraggedFromHere) {
    // Onto the folder it came from: only the right button's menu makes sense there.
    SetDropHighlight(nullptr);
    *effect = (keyState & MK_RBUTTON) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
  } else {
    TListItem* item = nullptr;
    TComPtr<IDropTarget> target = DropTargetAt(point, item);
    SetDropHighlight(item);
    *effect = DROPEFFECT_NONE;
    if (target && FDragData) {
      DWORD answer = offered;
      if (SUCCEEDED(target->DragEnter(FDragData.Get(), keyState, point, &answer))) {
        answer = offered;
        target->DragOver(keyState, point, &answer);
        // Never more than the drag offers, whatever the target would like.
        *effect = answer & offered;
      }
      target->DragLeave();
    }
  }
  DragScroll(client);
  *effect |= DROPEFFECT_SCROLL;
  return S_OK;
}

HRESULT TVyCustomShellList::DragLeave() {
  FDragData.Reset();
  SetDropHighlight(nullptr);
  return S_OK;
}

HRESULT TVyCustomShellList::Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) {
  const TOnExit done([this] {
    SetDropHighlight(nullptr);
    FDragData.Reset();
  });
  if (!effect || !data) return E_INVALIDARG;
  keyState |= FDragKeyState & (MK_LBUTTON | MK_RBUTTON);
  TListItem* item = nullptr;
  TComPtr<IDropTarget> target = DropTargetAt(point, item);
  DWORD allowed = *effect;
  if (!item && FDraggedFromHere) {
    if (!(FDragKeyState & MK_RBUTTON)) {
      *effect = DROPEFFECT_NONE;
      return S_OK;
    }
    allowed &= ~DWORD(DROPEFFECT_MOVE);
  }
  if (!target) {
    *effect = DROPEFFECT_NONE;
    return S_OK;
  }
  allowed &= CommonDropEffects(data);
  DWORD answer = allowed;
  target->DragEnter(data, keyState, point, &answer);
  answer = allowed;
  target->DragOver(keyState, point, &answer);
  answer = allowed;
  HRESULT result;
  {
    const THourglass hourglass;
    result = target->Drop(data, keyState, point, &answer);
  }
  *effect = answer;
  RefreshItems();
  return result;
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
