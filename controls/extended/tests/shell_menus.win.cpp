// The shell's context menus over files of a private folder under C:\: verbs found
// and run (a confirmation box answered by a hook), a missing verb that runs nothing,
// rename told by its verb, and the library's own Send To submenu with a menu object
// that cannot fill it: filled from the SendTo folder, drawn, and typed into.
#include <gtest/gtest.h>

#include "controls/extended/tests/ShellTestTree.h"
#include "controls/extended/VyShellDragDrop.h"
#include "controls/extended/VyShellMenus.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"
#include "vcl/WindowHost.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace Vy;
using Vy::testing::TShellTestTree;

namespace {

// The menu of items of one folder.
struct TItemMenu {
  TItemMenu(const TShellTestTree& tree, const std::vector<std::wstring>& names) {
    folderList = tree.IdList(L"");
    EXPECT_EQ(GetShellFolder(folderList.get(), folder), S_OK);
    std::vector<const ITEMIDLIST*> raw;
    for (const std::wstring& name : names) {
      items.push_back(tree.Child(name));
      raw.push_back(items.back().get());
    }
    EXPECT_EQ(CreateItemContextMenu(nullptr, folder.Get(), raw, CMF_EXPLORE | CMF_CANRENAME, kFirstShellCommand,
                                    menuObject, menu),
              S_OK);
  }
  ~TItemMenu() {
    if (menu) DestroyMenu(menu);
  }
  TIdList folderList;
  TComPtr<IShellFolder> folder;
  std::vector<TIdList> items;
  TComPtr<IContextMenu> menuObject;
  HMENU menu = nullptr;
};

// Answers every dialog box of this thread with Yes, and keeps its caption.
class TConfirmAnswerer {
 public:
  TConfirmAnswerer() : hook_(SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId())) { answered_.clear(); }
  ~TConfirmAnswerer() { UnhookWindowsHookEx(hook_); }
  static std::vector<std::wstring>& Answered() { return answered_; }

