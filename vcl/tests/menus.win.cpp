// Popup menus on a real form: the item tree from the form resource, the native
// menu built from it, Popup closed or chosen through the open menu from a timer
// (so no test can hang in it), OnClick after Popup returns, the context menu of a
// control, and owner-drawn items checked by their pixels.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "testing/WinTesting.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// What to do once the menu is open; run by a timer inside the menu's own loop, on
// each tick until it says it is done.
std::function<bool(HWND menuWindow)> gWhileOpen;
int gOpenChecks = 0;

void CALLBACK OpenMenuTimer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  const bool open = menu && IsWindowVisible(menu);
  if (!open && ++gOpenChecks < 100) return;
  if (!open || !gWhileOpen) {
    KillTimer(nullptr, id);
    EndMenu();
    return;
  }
  if (!gWhileOpen(menu)) return;
  KillTimer(nullptr, id);
  gWhileOpen = nullptr;
}

// Runs `action` on the open menu while `show` blocks in it, until the action returns
// true; a menu still open ten seconds later is closed, so a fault here fails the test
// instead of hanging it.
void WhileMenuOpenUntil(const std::function<void()>& show, std::function<bool(HWND)> action) {
  gWhileOpen = std::move(action);
  gOpenChecks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, OpenMenuTimer);
  const UINT_PTR guard = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
  show();
  KillTimer(nullptr, timer);
  KillTimer(nullptr, guard);
  gWhileOpen = nullptr;
}

void WhileMenuOpen(const std::function<void()>& show, std::function<void(HWND)> action) {
  WhileMenuOpenUntil(show, [action = std::move(action)](HWND menu) {
    action(menu);
    return true;
  });
}

void SendKeys(HWND menu, const std::vector<WORD>& keys) {
  for (WORD key : keys) {
    PostMessageW(menu, WM_KEYDOWN, key, 1);
    PostMessageW(menu, WM_KEYUP, key, 0xC0000001);
  }
}

class TTestMenusForm : public TForm {
  QORN_CLASS(TTestMenusForm, TForm)
 public:
  explicit TTestMenusForm(TComponent* AOwner) : TForm(AOwner) {}
  TListBox* ListBox1 = nullptr;
  TPopupMenu* Menu1 = nullptr;
  TMenuItem *Open1 = nullptr, *Profiles1 = nullptr, *Home1 = nullptr, *Work1 = nullptr, *N1 = nullptr,
            *Hidden1 = nullptr, *Off1 = nullptr, *Close1 = nullptr;

 private:
  static void Publish(TPublisher<TTestMenusForm>& p) {
    p.Field(L"ListBox1", &TTestMenusForm::ListBox1);
    p.Field(L"Menu1", &TTestMenusForm::Menu1);
    p.Field(L"Open1", &TTestMenusForm::Open1);
    p.Field(L"Profiles1", &TTestMenusForm::Profiles1);
    p.Field(L"Home1", &TTestMenusForm::Home1);
    p.Field(L"Work1", &TTestMenusForm::Work1);
    p.Field(L"N1", &TTestMenusForm::N1);
    p.Field(L"Hidden1", &TTestMenusForm::Hidden1);
    p.Field(L"Off1", &TTestMenusForm::Off1);
    p.Field(L"Close1", &TTestMenusForm::Close1);
  }
};
QORN_REGISTER_CLASS(TTestMenusForm);

// Records which items were clicked, and whether Popup had returned by then.
struct ClickLog {
  std::vector<std::wstring> clicks;
  bool popupReturned = false;
  bool clickedInsidePopup = false;
  TNotifyEvent Handler() {
    return [this](TObject* sender) {
      clicks.push_back(static_cast<TMenuItem*>(sender)->GetCaption());
      if (!popupReturned) clickedInsidePopup = true;
    };
  }
};

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestMenusForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::WaitFor([&] { return IsWindowVisible(form->GetHandle()) != 0; }, 3s));
    for (TMenuItem* item : {form->Open1, form->Home1, form->Work1, form->Off1, form->Close1})
      item->OnClick = log.Handler();
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // Pops the menu up, lets `action` work on it, then pumps the posted command.
  void PopupAndThen(std::function<void(HWND)> action) {
    log.popupReturned = false;
    WhileMenuOpen([&] { form->Menu1->Popup(60, 60); }, std::move(action));
    log.popupReturned = true;
    Pump(30ms);
  }
  MENUITEMINFOW Info(HMENU menu, int pos) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(pos), TRUE, &mi)) << pos;
    return mi;
  }
  std::wstring Text(HMENU menu, int pos) {
    wchar_t buffer[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(pos), buffer, 128, MF_BYPOSITION);
    return buffer;
  }
  TTestMenusForm* form = nullptr;
  ClickLog log;
};

