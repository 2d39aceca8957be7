// The shell routines over wine's shell32 on a private tree under C:\: paths and ID
// lists both ways, names, special folders, icons, shortcuts, the sorted PIDL list and
// the item splitter, the message formatter, and the device-change relay.
#include <gtest/gtest.h>

#include "vcl/Win.h"

#include <dbt.h>

#include "controls/extended/tests/ShellTestTree.h"
#include "controls/extended/VyShellDeviceChange.h"
#include "controls/extended/VyShellIdList.h"
#include "controls/extended/VyShellPidlList.h"
#include "controls/extended/VyShellUtils.h"
#include "testing/PumpApplication.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"

#include <cstring>
#include <vector>

using namespace Vy;
using Vy::testing::TShellTestTree;

namespace {

using namespace std::chrono_literals;
using TBytes = std::vector<std::uint8_t>;

// A list of hand-made items, allocated as the shell would.
TIdList HandMade(const std::vector<TBytes>& payloads) {
  TBytes bytes;
  for (const TBytes& p : payloads) {
    bytes.push_back(std::uint8_t(p.size() + 2));
    bytes.push_back(0);
    bytes.insert(bytes.end(), p.begin(), p.end());
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return IdListFromBytes(bytes);
}

TBytes BytesOf(const ITEMIDLIST* list) {
  const auto* p = reinterpret_cast<const std::uint8_t*>(list);
  return list ? TBytes(p, p + IdListSize(list)) : TBytes{};
}

TEST(VyShellUtils, PathsAndIdListsBothWays) {
  TShellTestTree tree("shell-utils");
  tree.File(L"a\\b\\note.txt");
  const TIdList note = tree.IdList(L"a\\b\\note.txt");
  ASSERT_TRUE(note);
  EXPECT_EQ(IdListToPath(note.get()), tree.Path(L"a\\b\\note.txt"));
  EXPECT_EQ(IdListDisplayName(tree.IdList(L"a\\b").get()), L"b");
  EXPECT_EQ(IdListToPath(nullptr), SpecialFolderPath(nullptr, CSIDL_DESKTOP)) << "null is the desktop";

  // The parent and the last item joined again make the same item.
  TVyIdListArray parts(note.get());
  const TIdList parent = CopyIdList(parts.ParentList(1));
  const TIdList last = CopyIdList(parts.Item(parts.Count() - 1));
  const TIdList joined = ConcatIdLists(parent.get(), last.get());
  EXPECT_EQ(CompareIdLists(joined.get(), note.get()), 0);
  EXPECT_EQ(IdListToPath(parent.get()), tree.Path(L"a\\b"));

  TComPtr<IShellFolder> folder;
  ASSERT_EQ(GetShellFolder(parent.get(), folder), S_OK);
  EXPECT_EQ(DisplayNameOf(folder.Get(), last.get(), TDisplayNameKind::ForParsing), tree.Path(L"a\\b\\note.txt"));
  EXPECT_EQ(DisplayNameOf(folder.Get(), last.get(), TDisplayNameKind::ForEditing), L"note.txt");

  TIdList missing;
  EXPECT_TRUE(FAILED(PathToIdList(tree.Path(L"no such folder"), missing)));
  EXPECT_FALSE(missing);
  // A longer path is refused rather than cut into one that may exist.
  const std::wstring longPath = tree.Path(L"a\\") + std::wstring(MAX_PATH, L'x');
  EXPECT_EQ(PathToIdList(longPath, missing), E_INVALIDARG);
}

TEST(VyShellUtils, CompareTellsEqualListsApart) {
  TShellTestTree tree("shell-compare");
  tree.Folder(L"one");
  tree.Folder(L"two");
  const TIdList one = tree.IdList(L"one"), two = tree.IdList(L"two"), again = tree.IdList(L"one");
  const TIdList empty = HandMade({});
  EXPECT_EQ(CompareIdLists(nullptr, nullptr), 0);
  EXPECT_EQ(CompareIdLists(empty.get(), empty.get()), 0);
  EXPECT_EQ(CompareIdLists(nullptr, empty.get()), -1);
  EXPECT_EQ(CompareIdLists(empty.get(), one.get()), -1);
  EXPECT_EQ(CompareIdLists(one.get(), again.get()), 0);
  EXPECT_NE(CompareIdLists(one.get(), two.get()), 0);
  EXPECT_EQ(IdListSize(empty.get()), 2u);
  EXPECT_EQ(BytesOf(ConcatIdLists(empty.get(), one.get()).get()), BytesOf(one.get()));
  EXPECT_EQ(HResultCodeOf(MAKE_HRESULT(0, 0, 0xFFFF)), -1);
}

TEST(VyShellUtils, SpecialFoldersAndIcons) {
  TShellTestTree tree("shell-special");
  TIdList drives;
  ASSERT_EQ(GetSpecialFolderIdList(nullptr, CSIDL_DRIVES, drives), S_OK);
  EXPECT_EQ(IdListToCsidl(drives.get()), CSIDL_DRIVES);
  EXPECT_EQ(IdListToCsidl(HandMade({}).get()), CSIDL_DESKTOP);
  EXPECT_EQ(IdListToCsidl(tree.IdList(L"").get()), kNoSpecialFolder);
  EXPECT_EQ(IdListToPath(drives.get()), L"") << "My Computer has no path";
  // The flag bits above the number are masked off.
  TIdList created;
  ASSERT_EQ(GetSpecialFolderIdList(nullptr, CSIDL_DRIVES | CSIDL_FLAG_CREATE, created), S_OK);
  EXPECT_EQ(CompareIdLists(created.get(), drives.get()), 0);

  HIMAGELIST small = GetSystemImageListHandle(TSystemImageSize::Small);
  HIMAGELIST large = GetSystemImageListHandle(TSystemImageSize::Large);
  ASSERT_NE(small, nullptr);
  ASSERT_NE(large, nullptr);
  int cx = 0, cy = 0;
  ImageList_GetIconSize(small, &cx, &cy);
  EXPECT_EQ(cx, GetSystemMetrics(SM_CXSMICON));
  const int folderIcon = GetIdListIconIndex(tree.IdList(L"").get(), SHGFI_SMALLICON);
  EXPECT_GE(folderIcon, 0);
  EXPECT_LT(folderIcon, ImageList_GetImageCount(small));
  EXPECT_GT(ComCtlVersion(), MakeFileVersion(4, 71));
}

TEST(VyShellUtils, ShortcutReadBack) {
  TShellTestTree tree("shell-link");
  const std::wstring target = tree.File(L"target.txt");
  const std::wstring linkFile = tree.Path(L"target.lnk");
  {
    TComPtr<IShellLinkW> link;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()), S_OK);
    link->SetPath(target.c_str());
    link->SetArguments(L"/x \u00e9");
    link->SetDescription(L"Sample");
    link->SetWorkingDirectory(tree.Root().c_str());
    link->SetHotkey(MAKEWORD('K', HOTKEYF_CONTROL));
    ASSERT_EQ(link.As<IPersistFile>(IID_IPersistFile)->Save(linkFile.c_str(), TRUE), S_OK);
  }
  TShortcutInfo info;
  ASSERT_EQ(ReadShortcut(linkFile, info, true), S_OK);
  EXPECT_EQ(info.Path, target);
  EXPECT_EQ(info.Arguments, L"/x \u00e9");
  EXPECT_EQ(info.Description, L"Sample");
  EXPECT_EQ(info.WorkingDirectory, tree.Root());
  EXPECT_EQ(info.ShowCommand, SW_SHOWNORMAL);
  EXPECT_EQ(info.HotKey, MAKEWORD('K', HOTKEYF_CONTROL));
  EXPECT_EQ(IdListToPath(info.IdList.get()), target);
  TShortcutInfo none;
  EXPECT_TRUE(FAILED(ReadShortcut(tree.Path(L"missing.lnk"), none, false)));
}