 private:
  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE) {
      HWND box = reinterpret_cast<HWND>(wParam);
      wchar_t className[64] = {}, caption[256] = {};
      GetClassNameW(box, className, 64);
      if (std::wstring(className) == L"#32770") {
        GetWindowTextW(box, caption, 256);
        answered_.push_back(caption);
        PostMessageW(box, WM_COMMAND, IDYES, 0);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
  static inline std::vector<std::wstring> answered_;
};

// Wine's "delete" moves a file to the user's trash on the Linux side: the test takes
// back what it put there, and the trash folders it made.
class TTrashCleanup {
 public:
  explicit TTrashCleanup(const std::wstring& name) : name_(name) {
    wchar_t home[MAX_PATH] = {};
    GetEnvironmentVariableW(L"WINEHOMEDIR", home, MAX_PATH);
    std::wstring h = home;
    if (h.rfind(L"\\??\\", 0) == 0) h = h.substr(4);
    EXPECT_FALSE(h.empty()) << "no home folder to find wine's trash in";
    trash_ = std::filesystem::path(h) / L".local" / L"share" / L"Trash";
    for (auto p = trash_; !std::filesystem::exists(p) && p.has_relative_path(); p = p.parent_path()) made_.push_back(p);
  }
  ~TTrashCleanup() {
    std::error_code ec;
    std::filesystem::remove(trash_ / L"files" / name_, ec);
    std::filesystem::remove(trash_ / L"info" / (name_ + L".trashinfo"), ec);
    if (!made_.empty()) {
      std::filesystem::remove(trash_ / L"files", ec);
      std::filesystem::remove(trash_ / L"info", ec);
    }
    for (const auto& p : made_) std::filesystem::remove(p, ec);  // deepest first; only when empty
  }

 private:
  std::wstring name_;
  std::filesystem::path trash_;
  std::vector<std::filesystem::path> made_;
};

TEST(VyShellMenus, VerbsFoundAndRunOnFiles) {
  TShellTestTree tree("menu");
  const std::wstring doomedName = L"qorn-doomed-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
  const TTrashCleanup cleanup(doomedName);
  const std::wstring doomed = tree.File(doomedName);
  const std::wstring kept = tree.File(L"kept.txt");
  TItemMenu menu(tree, {doomedName});
  ASSERT_TRUE(menu.menuObject);
  ASSERT_NE(menu.menu, nullptr);
  EXPECT_GT(GetMenuItemCount(menu.menu), 0);
  const int del = FindVerbCommand(menu.menuObject.Get(), L"DELETE");
  ASSERT_NE(del, kNoVerbCommand) << "verbs compare ignoring case";
  EXPECT_EQ(CommandVerb(menu.menuObject.Get(), UINT(del)), L"delete");
  EXPECT_EQ(FindVerbCommand(menu.menuObject.Get(), L"no such verb"), kNoVerbCommand);
  EXPECT_EQ(FindVerbCommand(nullptr, L"delete"), kNoVerbCommand);

  // Rename is known by its verb: wine's menu has none, and its command 18 (the
  // fixed rename of other shells) is no rename.
  EXPECT_EQ(ClassifyMenuCommand(menu.menuObject.Get(), kFirstShellCommand + 18), TShellMenuChoice::ShellCommand);
  EXPECT_EQ(ClassifyMenuCommand(menu.menuObject.Get(), kFirstShellCommand + UINT(del)), TShellMenuChoice::ShellCommand);
  EXPECT_EQ(ClassifyMenuCommand(menu.menuObject.Get(), 3), TShellMenuChoice::SendTo);
  EXPECT_EQ(ClassifyMenuCommand(menu.menuObject.Get(), 0), TShellMenuChoice::None);

  // A verb the menu lacks runs nothing at all: the file stays, no box shows.
  {
    const TConfirmAnswerer answerer;
    EXPECT_EQ(InvokeMenuCommand(nullptr, menu.menuObject.Get(), L"no such verb"), HRESULT_FROM_WIN32(ERROR_NOT_FOUND));
    Pump(std::chrono::milliseconds(100));
    EXPECT_TRUE(TConfirmAnswerer::Answered().empty());
  }
  EXPECT_TRUE(std::filesystem::exists(doomed));

  {
    const TConfirmAnswerer answerer;
    EXPECT_EQ(InvokeMenuCommand(nullptr, menu.menuObject.Get(), L"delete"), S_OK);
    EXPECT_TRUE(PumpUntil([&] { return !std::filesystem::exists(doomed); }));
    EXPECT_EQ(TConfirmAnswerer::Answered().size(), 1u) << "the shell asked first";
  }
  EXPECT_TRUE(std::filesystem::exists(kept));
}

TEST(VyShellMenus, CopyPutsTheFilesOnTheClipboard) {
  TShellTestTree tree("menu-copy");
  const std::wstring file = tree.File(L"copied.txt");
  TItemMenu menu(tree, {L"copied.txt"});
  ASSERT_EQ(InvokeMenuCommand(nullptr, menu.menuObject.Get(), L"copy"), S_OK);
  TComPtr<IDataObject> clip;
  ASSERT_EQ(OleGetClipboard(clip.Put()), S_OK);
  FORMATETC f{CLIPFORMAT(CF_HDROP), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  ASSERT_EQ(clip->GetData(&f, &medium), S_OK);
  wchar_t name[MAX_PATH] = {};
  DragQueryFileW(static_cast<HDROP>(medium.hGlobal), 0, name, MAX_PATH);
  ReleaseStgMedium(&medium);
  EXPECT_EQ(std::wstring(name), file);
  OleSetClipboard(nullptr);
}

// A menu object that cannot handle menu messages (no IContextMenu2): the library
// fills and draws the Send To submenu itself.
class TPlainMenuObject : public TVyComObject<IContextMenu> {
 public:
  HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override {
    invokedSize = info->cbSize;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR offset, UINT type, UINT*, CHAR* text, UINT size) override {
    const wchar_t* answer = type == GCS_HELPTEXTW && offset == 7 ? L"Help of 7"
                            : type == GCS_VERBW && offset == 5   ? L"Rename"
                                                                 : nullptr;
    if (!answer) return E_INVALIDARG;
    wcsncpy(reinterpret_cast<wchar_t*>(text), answer, size);
    return S_OK;
  }
  UINT invokedSize = 0;
};

// The shell's placeholder of an unfilled Send To submenu.
HMENU Placeholder() {
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING | MF_GRAYED, 1, L"(empty)");
  return popup;
}

std::vector<std::wstring> EntryNames() {
  std::vector<std::wstring> names;
  for (const TSendToEntry& e : SendToEntries()) names.push_back(e.Name);
  return names;
}

// Files of their own in the user's SendTo folder, removed afterwards.
class TSendToFiles {
 public:
  explicit TSendToFiles(const std::vector<std::wstring>& names) : folder_(SpecialFolderPath(nullptr, CSIDL_SENDTO)) {
    EXPECT_FALSE(folder_.empty());
    std::filesystem::create_directories(folder_);
    for (const std::wstring& n : names) Add(n);
  }
  ~TSendToFiles() {
    for (const auto& f : files_) std::filesystem::remove(f);
  }
  void Add(const std::wstring& name) {
    files_.push_back(std::filesystem::path(folder_) / name);
    std::ofstream(files_.back()) << "x";
  }
  void Remove(const std::wstring& name) { std::filesystem::remove(std::filesystem::path(folder_) / name); }
  std::filesystem::path Folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::vector<std::filesystem::path> files_;
};

TEST(VyShellSendTo, FilledOnceFromTheFolderAndFollowsIt) {
  ASSERT_TRUE(std::filesystem::is_empty(SpecialFolderPath(nullptr, CSIDL_SENDTO)) ||
              !std::filesystem::exists(SpecialFolderPath(nullptr, CSIDL_SENDTO)))
      << "the test prefix's SendTo folder holds only what this test puts there";
  TSendToFiles files({L"Qx beta.txt", L"Qx alpha.txt", L"Wide.txt"});
  TComPtr<IContextMenu> plain(new TPlainMenuObject);
  for (int open = 0; open < 2; ++open) {
    HMENU popup = Placeholder();
    const TOnExit destroyed([popup] { DestroyMenu(popup); });
    TMessage m{WM_INITMENUPOPUP, reinterpret_cast<uintptr_t>(popup), 0, 0};
    HandleInitMenuPopup(plain.Get(), m);
    EXPECT_EQ(EntryNames(), (std::vector<std::wstring>{L"Qx alpha.txt", L"Qx beta.txt", L"Wide.txt"})) << open;
    ASSERT_EQ(GetMenuItemCount(popup), 3) << "each entry once, opened " << open + 1 << " times";
    EXPECT_EQ(GetMenuItemID(popup, 2), 3u);
    EXPECT_TRUE(GetMenuState(popup, 0, MF_BYPOSITION) & MF_OWNERDRAW);
  }
  // A menu that is not the placeholder is left alone.
  HMENU full = CreatePopupMenu();
  AppendMenuW(full, MF_STRING, 1, L"one");
  AppendMenuW(full, MF_STRING | MF_GRAYED, 2, L"two");
  TMessage m{WM_INITMENUPOPUP, reinterpret_cast<uintptr_t>(full), 0, 0};
  HandleInitMenuPopup(plain.Get(), m);
  EXPECT_EQ(GetMenuItemCount(full), 2);
  DestroyMenu(full);

  files.Remove(L"Wide.txt");
  HMENU popup = Placeholder();
  TMessage again{WM_INITMENUPOPUP, reinterpret_cast<uintptr_t>(popup), 0, 0};
  HandleInitMenuPopup(plain.Get(), again);
  EXPECT_EQ(EntryNames(), (std::vector<std::wstring>{L"Qx alpha.txt", L"Qx beta.txt"})) << "a deleted entry goes";
  EXPECT_EQ(GetMenuItemCount(popup), 2);
  DestroyMenu(popup);
}

TEST(VyShellSendTo, TypedLettersExecuteOrSelect) {
  TSendToFiles files({L"Qx alpha.txt", L"Qx beta.txt", L"Wide.txt"});
  TComPtr<IContextMenu> plain(new TPlainMenuObject);
  HMENU popup = Placeholder();
  const TOnExit destroyed([popup] { DestroyMenu(popup); });
  TMessage init{WM_INITMENUPOPUP, reinterpret_cast<uintptr_t>(popup), 0, 0};
  HandleInitMenuPopup(plain.Get(), init);
  ASSERT_EQ(GetMenuItemCount(popup), 3);
  auto typed = [&](wchar_t c, int highlighted) {
    for (int i = 0; i < 3; ++i) HiliteMenuItem(nullptr, popup, UINT(i), MF_BYPOSITION | MF_UNHILITE);
    if (highlighted >= 0) {
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_STATE;
      info.fState = MFS_HILITE;
      SetMenuItemInfoW(popup, UINT(highlighted), TRUE, &info);
    }
    TMessage m{WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP), reinterpret_cast<intptr_t>(popup), 0};
    HandleMenuChar(plain.Get(), m);
    return m.Result;
  };
  EXPECT_EQ(typed(L'w', -1), MAKELRESULT(2, MNC_EXECUTE)) << "a unique letter runs the entry";
  EXPECT_EQ(typed(L'q', -1), MAKELRESULT(1, MNC_SELECT)) << "after the first item, which counts as highlighted";
  EXPECT_EQ(typed(L'Q', 1), MAKELRESULT(0, MNC_SELECT)) << "from the highlighted one on, wrapping round";
  EXPECT_EQ(typed(L'z', 0), MAKELRESULT(0, MNC_CLOSE));
  TMessage notPopup{WM_MENUCHAR, MAKEWPARAM(L'w', 0), reinterpret_cast<intptr_t>(popup), 0};
  HandleMenuChar(plain.Get(), notPopup);
  EXPECT_EQ(notPopup.Result, 0);
}