TEST_F(Menus, TheFormResourceGivesTheItemTreeAndTheControlsMenu) {
  TPopupMenu* menu = form->Menu1;
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(form->ListBox1->GetPopupMenu(), menu);
  EXPECT_EQ(menu->GetAutoHotkeys(), maManual);
  TMenuItem* items = menu->GetItems();
  ASSERT_EQ(items->Count(), 6);
  EXPECT_EQ(items->Items(0), form->Open1);
  EXPECT_EQ(items->Items(1), form->Profiles1);
  ASSERT_EQ(form->Profiles1->Count(), 2);
  EXPECT_EQ(form->Home1->GetParent(), form->Profiles1);
  EXPECT_EQ(form->Home1->GetParentMenu(), menu);
  EXPECT_TRUE(form->Home1->GetChecked());
  EXPECT_TRUE(form->N1->IsLine());
  EXPECT_EQ(form->Off1->GetShortCut(), scCtrl | 'S');
  EXPECT_THROW(items->Items(6), EMenuError);
}

TEST_F(Menus, TheItemTreeWritesAsItReads) {
  auto* extra = new TMenuItem(form);
  extra->SetName(L"Extra1");
  extra->SetCaption(L"Extra");
  extra->SetImageIndex(3);
  form->Profiles1->Add(extra);
  const std::string text = WriteComponentToText(form);
  std::unique_ptr<TTestMenusForm> copy(CreateFormNew<TTestMenusForm>(nullptr));
  ReadComponentFromText(copy.get(), text, L"TESTMENUSFORM");
  ASSERT_NE(copy->Menu1, nullptr);
  EXPECT_EQ(copy->ListBox1->GetPopupMenu(), copy->Menu1);
  // The same tree, item by item.
  std::function<void(TMenuItem*, TMenuItem*)> same = [&](TMenuItem* a, TMenuItem* b) {
    ASSERT_EQ(b->Count(), a->Count()) << std::string(a->Name().begin(), a->Name().end());
    EXPECT_EQ(b->Name(), a->Name());
    EXPECT_EQ(b->GetCaption(), a->GetCaption());
    EXPECT_EQ(b->GetChecked(), a->GetChecked());
    EXPECT_EQ(b->GetDefault(), a->GetDefault());
    EXPECT_EQ(b->GetEnabled(), a->GetEnabled());
    EXPECT_EQ(b->GetVisible(), a->GetVisible());
    EXPECT_EQ(b->GetImageIndex(), a->GetImageIndex());
    EXPECT_EQ(b->GetShortCut(), a->GetShortCut());
    for (int i = 0; i < a->Count(); ++i) same(a->Items(i), b->Items(i));
  };
  same(form->Menu1->GetItems(), copy->Menu1->GetItems());
  EXPECT_EQ(copy->Profiles1->Items(2)->GetCaption(), L"Extra");
}

