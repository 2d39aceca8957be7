// The shell locator: the change rules of a folder reference, its "Pidl" form data
// written and read back through the form reader (damaged data refused), and the item
// data of a shell list over files of a private tree under C:\.
#include <gtest/gtest.h>

#include "controls/extended/tests/ShellTestTree.h"
#include "controls/extended/VyShellFormats.h"
#include "controls/extended/VyShellItemData.h"
#include "controls/extended/VyShellLocator.h"
#include "vcl/Filer.h"

#include <memory>
#include <string>

using namespace Vy;
using Vy::testing::TShellTestTree;

namespace {

struct TChangeCounter : TObject {
  int changes = 0;
  void Changed(TObject*) { ++changes; }
};

// A locator that counts its changes.
struct TCountedLocator {
  TCountedLocator() { locator.OnChange = TNotifyEvent(&counter, &TChangeCounter::Changed); }
  TVyShellLocator locator;
  TChangeCounter counter;
  int Changes() const { return counter.changes; }
};

TEST(VyShellLocator, ChangesOnlyWhenTheFolderChanges) {
  TShellTestTree tree("locator");
  tree.Folder(L"a");
  tree.Folder(L"b");
  TCountedLocator l;
  EXPECT_EQ(l.locator.Kind(), 0);
  EXPECT_EQ(l.locator.GetIdList(), nullptr) << "a new locator is the desktop";
  l.locator.SetIdList(tree.IdList(L"a").get());
  EXPECT_EQ(l.Changes(), 1);
  EXPECT_EQ(l.locator.PathName(), tree.Path(L"a"));
  EXPECT_EQ(l.locator.SpecialFolder(), kNoSpecialFolder);
  l.locator.SetIdList(tree.IdList(L"a").get());
  EXPECT_EQ(l.Changes(), 1) << "the same folder again";
  l.locator.SetIdList(tree.IdList(L"b").get());
  EXPECT_EQ(l.Changes(), 2);
  l.locator.Clear();
  EXPECT_EQ(l.Changes(), 3);
  l.locator.Clear();
  EXPECT_EQ(l.Changes(), 3);

  TCountedLocator special;
  special.locator.SetSpecialFolder(5);
  TCountedLocator other;
  other.locator.SetSpecialFolder(17);
  other.locator.Assign(&special.locator);
  EXPECT_EQ(other.Changes(), 2);
  EXPECT_EQ(other.locator.Kind(), 1);
  EXPECT_EQ(other.locator.SpecialFolder(), 5);
  other.locator.Assign(&special.locator);
  EXPECT_EQ(other.Changes(), 2) << "an equal locator changes nothing";
  EXPECT_TRUE(other.locator.Equals(special.locator));
  TIdList drives;
  ASSERT_EQ(GetSpecialFolderIdList(nullptr, CSIDL_DRIVES, drives), S_OK);
  other.locator.SetSpecialFolder(CSIDL_DRIVES);
  EXPECT_EQ(CompareIdLists(other.locator.GetIdList(), drives.get()), 0) << "looked up on first use";
  other.locator.SetIdList(drives.get());
  EXPECT_EQ(other.Changes(), 4) << "a number turned into a list is a change";

  l.locator.SetIdList(tree.IdList(L"a").get());
  TCountedLocator copy;
  copy.locator.Assign(&l.locator);
  EXPECT_EQ(copy.Changes(), 1);
  EXPECT_TRUE(copy.locator.Equals(l.locator));
  EXPECT_NE(copy.locator.GetIdList(), l.locator.GetIdList()) << "a copy of the list";
  copy.locator.Assign(nullptr);
  EXPECT_EQ(copy.Changes(), 2);
  EXPECT_EQ(copy.locator.GetIdList(), nullptr);
}

// A component with a published locator, as the shell tree keeps its folders.
class TLocatorHolder : public TComponent {
  QORN_CLASS(TLocatorHolder, TComponent)
 public:
  explicit TLocatorHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TVyShellLocator* GetFolder() const { return FFolder.get(); }
  void SetFolder(TVyShellLocator* v) { FFolder->Assign(v); }