TEST(VyShellSendTo, MeasuredAndDrawnInTheMenuColours) {
  TShellTestTree tree("sendto-draw");
  TSendToFiles files({L"Qx alpha.txt", L"Wide.txt"});
  TComPtr<IContextMenu> plain(new TPlainMenuObject);
  HMENU popup = Placeholder();
  const TOnExit destroyed([popup] { DestroyMenu(popup); });
  TMessage init{WM_INITMENUPOPUP, reinterpret_cast<uintptr_t>(popup), 0, 0};
  HandleInitMenuPopup(plain.Get(), init);
  ASSERT_EQ(SendToEntries().size(), 2u);
  EXPECT_GE(SendToEntries()[0].ImageIndex, 0);

  MEASUREITEMSTRUCT measure{ODT_MENU, 0, 1, 0, 0, 0};
  TMessage m{WM_MEASUREITEM, 0, reinterpret_cast<intptr_t>(&measure), 0};
  HandleMeasureItem(plain.Get(), m);
  EXPECT_EQ(int(measure.itemHeight), GetSystemMetrics(SM_CYMENU) + 2);
  EXPECT_GT(measure.itemWidth, 32u + 20u);

  const int width = int(measure.itemWidth), height = int(measure.itemHeight);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, 2 * height);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  HIMAGELIST images = GetSystemImageListHandle(TSystemImageSize::Small);
  for (int row = 0; row < 2; ++row) {
    DRAWITEMSTRUCT draw{ODT_MENU,
                        0,
                        UINT(row + 1),
                        ODA_DRAWENTIRE,
                        UINT(row == 1 ? ODS_SELECTED : 0),
                        nullptr,
                        dc,
                        RECT{0, row * height, width, (row + 1) * height},
                        ULONG_PTR(row)};
    TMessage d{WM_DRAWITEM, 0, reinterpret_cast<intptr_t>(&draw), 0};
    HandleDrawItem(plain.Get(), d, images);
    EXPECT_EQ(d.Result, TRUE);
  }
  // The background of each row, right of the text, and some text on the selected row.
  EXPECT_EQ(GetPixel(dc, width - 2, 1), GetSysColor(COLOR_MENU));
  EXPECT_EQ(GetPixel(dc, width - 2, height + 1), GetSysColor(COLOR_HIGHLIGHT));
  int textPixels = 0;
  for (int x = 32; x < width - 4; ++x)
    for (int y = height; y < 2 * height; ++y)
      if (GetPixel(dc, x, y) == GetSysColor(COLOR_HIGHLIGHTTEXT)) ++textPixels;
  EXPECT_GT(textPixels, 10);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// The whole road of a tracked Send To submenu: the system's menu loop asks the owner