TEST_F(Menus, TheNativeMenuShowsTheItemsAsTheyStand) {
  HMENU menu = form->Menu1->GetHandle();
  // The hidden item is left out; the rest keep their order.
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  EXPECT_EQ(Text(menu, 0), L"&Open") << "captions are shown as they are (manual accelerators)";
  EXPECT_TRUE(Info(menu, 0).fState & MFS_DEFAULT);
  const MENUITEMINFOW profiles = Info(menu, 1);
  ASSERT_NE(profiles.hSubMenu, nullptr);
  EXPECT_EQ(profiles.hSubMenu, form->Profiles1->GetHandle());
  EXPECT_EQ(GetMenuItemCount(profiles.hSubMenu), 2);
  EXPECT_TRUE(Info(profiles.hSubMenu, 0).fState & MFS_CHECKED);
  EXPECT_FALSE(Info(profiles.hSubMenu, 1).fState & MFS_CHECKED);
  EXPECT_TRUE(Info(menu, 2).fType & MFT_SEPARATOR);
  EXPECT_TRUE(Info(menu, 3).fState & MFS_GRAYED);
  EXPECT_EQ(Text(menu, 3), L"Turn &off\tCtrl+S");
  EXPECT_EQ(Info(menu, 4).wID, form->Close1->Command());

  // Changes made later show the next time the menu is asked for, in the same menu.
  form->Hidden1->SetVisible(true);
  form->Off1->SetEnabled(true);
  form->Work1->SetDefault(true);
  auto* extra = new TMenuItem(form);
  extra->SetCaption(L"Extra");
  form->Profiles1->Insert(0, extra);
  EXPECT_EQ(form->Menu1->GetHandle(), menu);
  ASSERT_EQ(GetMenuItemCount(menu), 6);
  EXPECT_EQ(Text(menu, 3), L"Hidden");
  EXPECT_FALSE(Info(menu, 4).fState & MFS_GRAYED);
  HMENU sub = Info(menu, 1).hSubMenu;
  ASSERT_EQ(GetMenuItemCount(sub), 3);
  EXPECT_EQ(Text(sub, 0), L"Extra");
  EXPECT_TRUE(Info(sub, 2).fState & MFS_DEFAULT);

  // Items taken out or freed leave the menu.
  form->Profiles1->Delete(0);
  EXPECT_EQ(extra->GetParent(), nullptr);
  delete extra;
  form->Profiles1->Clear();
  EXPECT_EQ(form->Home1, nullptr) << "cleared items are freed";
  form->Home1 = form->Work1 = nullptr;
  EXPECT_EQ(GetMenuItemCount(form->Menu1->GetHandle()), 6);
  EXPECT_EQ(Info(menu, 1).hSubMenu, nullptr) << "an item without items has no submenu";
  EXPECT_THROW(form->Menu1->GetItems()->Add(form->Open1), EMenuError) << "an item sits in one place only";
}

TEST_F(Menus, ChoosingAnItemRunsItsClickAfterPopupReturns) {
  PopupAndThen([](HWND menu) { SendKeys(menu, {'C'}); });
  ASSERT_EQ(log.clicks.size(), 1u);
  EXPECT_EQ(log.clicks[0], L"&Close");
  EXPECT_FALSE(log.clickedInsidePopup) << "OnClick runs from the posted command, after Popup";

  log.clicks.clear();
  PopupAndThen([](HWND menu) { SendKeys(menu, {VK_DOWN, VK_RETURN}); });
  ASSERT_EQ(log.clicks.size(), 1u);
  EXPECT_EQ(log.clicks[0], L"&Open");
}

TEST_F(Menus, AChosenItemFreedBeforeItsCommandArrivesRunsNothing) {
  // The tray's menu may be refilled between Popup's return and the posted command.
  WhileMenuOpen([&] { form->Menu1->Popup(60, 60); }, [](HWND menu) { SendKeys(menu, {'C'}); });
  MSG pending;
  ASSERT_TRUE(PeekMessageW(&pending, nullptr, WM_COMMAND, WM_COMMAND, PM_NOREMOVE)) << "the choice is on its way";
  delete form->Close1;
  form->Close1 = nullptr;
  auto* again = new TMenuItem(form);
  again->SetCaption(L"&Close again");
  again->OnClick = log.Handler();
  form->Menu1->GetItems()->Add(again);
  Pump(30ms);
  EXPECT_TRUE(log.clicks.empty()) << "neither the freed item nor the one made since";
}