 private:
  static void Publish(TPublisher<TLocatorHolder>& p) {
    p.Property(L"Folder", &TLocatorHolder::GetFolder, &TLocatorHolder::SetFolder);
  }
  std::unique_ptr<TVyShellLocator> FFolder = std::make_unique<TVyShellLocator>();
};
QORN_REGISTER_CLASS(TLocatorHolder);

std::string FormWithPidl(const std::string& hex) {
  return "object H: TLocatorHolder\n  Folder.Pidl = {\n    " + hex + "}\nend\n";
}

TEST(VyShellLocator, PidlFormDataRoundTrip) {
  TShellTestTree tree("locator-form");
  tree.Folder(L"kept \u00e9");
  TLocatorHolder empty(nullptr);
  empty.SetName(L"H");
  EXPECT_EQ(WriteComponentToText(&empty).find("Pidl"), std::string::npos) << "the desktop writes nothing";

  TLocatorHolder h(nullptr);
  h.SetName(L"H");
  h.GetFolder()->SetIdList(tree.IdList(L"kept \u00e9").get());
  const std::string text = WriteComponentToText(&h);
  ASSERT_NE(text.find("Folder.Pidl"), std::string::npos) << text;
  TLocatorHolder back(nullptr);
  ReadComponentFromText(&back, text, L"TEST");
  EXPECT_EQ(back.GetFolder()->Kind(), 0);
  EXPECT_EQ(back.GetFolder()->PathName(), tree.Path(L"kept \u00e9"));

  TLocatorHolder special(nullptr);
  special.SetName(L"H");
  special.GetFolder()->SetSpecialFolder(CSIDL_DRIVES);
  const std::string specialText = WriteComponentToText(&special);
  EXPECT_NE(specialText.find("0111"), std::string::npos) << specialText;
  // Size 0: the desktop by number.
  TLocatorHolder desktop(nullptr);
  ReadComponentFromText(&desktop, FormWithPidl("0000000000"), L"TEST");
  EXPECT_EQ(desktop.GetFolder()->Kind(), 1);
  EXPECT_EQ(desktop.GetFolder()->SpecialFolder(), 0);
}

TEST(VyShellLocator, DamagedPidlIsRefusedAndChangesNothing) {
  struct Case {
    const char* what;
    std::string hex;
  } cases[] = {
      {"size beyond the data", "0010000000030001"},
      {"item count past the size", "000500000009000000"},
      {"no terminator", "0004000000030001"},
      {"huge size", "00FFFFFF7F"},
      {"cut", "00"},
  };
  for (const Case& c : cases) {
    TLocatorHolder h(nullptr);
    h.GetFolder()->SetSpecialFolder(CSIDL_DRIVES);
    EXPECT_THROW(ReadComponentFromText(&h, FormWithPidl(c.hex), L"TEST"), Exception) << c.what;
    EXPECT_EQ(h.GetFolder()->Kind(), 1) << c.what;
    EXPECT_EQ(h.GetFolder()->SpecialFolder(), CSIDL_DRIVES) << c.what;
  }
}

// The list side an item needs: the folder shown and its list.
class TFolderOwner : public IVyShellListDataOwner {
 public:
  TFolderOwner(TIdList list, bool withDetails) : list_(std::move(list)) {
    EXPECT_EQ(GetShellFolder(list_.get(), folder_), S_OK);
    if (withDetails) details_ = GetShellDetailsOf(folder_.Get());
  }
  IShellFolder* ShellFolder() override { return folder_.Get(); }
  const ITEMIDLIST* FolderIdList() override { return list_.get(); }
  IShellDetails* ShellDetails() override { return details_.Get(); }

