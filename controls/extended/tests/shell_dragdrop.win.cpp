// The shell's drag-and-drop objects: the data object of files in a private folder
// under C:\ (its formats, blocks decoded, copies), the format list's enumerator, the
// drop source's answers, and the effects the dragged items allow, also for a foreign
// ID-list array that lies about its contents.
#include <gtest/gtest.h>

#include "controls/extended/tests/ShellTestTree.h"
#include "controls/extended/VyShellDragDrop.h"
#include "controls/extended/VyShellFormats.h"
#include "vcl/ScopeGuards.h"

#include <cstring>
#include <string>
#include <vector>

using namespace Vy;
using Vy::testing::TShellTestTree;

namespace {

using TBytes = std::vector<std::uint8_t>;

FORMATETC Format(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT) {
  return FORMATETC{format, nullptr, aspect, -1, tymed};
}

TBytes BlockOf(IDataObject* data, CLIPFORMAT format) {
  FORMATETC f = Format(format);
  STGMEDIUM medium{};
  if (data->GetData(&f, &medium) != S_OK) return {};
  const TOnExit released([&] { ReleaseStgMedium(&medium); });
  const auto* p = static_cast<const std::uint8_t*>(GlobalLock(medium.hGlobal));
  TBytes bytes(p, p + GlobalSize(medium.hGlobal));
  GlobalUnlock(medium.hGlobal);
  return bytes;
}

std::vector<CLIPFORMAT> FormatsOf(IDataObject* data) {
  std::vector<CLIPFORMAT> out;
  TComPtr<IEnumFORMATETC> e;
  if (data->EnumFormatEtc(DATADIR_GET, e.Put()) != S_OK) return out;
  FORMATETC f{};
  while (e->Next(1, &f, nullptr) == S_OK) out.push_back(f.cfFormat);
  return out;
}

// The files of a folder as the list would drag them.
struct TDraggedFiles {
  TDraggedFiles(const TShellTestTree& tree, const std::vector<std::wstring>& names) {
    folderList = tree.IdList(L"");
    EXPECT_EQ(GetShellFolder(folderList.get(), folder), S_OK);
    for (const std::wstring& name : names) items.push_back(tree.Child(name));
    std::vector<const ITEMIDLIST*> raw;
    for (const TIdList& item : items) raw.push_back(item.get());
    data = TComPtr<IDataObject>(new TVyShellDataObject(folder.Get(), folderList.get(), raw));
  }
  TIdList folderList;
  TComPtr<IShellFolder> folder;
  std::vector<TIdList> items;
  TComPtr<IDataObject> data;
};

TEST(VyShellDataObject, ThreeFilesAsIdListArrayAndWideNames) {
  TShellTestTree tree("drag");
  const std::vector<std::wstring> names = {L"a.txt", L"b \u00e9.txt", L"c.txt"};
  for (const std::wstring& n : names) tree.File(n);
  TDraggedFiles drag(tree, names);
  EXPECT_EQ(FormatsOf(drag.data.Get()), (std::vector<CLIPFORMAT>{ShellIdListFormat(), CLIPFORMAT(CF_HDROP)}));

  const TBytes cida = BlockOf(drag.data.Get(), ShellIdListFormat());
  TIdListArrayView view;
  ASSERT_TRUE(ParseIdListArray(cida.data(), cida.size(), view));
  EXPECT_EQ(cida[0], 3);
  ASSERT_EQ(view.Items.size(), 3u);
  EXPECT_EQ(CompareIdLists(reinterpret_cast<const ITEMIDLIST*>(view.Parent), drag.folderList.get()), 0);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(TBytes(view.Items[i], view.Items[i] + IdListSize(drag.items[i].get())),
              TBytes(reinterpret_cast<const std::uint8_t*>(drag.items[i].get()),
                     reinterpret_cast<const std::uint8_t*>(drag.items[i].get()) + IdListSize(drag.items[i].get())));

  const TBytes hdrop = BlockOf(drag.data.Get(), CF_HDROP);
  ASSERT_GT(hdrop.size(), 20u);
  DROPFILES header{};
  std::memcpy(&header, hdrop.data(), sizeof(header));
  EXPECT_EQ(header.pFiles, 20u);
  EXPECT_TRUE(header.fWide);
  std::wstring all(reinterpret_cast<const wchar_t*>(hdrop.data() + 20), (hdrop.size() - 20) / 2);
  EXPECT_EQ(all, tree.Path(names[0]) + L'\0' + tree.Path(names[1]) + L'\0' + tree.Path(names[2]) + L'\0' + L'\0');
  // What the shell itself reads from the block.
  STGMEDIUM medium{};
  FORMATETC f = Format(CF_HDROP);
  ASSERT_EQ(drag.data->GetData(&f, &medium), S_OK);
  wchar_t name[MAX_PATH] = {};
  EXPECT_EQ(DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0xFFFFFFFF, nullptr, 0), 3u);
  DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 1, name, MAX_PATH);
  EXPECT_EQ(std::wstring(name), tree.Path(names[1]));
  ReleaseStgMedium(&medium);
  // Each answer is a copy: the object's own block outlives the receiver's.
  EXPECT_EQ(BlockOf(drag.data.Get(), CF_HDROP), hdrop);
}