TEST_F(Menus, ASubmenuItemIsChosenThroughItsSubmenuAndMayFillIt) {
  int opened = 0;
  form->Profiles1->OnClick = [&](TObject*) {
    // The tray fills its profile list this way, each time it opens.
    ++opened;
    form->Profiles1->Clear();
    form->Home1 = form->Work1 = nullptr;
    for (const wchar_t* name : {L"&Games", L"&Music"}) {
      auto* item = new TMenuItem(form);
      item->SetCaption(name);
      item->SetChecked(std::wstring(name) == L"&Music");
      item->OnClick = log.Handler();
      form->Profiles1->Add(item);
    }
  };
  PopupAndThen([](HWND menu) { SendKeys(menu, {'P', 'M'}); });
  EXPECT_EQ(opened, 1);
  ASSERT_EQ(log.clicks.size(), 1u);
  EXPECT_EQ(log.clicks[0], L"&Music");
}

TEST_F(Menus, AClosedMenuRunsNothing) {
  int popups = 0;
  form->Menu1->OnPopup = [&](TObject* sender) {
    EXPECT_EQ(sender, form->Menu1);
    ++popups;
  };
  PopupAndThen([](HWND) { EndMenu(); });
  PopupAndThen([](HWND menu) { SendKeys(menu, {VK_ESCAPE}); });
  EXPECT_EQ(popups, 2);
  EXPECT_TRUE(log.clicks.empty());
}

TEST_F(Menus, AControlsContextMenuShowsItsPopupMenu) {
  HWND list = form->ListBox1->GetHandle();
  POINT at{20, 20};
  ClientToScreen(list, &at);
  bool shown = false;
  form->Menu1->OnPopup = [&](TObject*) { shown = true; };
  WhileMenuOpen([&] { SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y)); },
                [](HWND menu) { SendKeys(menu, {'C'}); });
  Pump(30ms);
  EXPECT_TRUE(shown);
  EXPECT_EQ(form->Menu1->GetPopupComponent(), form->ListBox1);
  EXPECT_EQ(log.clicks, std::vector<std::wstring>{L"&Close"});

  // Without AutoPopup the control leaves the menu alone.
  shown = false;
  form->Menu1->SetAutoPopup(false);
  WhileMenuOpen([&] { SendMessageW(list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(at.x, at.y)); },
                [](HWND) { EndMenu(); });
  EXPECT_FALSE(shown);

  // A freed menu is forgotten by the control and by nothing else.
  delete form->Menu1;
  form->Menu1 = nullptr;
  EXPECT_EQ(form->ListBox1->GetPopupMenu(), nullptr);
}

// --- owner-drawn items

