// The tray icon component: the records it hands the shell (through a recording
// notifier, plus one real call to wine's tray), its events from the callback
// message as the shell sends it, clicks against double clicks on the injectable
// clock, the menu's default item, the re-add after the taskbar is made again, and
// minimising the main form into the tray.
#include <gtest/gtest.h>

#include "services/CoolTrayIcon.h"
#include "services/TrayNotify.h"
#include "testing/PumpApplication.h"
#include "vcl/Clock.h"
#include "vcl/Forms.h"
#include "vcl/ScopeGuards.h"

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

struct TIconCall {
  DWORD message;
  UINT id;
  std::wstring tip;
  HICON icon;
  DWORD size;
  HWND window;
  UINT callback;
};

struct TRecordingNotifier : TTrayNotifier {
  bool Notify(DWORD message, const NOTIFYICONDATAW& d) override {
    calls.push_back({message, d.uID, d.szTip, d.hIcon, d.cbSize, d.hWnd, d.uCallbackMessage});
    return true;
  }
  int Count(DWORD message) const {
    int n = 0;
    for (const auto& c : calls) n += c.message == message;
    return n;
  }
  std::vector<TIconCall> calls;
};

// Small icons of distinct colours, so the one shown can be told apart.
TIcon* MakeIcon(std::uint8_t red) {
  const PixelBuffer pixels(16, 16, 0xFF000000u | (std::uint32_t(red) << 16));
  auto* icon = new TIcon();
  icon->SetPixels(pixels);
  return icon;
}

std::uint8_t RedOf(HICON icon) {
  const PixelBuffer pixels = PixelsFromIcon(icon);
  return pixels.empty() ? 0 : static_cast<std::uint8_t>(pixels.at(8, 8) >> 16);
}

class TrayIconTest : public ::testing::Test {
 protected:
  void SetUp() override { previous = SetTrayNotifier(&shell); }
  void TearDown() override {
    tray.reset();
    owner.reset();
    SetTrayNotifier(previous);
  }
  void Make() {
    owner = std::make_unique<TComponent>(nullptr);
    tray = std::make_unique<TCoolTrayIcon>(owner.get());
  }
  // What the shell sends when the mouse does something over the icon.
  void Send(UINT mouse) {
    SendMessageW(TCoolTrayIcon::HandlerWindow(), TCoolTrayIcon::CallbackMessage, tray->GetIconId(), mouse);
  }
  void Advance(std::uint64_t ms) {
    clock.Advance(ms);
    Pump(60ms);
    PumpDueTimers();
  }

  TManualClock clock;
  TClockOverride useClock{clock};
  TRecordingNotifier shell;
  TTrayNotifier* previous = nullptr;
  std::unique_ptr<TComponent> owner;
  std::unique_ptr<TCoolTrayIcon> tray;
};

TEST_F(TrayIconTest, TheShellGetsAFullSizedRecordWithASmallIdAndTheTipCutTo127) {
  Make();
  tray->SetHint(std::wstring(200, L'x'));
  tray->SetIconVisible(true);
  ASSERT_EQ(shell.Count(NIM_ADD), 1);
  const TIconCall& add = shell.calls.back();
  EXPECT_EQ(add.size, static_cast<DWORD>(NOTIFYICONDATAW_V2_SIZE));
  EXPECT_EQ(add.window, TCoolTrayIcon::HandlerWindow());
  EXPECT_EQ(add.callback, TCoolTrayIcon::CallbackMessage);
  EXPECT_EQ(add.id, tray->GetIconId());
  EXPECT_LT(add.id, 0x10000u) << "a table id, not an address";
  EXPECT_EQ(add.tip, std::wstring(127, L'x'));

  tray->SetShowHint(false);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(shell.calls.back().tip, L"");
  tray.reset();
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_DELETE)) << "a visible icon goes with its component";
}