TEST(VyShellUtils, StrRetInEachForm) {
  const TIdList item = HandMade({{'a', 'b', 'c', 0}});
  STRRET offset{};
  offset.uType = STRRET_OFFSET;
  offset.uOffset = 3;
  EXPECT_EQ(StrRetToString(item.get(), offset), L"bc");
  offset.uOffset = 40;  // past the item: nothing is read
  EXPECT_EQ(StrRetToString(item.get(), offset), L"");
  EXPECT_EQ(StrRetToString(nullptr, offset), L"");
  STRRET inline_{};
  inline_.uType = STRRET_CSTR;
  std::memcpy(inline_.cStr, "name", 5);
  EXPECT_EQ(StrRetToString(nullptr, inline_), L"name");
  STRRET wide{};
  wide.uType = STRRET_WSTR;
  wide.pOleStr = static_cast<wchar_t*>(CoTaskMemAlloc(8 * sizeof(wchar_t)));
  wcscpy(wide.pOleStr, L"\u00e9t\u00e9");
  EXPECT_EQ(StrRetToString(nullptr, wide), L"\u00e9t\u00e9");
  EXPECT_EQ(wide.pOleStr, nullptr) << "freed once read";
}

TEST(VyShellUtils, FormatStrPosFillsWhatTheFormatNames) {
  EXPECT_EQ(FormatStrPos(L"%2 before %1", {L"a", L"b"}), L"b before a");
  // Inserts past the strings given read as empty, never past the array.
  EXPECT_EQ(FormatStrPos(L"[%1|%7|%99]", {L"a"}), L"[a||]");
  EXPECT_EQ(FormatStrPos(L"", {L"a"}), L"");
  EXPECT_EQ(AppendCharIfMissing(L"C:", L'\\'), L"C:\\");
  EXPECT_EQ(AppendCharIfMissing(L"C:\\", L'\\'), L"C:\\");
  EXPECT_EQ(AppendCharIfMissing(L"", L'\\'), L"");
  try {
    FormatStrPos(L"%1", std::vector<std::wstring>(50, L"x"));
    ADD_FAILURE() << "50 strings accepted";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), L"FormatStrPos: Too many substitution strings");
  }
}