std::uint32_t Argb(int a, int r, int g, int b) {
  return (std::uint32_t(a) << 24) | (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

// Exposes the drawing of items, to paint them into a bitmap of our own.
class TDrawnMenu : public TPopupMenu {
 public:
  explicit TDrawnMenu(TComponent* owner) : TPopupMenu(owner) {}
  using TMenu::DrawItem;
  using TMenu::MeasureItem;
};

struct DrawnItems : ::testing::Test {
  TImageList images{nullptr};
  TDrawnMenu menu{nullptr};
  TMenuItem* item = nullptr;
  void SetUp() override {
    images.AddPixels(PixelBuffer(16, 16, Argb(255, 255, 0, 0)));
    images.AddPixels(PixelBuffer(16, 16, Argb(128, 0, 0, 255)));
    menu.SetImages(&images);
    item = new TMenuItem(&menu);
    item->SetCaption(L"&Item");
    menu.GetItems()->Add(item);
  }
  // Draws the item into a 160 x 24 bitmap and returns it.
  std::unique_ptr<TBitmap> Draw(UINT state) {
    auto bitmap = std::make_unique<TBitmap>(160, 24, pf24bit);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemState = state;
    dis.hDC = bitmap->GetCanvas()->GetHandle();
    dis.rcItem = {0, 0, 160, 24};
    dis.itemData = reinterpret_cast<ULONG_PTR>(item);
    menu.DrawItem(item, dis);
    return bitmap;
  }
  int CountColor(TBitmap* b, TColor c, int fromX, int toX) {
    int n = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = fromX; x < toX; ++x)
        if (ColorToRGB(b->GetCanvas()->GetPixel(x, y)) == ColorToRGB(c)) ++n;
    return n;
  }
};

bool IsNear(TColor actual, TColor expected) {
  for (int shift = 0; shift < 24; shift += 8)
    if (std::abs(int((actual >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > 2) return false;
  return true;
}

void ExpectNear(TColor actual, TColor expected, const char* what) {
  EXPECT_TRUE(IsNear(actual, expected)) << what << ": " << std::hex << actual << " vs " << expected;
}

TEST_F(DrawnItems, APictureIsBlendedOverTheMenuColourInItsColumn) {
  const TColor menuColor = ColorToRGB(clMenu);
  item->SetImageIndex(1);
  auto normal = Draw(0);
  // The picture's box: 3 pixels in, centred in the 24-pixel row.
  const TColor half = normal->GetCanvas()->GetPixel(3 + 8, 4 + 8);
  const int r = GetRValue(menuColor), g = GetGValue(menuColor), b = GetBValue(menuColor);
  ExpectNear(half, RGB((r * 127 + 127) / 255, (g * 127 + 127) / 255, (b * 127 + 255 * 128 + 127) / 255),
             "half-transparent blue over the menu colour");
  ExpectNear(normal->GetCanvas()->GetPixel(1, 1), menuColor, "outside the picture");
  ExpectNear(normal->GetCanvas()->GetPixel(150, 20), menuColor, "right of the text");
  EXPECT_GT(CountColor(normal.get(), ColorToRGB(clMenuText), 28, 150), 10) << "the caption is drawn after the column";

  item->SetImageIndex(0);
  auto selected = Draw(ODS_SELECTED);
  ExpectNear(selected->GetCanvas()->GetPixel(3 + 8, 4 + 8), clRed, "opaque picture");
  ExpectNear(selected->GetCanvas()->GetPixel(150, 20), ColorToRGB(clHighlight), "a selected item is highlighted");
  EXPECT_GT(CountColor(selected.get(), ColorToRGB(clHighlightText), 28, 150), 10);

  auto disabled = Draw(ODS_GRAYED);
  const TColor grey = disabled->GetCanvas()->GetPixel(3 + 8, 4 + 8);
  EXPECT_NE(ColorToRGB(grey), ColorToRGB(clRed)) << "a disabled picture is drawn grey";
  EXPECT_EQ(CountColor(disabled.get(), ColorToRGB(clMenuText), 28, 150), 0);
  EXPECT_GT(CountColor(disabled.get(), ColorToRGB(clGrayText), 28, 150), 10);
}

TEST_F(DrawnItems, CheckedDefaultAndSeparatorItems) {
  const TColor text = ColorToRGB(clMenuText);
  // Checked without a picture: a check mark in the picture column.
  item->SetChecked(true);
  auto checked = Draw(0);
  EXPECT_GT(CountColor(checked.get(), text, 0, 22), 8);
  item->SetChecked(false);
  EXPECT_EQ(CountColor(Draw(0).get(), text, 0, 22), 0);

  // Checked with a picture: a frame around it.
  item->SetImageIndex(0);
  item->SetChecked(true);
  auto framed = Draw(0);
  ExpectNear(framed->GetCanvas()->GetPixel(1, 12), text, "frame left of the picture");
  ExpectNear(framed->GetCanvas()->GetPixel(3 + 8, 4 + 8), clRed, "the picture inside");

  // The default item is bold: wider.
  MEASUREITEMSTRUCT plain{}, bold{};
  plain.CtlType = bold.CtlType = ODT_MENU;
  item->SetCaption(L"A longer caption here");
  menu.MeasureItem(item, plain);
  item->SetDefault(true);
  menu.MeasureItem(item, bold);
  EXPECT_GT(bold.itemWidth, plain.itemWidth);
  EXPECT_GE(plain.itemHeight, 16u + 6u) << "room for the picture";

  item->SetCaption(L"-");
  MEASUREITEMSTRUCT line{};
  menu.MeasureItem(item, line);
  EXPECT_LT(line.itemHeight, plain.itemHeight);
  auto separator = Draw(ODS_SELECTED);
  ExpectNear(separator->GetCanvas()->GetPixel(100, 11), ColorToRGB(clBtnShadow), "the line");
  ExpectNear(separator->GetCanvas()->GetPixel(100, 2), ColorToRGB(clMenu), "a separator is never highlighted");
}

TEST_F(DrawnItems, OwnerDrawnItemsAreShownAndChosenInARealMenu) {
  item->SetImageIndex(0);
  int clicks = 0;
  item->OnClick = [&](TObject*) { ++clicks; };
  auto* second = new TMenuItem(&menu);
  second->SetCaption(L"&Second");
  menu.GetItems()->Add(second);
  HMENU handle = menu.GetHandle();
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(handle, 0, TRUE, &mi));
  EXPECT_TRUE(mi.fType & MFT_OWNERDRAW) << "a menu with images draws its items";

  // The picture of the first item, read back from the screen. The menu window shows
  // before the system has put what it painted on the screen: look again on each tick.
  TColor seen = clNone;
  int looks = 0;
  WhileMenuOpenUntil([&] { menu.Popup(100, 100); },
                     [&](HWND window) {
                       RECT r{};
                       if (GetMenuItemRect(nullptr, handle, 0, &r)) {
                         HDC screen = GetDC(nullptr);
                         seen = static_cast<TColor>(GetPixel(screen, r.left + 3 + 8, (r.top + r.bottom) / 2));
                         ReleaseDC(nullptr, screen);
                       }
                       if (!IsNear(seen, clRed) && ++looks < 100) return false;
                       SendKeys(window, {'I'});
                       return true;
                     });
  Pump(30ms);
  ExpectNear(seen, clRed, "the picture on screen");
  EXPECT_EQ(clicks, 1) << "the accelerator of an owner-drawn item";

  // Without images the items are plain strings again.
  menu.SetImages(nullptr);
  ASSERT_TRUE(GetMenuItemInfoW(menu.GetHandle(), 0, TRUE, &mi));
  EXPECT_FALSE(mi.fType & MFT_OWNERDRAW);
}

TEST_F(DrawnItems, ASubmenuWithPicturesOfItsOwnIsDrawnInAPlainMenu) {
  menu.SetImages(nullptr);
  auto* child = new TMenuItem(&menu);
  child->SetCaption(L"Child");
  child->SetImageIndex(0);
  item->Add(child);
  item->SetSubMenuImages(&images);
  HMENU sub = item->GetHandle();
  ASSERT_NE(sub, nullptr);
  MENUITEMINFOW mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_FTYPE;
  ASSERT_TRUE(GetMenuItemInfoW(menu.GetHandle(), 0, TRUE, &mi));
  EXPECT_FALSE(mi.fType & MFT_OWNERDRAW) << "the top level has no pictures";
  ASSERT_TRUE(GetMenuItemInfoW(sub, 0, TRUE, &mi));
  EXPECT_TRUE(mi.fType & MFT_OWNERDRAW);
  // Its pictures come from the submenu's own list.
  auto bitmap = std::make_unique<TBitmap>(160, 24, pf24bit);
  DRAWITEMSTRUCT dis{};
  dis.CtlType = ODT_MENU;
  dis.hDC = bitmap->GetCanvas()->GetHandle();
  dis.rcItem = {0, 0, 160, 24};
  dis.itemData = reinterpret_cast<ULONG_PTR>(child);
  menu.DrawItem(child, dis);
  ExpectNear(bitmap->GetCanvas()->GetPixel(3 + 8, 4 + 8), clRed, "the submenu's picture");
}

TEST_F(DrawnItems, AFreedImageListIsForgotten) {
  auto* list = new TImageList(nullptr);
  menu.SetImages(list);
  EXPECT_TRUE(menu.IsOwnerDraw());
  delete list;
  EXPECT_EQ(menu.GetImages(), nullptr);
  EXPECT_FALSE(menu.IsOwnerDraw());
}

}  // namespace