// window to fill, measure and draw it, and the window hands each message on.
TEST(VyShellSendTo, TrackedMenuAsTheUserSeesIt) {
  TSendToFiles files({L"Qx alpha.txt", L"Qx beta.txt", L"Wide.txt"});
  TComPtr<IContextMenu> plain(new TPlainMenuObject);
  HIMAGELIST images = GetSystemImageListHandle(TSystemImageSize::Small);
  bool shot = false;
  int drawn = 0;
  HWND owner = nullptr;
  owner = AllocateHWnd([&](TMessage& m) {
    switch (m.Msg) {
      case WM_INITMENUPOPUP: HandleInitMenuPopup(plain.Get(), m); break;
      case WM_MEASUREITEM: HandleMeasureItem(plain.Get(), m); break;
      case WM_DRAWITEM:
        ++drawn;
        HandleDrawItem(plain.Get(), m, images);
        break;
      case WM_ENTERIDLE: {
        HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (!shot && menuWindow && IsWindowVisible(menuWindow) && drawn >= 3) {
          shot = qorn::testing::SaveWindowShot(menuWindow, qorn::testing::ScreenshotDir() / "shell_sendto_menu.png");
          EndMenu();
        }
        DefaultWindowMessage(owner, m);
        break;
      }
      default: DefaultWindowMessage(owner, m);
    }
  });
  const TOnExit deallocated([owner] { DeallocateHWnd(owner); });
  HMENU popup = Placeholder();
  const TOnExit destroyed([popup] { DestroyMenu(popup); });
  // The menu loop idles until the shot is taken; a timer keeps WM_ENTERIDLE coming.
  SetTimer(owner, 1, 50, nullptr);
  SetForegroundWindow(owner);
  TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, 100, 100, 0, owner, nullptr);
  KillTimer(owner, 1);
  EXPECT_TRUE(shot);
  EXPECT_GE(drawn, 3);
  EXPECT_EQ(GetMenuItemCount(popup), 3);
}