TEST_F(TrayIconTest, AnIndexPastTheListShowsTheLastImage) {
  Make();
  TImageList images(owner.get());
  images.SetWidth(16);
  images.SetHeight(16);
  for (std::uint8_t red : {10, 60, 110, 160, 210}) {
    std::unique_ptr<TIcon> icon(MakeIcon(red));
    images.AddIcon(icon.get());
  }
  tray->SetIconList(&images);
  tray->SetIconIndex(7);
  EXPECT_EQ(tray->GetIconIndex(), 4);
  EXPECT_EQ(shell.calls.back().message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_NEAR(RedOf(shell.calls.back().icon), 210, 2);
  tray->SetIconIndex(1);
  EXPECT_NEAR(RedOf(shell.calls.back().icon), 60, 2);
}

TEST_F(TrayIconTest, WithADoubleClickHandlerASingleClickWaitsForTheDoubleClickTime) {
  Make();
  std::vector<std::string> events;
  tray->OnClick = [&](TObject*) { events.push_back("click"); };
  tray->OnDblClick = [&](TObject*) { events.push_back("double"); };
  const UINT doubleClickMs = GetDoubleClickTime();

  Send(WM_LBUTTONDOWN);
  Send(WM_LBUTTONUP);
  Advance(doubleClickMs / 2);
  EXPECT_TRUE(events.empty()) << "a second click may still come";
  Advance(doubleClickMs);
  EXPECT_EQ(events, std::vector<std::string>{"click"});

  events.clear();
  Send(WM_LBUTTONDOWN);
  Send(WM_LBUTTONUP);
  Send(WM_LBUTTONDBLCLK);
  Send(WM_LBUTTONUP);
  Advance(doubleClickMs * 2);
  EXPECT_EQ(events, std::vector<std::string>{"double"});
}

TEST_F(TrayIconTest, WithoutADoubleClickHandlerAClickIsReportedAtOnce) {
  Make();
  int clicks = 0;
  tray->OnClick = [&](TObject*) { ++clicks; };
  Send(WM_LBUTTONDOWN);
  Send(WM_LBUTTONUP);
  EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconTest, ADoubleClickRunsTheMenusDefaultItemUnlessTheLeftButtonOpensTheMenu) {
  Make();
  TPopupMenu menu(owner.get());
  std::vector<int> ran;
  for (int i = 0; i < 3; ++i) {
    auto* item = new TMenuItem(owner.get());
    item->SetCaption(L"Item " + std::to_wstring(i));
    item->SetDefault(i == 1);
    item->OnClick = [&ran, i](TObject*) { ran.push_back(i); };
    menu.GetItems()->Add(item);
  }
  tray->SetPopupMenu(&menu);
  tray->OnDblClick = [](TObject*) {};
  Send(WM_LBUTTONDBLCLK);
  EXPECT_EQ(ran, std::vector<int>{1});

  tray->SetLeftPopup(true);
  ran.clear();
  // The left button would drop the menu down: close it as soon as it shows.
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
  Send(WM_LBUTTONDBLCLK);
  EXPECT_TRUE(ran.empty());
}

TEST_F(TrayIconTest, TheRestartedTaskbarGetsBackOnlyAVisibleIcon) {
  Make();
  const UINT taskbarCreated = TCoolTrayIcon::TaskbarCreatedMessage();
  ASSERT_NE(taskbarCreated, 0u);
  SendMessageW(Application->GetHandle(), taskbarCreated, 0, 0);
  EXPECT_EQ(shell.Count(NIM_ADD), 0) << "a hidden icon stays hidden";
  tray->SetIconVisible(true);
  SendMessageW(Application->GetHandle(), taskbarCreated, 0, 0);
  EXPECT_EQ(shell.Count(NIM_ADD), 2);
}

TEST_F(TrayIconTest, ACallbackForAnIconThatWentIsDropped) {
  Make();
  auto other = std::make_unique<TCoolTrayIcon>(owner.get());  // keeps the shared window
  int clicks = 0;
  tray->OnClick = [&](TObject*) { ++clicks; };
  const UINT goneId = tray->GetIconId();
  tray.reset();
  SendMessageW(TCoolTrayIcon::HandlerWindow(), TCoolTrayIcon::CallbackMessage, goneId, WM_LBUTTONDOWN);
  SendMessageW(TCoolTrayIcon::HandlerWindow(), TCoolTrayIcon::CallbackMessage, goneId, WM_LBUTTONUP);
  EXPECT_EQ(clicks, 0);
  EXPECT_NE(other->GetIconId(), goneId);
}

TEST_F(TrayIconTest, ADisabledIconRaisesNoMouseEvents) {
  Make();
  int downs = 0;
  tray->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  tray->SetEnabled(false);
  Send(WM_RBUTTONDOWN);
  tray->SetEnabled(true);
  Send(WM_RBUTTONDOWN);
  EXPECT_EQ(downs, 1);
}

TEST_F(TrayIconTest, MinimisingTheMainFormHidesItAndItsButtonBehindTheIcon) {
  std::unique_ptr<TForm> form(CreateFormNew<TForm>(Application));
  TCustomForm* previousMain = Application->GetMainForm();
  Application->SetMainForm(form.get());
  const TOnExit restoreMain([&] { Application->SetMainForm(previousMain); });
  form->Show();
  ShowWindow(Application->GetHandle(), SW_SHOWNA);
  {
    TCoolTrayIcon formTray(form.get());
    formTray.SetMinimizeToTray(true);
    form->Perform(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(50ms);
    EXPECT_FALSE(form->GetVisible());
    EXPECT_FALSE(IsWindowVisible(Application->GetHandle())) << "no taskbar button left";
    EXPECT_TRUE(formTray.GetIconVisible());
    EXPECT_EQ(shell.Count(NIM_ADD), 1);

    formTray.RestoreMainForm();
    formTray.ShowApplicationButton();
    Pump(50ms);
    EXPECT_TRUE(form->GetVisible());
    EXPECT_TRUE(IsWindowVisible(Application->GetHandle()));
  }
  ShowWindow(Application->GetHandle(), SW_HIDE);
}

// A form that owns its tray icon frees it last, after its own window and message
// road are gone; the icon leaves the shell and touches nothing of the form.
TEST_F(TrayIconTest, AFormThatOwnsItsIconGoesWithIt) {
  for (int i = 0; i < 3; ++i) {
    TForm* form = CreateFormNew<TForm>(Application);
    auto* icon = new TCoolTrayIcon(form);
    icon->SetIconVisible(true);
    form->Show();
    Pump(20ms);
    delete form;
  }
  EXPECT_EQ(shell.Count(NIM_ADD), 3);
  EXPECT_EQ(shell.Count(NIM_DELETE), 3);
}

// Wine's explorer keeps a tray: the real shell takes our icon and lets it go.
TEST(TrayIconOnTheSystemTray, TheShellTakesAndRemovesTheIcon) {
  TComponent owner(nullptr);
  TCoolTrayIcon tray(&owner);
  std::unique_ptr<TIcon> icon(MakeIcon(200));
  tray.SetIcon(icon.get());
  tray.SetHint(L"Qorn test icon");
  EXPECT_TRUE(tray.ShowIcon());
  EXPECT_TRUE(tray.ModifyIcon());
  EXPECT_TRUE(tray.HideIcon());
}

}  // namespace