TEST(VyPidlList, SortedByBytesUnderEachDuplicatesRule) {
  const TIdList a = HandMade({{1}}), b = HandMade({{2}}), b2 = HandMade({{2}}), c = HandMade({{1, 0}});
  TVyPidlList list;
  list.SetSorted(true);
  EXPECT_EQ(list.Add(b.get()), 0);
  EXPECT_EQ(list.Add(a.get()), 0);
  EXPECT_EQ(list.Add(c.get()), 2) << "the item's count byte decides first";
  try {
    list.Add(b2.get());
    ADD_FAILURE() << "duplicate accepted";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"TVyPidlList: Duplicate PIDL");
  }
  EXPECT_EQ(list.Count(), 3);
  list.Duplicates = dupIgnore;
  EXPECT_EQ(list.Add(b2.get()), 1);
  EXPECT_EQ(list.Count(), 3);
  list.Duplicates = dupAccept;
  EXPECT_EQ(list.Add(b2.get()), 1) << "in front of the equal one";
  EXPECT_EQ(list.Data(1), nullptr);
  EXPECT_EQ(list.IdList(1), b2.get());
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.IndexOf(c.get()), 3);
  list.Delete(0);
  EXPECT_EQ(list.IndexOf(a.get()), -1);
}

TEST(VyPidlList, OrderOfTheShellFolderAndFreeingThroughMalloc) {
  TShellTestTree tree("shell-pidllist");
  for (const wchar_t* name : {L"b", L"c", L"a"}) tree.Folder(name);
  TComPtr<IShellFolder> folder;
  ASSERT_EQ(GetShellFolder(tree.IdList(L"").get(), folder), S_OK);
  TComPtr<IEnumIDList> children;
  ASSERT_EQ(folder->EnumObjects(nullptr, SHCONTF_FOLDERS, children.Put()), S_OK);
  TVyPidlList list;
  list.ShellFolder = folder;
  list.Malloc = ShellMalloc();  // the list frees what it holds
  list.SetSorted(true);
  ITEMIDLIST* child = nullptr;
  while (children->Next(1, &child, nullptr) == S_OK) list.Add(child);
  ASSERT_EQ(list.Count(), 3);
  std::wstring order;
  for (int i = 0; i < list.Count(); ++i)
    order += DisplayNameOf(folder.Get(), list.IdList(i), TDisplayNameKind::InFolder);
  EXPECT_EQ(order, L"abc");
}