TEST(VyShellDataObject, QueriesOfFormatMediumAndAspect) {
  TShellTestTree tree("drag-query");
  tree.File(L"a.txt");
  TDraggedFiles drag(tree, {L"a.txt"});
  struct Case {
    FORMATETC format;
    HRESULT expected;
  } cases[] = {
      {Format(CF_HDROP), S_OK},
      {Format(ShellIdListFormat()), S_OK},
      {Format(CF_HDROP, TYMED_ISTREAM), DV_E_TYMED},
      {Format(CF_HDROP, TYMED_ISTREAM | TYMED_HGLOBAL), S_OK},
      {Format(CF_HDROP, TYMED_HGLOBAL, DVASPECT_ICON), DV_E_FORMATETC},
      {Format(CF_TEXT), DV_E_FORMATETC},
  };
  for (Case& c : cases) {
    EXPECT_EQ(drag.data->QueryGetData(&c.format), c.expected) << c.format.cfFormat << " " << c.format.tymed;
    STGMEDIUM medium{};
    const HRESULT got = drag.data->GetData(&c.format, &medium);
    EXPECT_EQ(got, c.expected);
    if (got == S_OK) ReleaseStgMedium(&medium);
  }
  TComPtr<IEnumFORMATETC> none;
  EXPECT_EQ(drag.data->EnumFormatEtc(DATADIR_SET, none.Put()), E_NOTIMPL);
  EXPECT_FALSE(none);
  FORMATETC out{};
  out.ptd = reinterpret_cast<DVTARGETDEVICE*>(1);
  FORMATETC in = Format(CF_HDROP);
  EXPECT_EQ(drag.data->GetCanonicalFormatEtc(&in, &out), E_NOTIMPL);
  EXPECT_EQ(out.ptd, nullptr);
  DWORD connection = 0;
  EXPECT_EQ(drag.data->DAdvise(&in, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
}

TEST(VyShellDataObject, VirtualItemsAreNoFiles) {
  // My Computer, dragged from the desktop: an ID-list array, no file names.
  TIdList drives;
  ASSERT_EQ(GetSpecialFolderIdList(nullptr, CSIDL_DRIVES, drives), S_OK);
  TComPtr<IShellFolder> desktop;
  ASSERT_EQ(GetShellFolder(nullptr, desktop), S_OK);
  TComPtr<IDataObject> data(new TVyShellDataObject(desktop.Get(), nullptr, {drives.get()}));
  EXPECT_EQ(FormatsOf(data.Get()), (std::vector<CLIPFORMAT>{ShellIdListFormat()}));
  FORMATETC f = Format(CF_HDROP);
  EXPECT_EQ(data->QueryGetData(&f), DV_E_FORMATETC);
  TComPtr<IDataObject> nothing(new TVyShellDataObject(desktop.Get(), nullptr, {}));
  EXPECT_TRUE(FormatsOf(nothing.Get()).empty());
}

TEST(VyFormatEtcList, EnumeratorNextSkipCloneAndDevices) {
  TVyFormatEtcList list;
  list.Add(std::vector<CLIPFORMAT>{CF_TEXT, CF_HDROP});
  DVTARGETDEVICE device{};
  device.tdSize = sizeof(device);
  FORMATETC withDevice{CF_BITMAP, &device, DVASPECT_CONTENT, -1, TYMED_GDI};
  list.Add(withDevice);
  EXPECT_NE(list.Items(2).ptd, &device) << "the list keeps its own copy";

  TComPtr<IEnumFORMATETC> e(list.CreateEnumerator(nullptr));
  FORMATETC got[3] = {};
  ULONG fetched = 0;
  EXPECT_EQ(e->Skip(1), S_OK);
  EXPECT_EQ(e->Next(3, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 2u);
  EXPECT_EQ(got[0].cfFormat, CF_HDROP);
  ASSERT_NE(got[1].ptd, nullptr);
  EXPECT_NE(got[1].ptd, list.Items(2).ptd) << "the caller frees what it was given";
  CoTaskMemFree(got[1].ptd);
  EXPECT_EQ(e->Next(1, got, nullptr), S_FALSE);
  EXPECT_EQ(e->Reset(), S_OK);
  EXPECT_EQ(e->Skip(4), S_FALSE);
  EXPECT_EQ(e->Next(1, got, &fetched), S_FALSE);
  EXPECT_EQ(fetched, 0u);
  e->Reset();
  e->Skip(2);
  TComPtr<IEnumFORMATETC> clone;
  ASSERT_EQ(e->Clone(clone.Put()), S_OK);
  EXPECT_EQ(clone->Next(1, got, nullptr), S_OK);
  EXPECT_EQ(got[0].cfFormat, CF_BITMAP);
  CoTaskMemFree(got[0].ptd);
  TComPtr<IUnknown> unknown;
  EXPECT_EQ(e->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
  TComPtr<IDataObject> wrong;
  EXPECT_EQ(e->QueryInterface(IID_IDataObject, wrong.PutVoid()), E_NOINTERFACE);
  EXPECT_EQ(e->AddRef(), 3u);
  EXPECT_EQ(e->Release(), 2u);
}

TEST(VyDropSource, ContinuesCancelsOrDrops) {
  struct Case {
    int button;
    BOOL escape;
    DWORD keys;
    HRESULT expected;
  } cases[] = {
      {0, FALSE, MK_LBUTTON, S_OK},
      {0, FALSE, 0, DRAGDROP_S_DROP},
      {0, TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
      {0, FALSE, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
      {0, FALSE, MK_LBUTTON | MK_SHIFT | MK_CONTROL, S_OK},
      {1, FALSE, MK_RBUTTON, S_OK},
      {1, FALSE, MK_LBUTTON, DRAGDROP_S_CANCEL},
      {1, FALSE, MK_SHIFT, DRAGDROP_S_DROP},
      {2, FALSE, MK_MBUTTON, S_OK},
      {2, FALSE, MK_MBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
  };
  for (const Case& c : cases) {
    TComPtr<IDropSource> source(new TDropSource_shlvtv(c.button));
    EXPECT_EQ(source->QueryContinueDrag(c.escape, c.keys), c.expected) << c.button << " " << c.keys;
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
  }
}

// Another program's data object: it offers whatever block it was given.
class TForeignData : public TVyComObject<IDataObject> {
 public:
  explicit TForeignData(TBytes block) : block_(std::move(block)) {}
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != ShellIdListFormat()) return DV_E_FORMATETC;
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, block_.size());
    std::memcpy(GlobalLock(h), block_.data(), block_.size());
    GlobalUnlock(h);
    *medium = STGMEDIUM{TYMED_HGLOBAL, {}, nullptr};
    medium->hGlobal = h;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  TBytes block_;
};

TEST(VyCommonDropEffects, WhatTheShellAllowsOfEveryItem) {
  TShellTestTree tree("drag-effects");
  tree.File(L"a.txt");
  tree.Folder(L"sub");
  TDraggedFiles files(tree, {L"a.txt", L"sub"});
  const DWORD all = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
  EXPECT_EQ(CommonDropEffects(files.data.Get()), all) << "files may be copied, moved and linked";
  // My Computer can be neither copied nor moved.
  TIdList drives;
  ASSERT_EQ(GetSpecialFolderIdList(nullptr, CSIDL_DRIVES, drives), S_OK);
  TComPtr<IShellFolder> desktop;
  GetShellFolder(nullptr, desktop);
  TComPtr<IDataObject> computer(new TVyShellDataObject(desktop.Get(), nullptr, {drives.get()}));
  EXPECT_EQ(CommonDropEffects(computer.Get()) & (DROPEFFECT_COPY | DROPEFFECT_MOVE), 0u);
  EXPECT_EQ(CommonDropEffects(nullptr), all);
}

TEST(VyCommonDropEffects, ForeignArraysAreCheckedBeforeTheyAreRead) {
  TShellTestTree tree("drag-foreign");
  tree.Folder(L"sub");
  TDraggedFiles files(tree, {L"sub"});
  const TBytes good = BlockOf(files.data.Get(), ShellIdListFormat());
  ASSERT_FALSE(good.empty());
  TComPtr<IDataObject> honest(new TForeignData(good));
  EXPECT_EQ(CommonDropEffects(honest.Get()), DWORD(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK));
  // Each lie would send the shell reading past the block: all effects stay allowed
  // and nothing is read.
  auto with = [&](std::size_t at, std::uint8_t v) {
    TBytes b = good;
    b[at] = v;
    return b;
  };
  const TBytes lies[] = {
      with(0, 0x7F),  with(3, 0x10), with(8, 0xF0), with(9, 0x40), TBytes(good.begin(), good.end() - 2),
      TBytes{1, 0, 0}};
  for (const TBytes& lie : lies) {
    TComPtr<IDataObject> liar(new TForeignData(lie));
    EXPECT_EQ(CommonDropEffects(liar.Get()), DWORD(DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK));
  }
}

}  // namespace