 private:
  TIdList list_;
  TComPtr<IShellFolder> folder_;
  TComPtr<IShellDetails> details_;
};

TEST(VyShellListData, NamesAttributesAndDetailTexts) {
  TShellTestTree tree("listdata");
  tree.File(L"one.txt", "1");
  tree.File(L"empty.txt", "");
  tree.File(L"big.bin", std::string(1025, 'x'));
  tree.File(L"go.lnk", "not really a link");
  tree.Folder(L"sub");
  TFolderOwner owner(tree.IdList(L""), false);
  struct Case {
    const wchar_t* name;
    const wchar_t* size;
    bool folder;
    bool link;
  } cases[] = {
      {L"one.txt", L"1KB", false, false}, {L"empty.txt", L"0KB", false, false}, {L"big.bin", L"2KB", false, false},
      {L"go.lnk", L"1KB", false, true},   {L"sub", L"", true, false},
  };
  for (const Case& c : cases) {
    TVyShellListData item(&owner, tree.Child(c.name));
    EXPECT_EQ(item.PathName(), tree.Path(c.name));
    EXPECT_EQ(item.GetDetail(1), c.size) << c.name;
    EXPECT_EQ(item.IsFolder(), c.folder) << c.name;
    EXPECT_EQ(item.IsLink(), c.link) << c.name;
    EXPECT_TRUE(item.Attributes() & SFGAO_FILESYSTEM) << c.name;
    EXPECT_TRUE(item.CanRename()) << c.name;
    EXPECT_EQ(item.GetDetail(0), L"");
    EXPECT_EQ(item.GetDetail(3).empty(), c.folder) << c.name;
    EXPECT_FALSE(item.GetDetail(2).empty()) << c.name;
    EXPECT_EQ(item.GetDetail(9), L"");
  }
  TVyShellListData item(&owner, tree.Child(L"one.txt"));
  EXPECT_EQ(item.DisplayName().substr(0, 3), L"one");
  // Another relative list: the cache follows it.
  item.SetRelIdList(tree.Child(L"sub"));
  EXPECT_EQ(item.DisplayName(), L"sub");
  EXPECT_EQ(IdListToPath(item.AbsIdList()), tree.Path(L"sub"));
  EXPECT_EQ(ShellSizeText(1024 * 1024 * 3), L"3,072KB");
}

// A folder that answers nothing.
class TRefusingFolder : public IShellFolder {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*, ULONG*) override {
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*, void**) override {
    return E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override { return E_FAIL; }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override {
    return E_FAIL;
  }
};

class TRefusingOwner : public IVyShellListDataOwner {
 public:
  IShellFolder* ShellFolder() override { return &folder_; }
  const ITEMIDLIST* FolderIdList() override { return nullptr; }
  IShellDetails* ShellDetails() override { return nullptr; }

 private:
  TRefusingFolder folder_;
};

TEST(VyShellListData, AnItemTheShellCannotDescribeHasNoAttributes) {
  TRefusingOwner owner;
  const std::uint8_t item[] = {6, 0, 0x99, 0x99, 0x99, 0x99, 0, 0};
  TVyShellListData data(&owner, IdListFromBytes(std::vector<std::uint8_t>(item, item + sizeof(item))));
  EXPECT_EQ(data.Attributes(), 0u);
  EXPECT_FALSE(data.IsFolder());
  EXPECT_FALSE(data.CanRename());
}

TEST(VyShellListData, DetailsThroughTheFolder) {
  TShellTestTree tree("listdata-details");
  tree.File(L"note.txt", "abc");
  TFolderOwner owner(tree.IdList(L""), true);
  ASSERT_NE(owner.ShellDetails(), nullptr);
  TVyShellListData item(&owner, tree.Child(L"note.txt"));
  EXPECT_FALSE(item.GetDetail(1).empty());
  EXPECT_EQ(owner.ShellDetails()->ColumnClick(0), E_NOTIMPL);
}

}  // namespace