TEST(VyIdListArray, ThreeItemsTakenApart) {
  const TIdList three = HandMade({{1}, {2, 2}, {3, 3, 3}});
  TVyIdListArray parts(three.get());
  EXPECT_EQ(parts.Count(), 3);
  EXPECT_EQ(BytesOf(parts.Item(2)), BytesOf(HandMade({{3, 3, 3}}).get()));
  EXPECT_EQ(BytesOf(parts.ParentList(1)), BytesOf(HandMade({{1}, {2, 2}}).get()));
  EXPECT_EQ(BytesOf(parts.ParentList(3)), BytesOf(HandMade({}).get()));
  EXPECT_EQ(parts.Item(3), nullptr);
  EXPECT_EQ(parts.Item(-1), nullptr);
  EXPECT_EQ(parts.ParentList(4), nullptr);
  const TIdList empty = HandMade({});
  TVyIdListArray desktop(empty.get());
  EXPECT_EQ(desktop.Count(), 0);
  EXPECT_EQ(BytesOf(desktop.Item(0)), BytesOf(empty.get()));
  TVyIdListArray none(nullptr);
  EXPECT_EQ(none.Count(), 0);
  EXPECT_EQ(none.Item(0), nullptr);
}

// ---- The device-change relay.
struct TRecorder : TObject {
  std::vector<std::pair<uintptr_t, TBytes>> seen;
  bool fail = false;
  void Notify(TVyDeviceChangeHandler*, TMessage& m) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(m.LParam);
    seen.emplace_back(m.WParam, p ? TBytes(p, p + reinterpret_cast<const DEV_BROADCAST_HDR*>(p)->dbch_size) : TBytes{});
    if (fail) throw Exception(L"notify failed");
  }
};

TEST(VyDeviceChange, AnsweredAtOnceRelayedLaterWithItsOwnCopy) {
  TRecorder first, second;
  first.fail = true;
  TVyDeviceChangeHandler& handler = DeviceChangeHandler();
  handler.AddNotify(TVyDeviceChangeEvent(&first, &TRecorder::Notify));
  handler.AddNotify(TVyDeviceChangeEvent(&second, &TRecorder::Notify));
  const TOnExit removed([&] {
    handler.RemoveNotify(TVyDeviceChangeEvent(&first, &TRecorder::Notify));
    handler.RemoveNotify(TVyDeviceChangeEvent(&second, &TRecorder::Notify));
  });
  std::vector<std::wstring> reported;
  Application->OnException = [&](TObject*, const std::wstring& message) { reported.push_back(message); };
  const TOnExit restored([] { Application->OnException = nullptr; });

  auto volume = std::make_unique<DEV_BROADCAST_VOLUME>();
  volume->dbcv_size = sizeof(DEV_BROADCAST_VOLUME);
  volume->dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume->dbcv_unitmask = 1 << 3;
  const TBytes sent(reinterpret_cast<std::uint8_t*>(volume.get()),
                    reinterpret_cast<std::uint8_t*>(volume.get()) + sizeof(DEV_BROADCAST_VOLUME));
  SendMessageW(handler.Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(volume.get()));
  EXPECT_TRUE(second.seen.empty()) << "no notify inside the broadcast";
  // The sender's block is gone once the broadcast is answered.
  std::memset(volume.get(), 0xCD, sizeof(DEV_BROADCAST_VOLUME));
  volume.reset();
  SendMessageW(handler.Handle(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  ASSERT_TRUE(PumpUntil([&] { return second.seen.size() == 2; }));
  EXPECT_EQ(second.seen[0].first, uintptr_t(DBT_DEVICEARRIVAL));
  EXPECT_EQ(second.seen[0].second, sent);
  EXPECT_EQ(second.seen[1].first, uintptr_t(DBT_DEVNODES_CHANGED));
  EXPECT_TRUE(second.seen[1].second.empty());
  EXPECT_EQ(first.seen.size(), 2u);
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"notify failed", L"notify failed"}));

  handler.RemoveNotify(TVyDeviceChangeEvent(&first, &TRecorder::Notify));
  handler.Active = false;
  SendMessageW(handler.Handle(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0);
  Application->ProcessMessages();  // the relay is queued: this runs it
  handler.Active = true;
  EXPECT_EQ(second.seen.size(), 2u) << "an inactive handler relays nothing";
  EXPECT_EQ(first.seen.size(), 2u);
}

}  // namespace