TEST(VyShellMenus, ShellMenusHandleTheirOwnMessages) {
  TShellTestTree tree("menu-own");
  TSendToFiles files({L"Qx alpha.txt"});
  tree.File(L"a.txt");
  TItemMenu menu(tree, {L"a.txt"});
  TComPtr<IContextMenu2> menu2 = menu.menuObject.As<IContextMenu2>(IID_IContextMenu2);
  ASSERT_TRUE(menu2) << "wine's item menus handle menu messages";
  HMENU popup = Placeholder();
  TMessage m{WM_INITMENUPOPUP, reinterpret_cast<uintptr_t>(popup), 0, 0};
  HandleInitMenuPopup(menu.menuObject.Get(), m);
  EXPECT_EQ(GetMenuItemCount(popup), 1) << "the library draws nothing of its own";
  DestroyMenu(popup);
}

TEST(VyShellMenus, HintsAndTheInvokeRecord) {
  TComPtr<IContextMenu> plain(new TPlainMenuObject);
  std::vector<std::wstring> hints;
  TVyShellPopupHintEvent onHint = [&](TObject*, const std::wstring& hint) { hints.push_back(hint); };
  auto select = [&](UINT id, UINT flags) {
    TMessage m{WM_MENUSELECT, MAKEWPARAM(id, flags), 0, 0};
    HandleMenuSelect(plain.Get(), m, nullptr, onHint);
  };
  select(kFirstShellCommand + 7, MF_STRING);
  select(kFirstShellCommand + 8, MF_STRING);
  select(kFirstShellCommand + 7, MF_POPUP);
  select(3, MF_STRING);
  EXPECT_EQ(hints, (std::vector<std::wstring>{L"Help of 7", L"", L"", L""}));
  EXPECT_EQ(ClassifyMenuCommand(plain.Get(), kFirstShellCommand + 5), TShellMenuChoice::Rename);
  EXPECT_EQ(ClassifyMenuCommand(plain.Get(), kFirstShellCommand + 18), TShellMenuChoice::ShellCommand);
  EXPECT_EQ(InvokeMenuCommand(nullptr, plain.Get(), 4u), S_OK);
  EXPECT_EQ(static_cast<TPlainMenuObject*>(plain.Get())->invokedSize, sizeof(CMINVOKECOMMANDINFO));
}

TEST(VyShellSendTo, DropOnAnEntry) {
  TShellTestTree tree("sendto-drop");
  const std::wstring file = tree.File(L"sent.txt", "sent");
  const std::wstring target = tree.Folder(L"target");
  const std::wstring entry = L"Qx target " + std::to_wstring(GetCurrentProcessId()) + L".lnk";
  TSendToFiles files({});
  {
    TComPtr<IShellLinkW> link;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()), S_OK);
    link->SetPath(target.c_str());
    files.Add(entry);
    ASSERT_EQ(link.As<IPersistFile>(IID_IPersistFile)->Save((files.Folder() / entry).c_str(), TRUE), S_OK);
  }
  TComPtr<IShellFolder> folder;
  const TIdList folderList = tree.IdList(L"");
  GetShellFolder(folderList.get(), folder);
  const TIdList item = tree.Child(L"sent.txt");
  TComPtr<IDataObject> data(new TVyShellDataObject(folder.Get(), folderList.get(), {item.get()}));
  // Wine's shortcut takes the drop without copying anything: only the road to the
  // entry's drop target can be seen here.
  EXPECT_NO_THROW(SendToDrop(entry, data.Get()));
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_EQ(Screen->GetCursor(), crDefault) << "the hourglass is put back";
  EXPECT_THROW(SendToDrop(L"no such entry.txt", data.Get()), EOleSysError);
}

}  // namespace
