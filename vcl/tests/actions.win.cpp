// Actions on a real form read from its resource: the action's caption, enabled
// state and hint reach the buttons and the menu item that name it (their windows
// and the native menu too), a client's own values survive, a click runs the action
// for its client, the idle loop runs OnUpdate, and either side may go first.
#include <gtest/gtest.h>

#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/ActnList.h"
#include "vcl/Buttons.h"
#include "vcl/Forms.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

class TTestActionsForm : public TForm {
  QORN_CLASS(TTestActionsForm, TForm)
 public:
  explicit TTestActionsForm(TComponent* AOwner) : TForm(AOwner) {}
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TActionList* Actions1 = nullptr;
  TAction* SaveAction = nullptr;
  TPopupMenu* Menu1 = nullptr;
  TMenuItem* Save1 = nullptr;
  // Who ran the action, as the action saw it.
  std::vector<TComponent*> executedFor;
  void SaveActionExecute(TObject* Sender) {
    executedFor.push_back(static_cast<TBasicAction*>(Sender)->GetActionComponent());
  }

 private:
  static void Publish(TPublisher<TTestActionsForm>& p) {
    p.Field(L"Button1", &TTestActionsForm::Button1);
    p.Field(L"Button2", &TTestActionsForm::Button2);
    p.Field(L"SpeedButton1", &TTestActionsForm::SpeedButton1);
    p.Field(L"Actions1", &TTestActionsForm::Actions1);
    p.Field(L"SaveAction", &TTestActionsForm::SaveAction);
    p.Field(L"Menu1", &TTestActionsForm::Menu1);
    p.Field(L"Save1", &TTestActionsForm::Save1);
    p.Handler(L"SaveActionExecute", &TTestActionsForm::SaveActionExecute);
  }
};
QORN_REGISTER_CLASS(TTestActionsForm);

std::wstring WindowText(HWND wnd) {
  wchar_t buffer[128] = {};
  GetWindowTextW(wnd, buffer, 128);
  return buffer;
}

// Turns the application's own loop, idle work included, until cond holds; a thread
// timer wakes the loop's wait so the idle work comes round again.
bool IdleUntil(const std::function<bool()>& cond) {
  const UINT_PTR wake = SetTimer(nullptr, 0, 10, nullptr);
  const auto end = std::chrono::steady_clock::now() + 5s;
  bool met = cond();
  while (!met && std::chrono::steady_clock::now() < end) {
    Application->HandleMessage();
    met = cond();
  }
  KillTimer(nullptr, wake);
  return met;
}

class Actions : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestActionsForm>(Application);
    form->Show();
    ASSERT_TRUE(qorn::testing::WaitFor([&] { return IsWindowVisible(form->GetHandle()) != 0; }, 3s));
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  // The menu item as the native menu shows it.
  std::wstring MenuText() {
    wchar_t buffer[128] = {};
    GetMenuStringW(form->Menu1->GetHandle(), 0, buffer, 128, MF_BYPOSITION);
    return buffer;
  }
  bool MenuEnabled() {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STATE;
    EXPECT_TRUE(GetMenuItemInfoW(form->Menu1->GetHandle(), 0, TRUE, &mi));
    return (mi.fState & MFS_DISABLED) == 0;
  }
  TTestActionsForm* form = nullptr;
};

TEST_F(Actions, TheFormsActionGivesItsValuesToTheClientsThatLeftThemAtTheirDefaults) {
  ASSERT_EQ(form->SaveAction->GetActionList(), form->Actions1);
  ASSERT_EQ(form->Actions1->ActionCount(), 1);
  EXPECT_EQ(form->SaveAction->ClientCount(), 4);

  EXPECT_EQ(form->Button1->GetCaption(), L"&Save");
  EXPECT_EQ(WindowText(form->Button1->GetHandle()), L"&Save");
  EXPECT_FALSE(IsWindowEnabled(form->Button1->GetHandle()));
  EXPECT_EQ(form->Button1->GetHint(), L"Save the bindings");
  EXPECT_EQ(form->SpeedButton1->GetCaption(), L"&Save");
  EXPECT_FALSE(form->SpeedButton1->GetEnabled());
  EXPECT_EQ(form->Save1->GetCaption(), L"&Save");
  EXPECT_EQ(form->Save1->GetShortCut(), 16467);  // Ctrl+S
  EXPECT_EQ(MenuText(), L"&Save\tCtrl+S");
  EXPECT_FALSE(MenuEnabled());

  // Its own caption stays; the enabled state was still the default and follows.
  EXPECT_EQ(form->Button2->GetCaption(), L"Keep");
  EXPECT_FALSE(form->Button2->GetEnabled());

  form->SaveAction->SetEnabled(true);
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vcl_actions.png"));
}

TEST_F(Actions, ChangesOfTheActionReachTheLinkedButtonsAndMenuItemAndTheirWindows) {
  form->SaveAction->SetEnabled(true);
  form->SaveAction->SetCaption(L"Save &all");

  EXPECT_TRUE(IsWindowEnabled(form->Button1->GetHandle()));
  EXPECT_EQ(WindowText(form->Button1->GetHandle()), L"Save &all");
  EXPECT_TRUE(form->SpeedButton1->GetEnabled());
  EXPECT_EQ(form->SpeedButton1->GetCaption(), L"Save &all");
  EXPECT_TRUE(MenuEnabled());
  EXPECT_EQ(MenuText(), L"Save &all\tCtrl+S");

  // A caption of its own is not linked: only the enabled state follows.
  EXPECT_EQ(form->Button2->GetCaption(), L"Keep");
  EXPECT_TRUE(IsWindowEnabled(form->Button2->GetHandle()));

  // A client changed by hand leaves the link for that value only.
  form->Button1->SetCaption(L"Mine");
  form->SaveAction->SetCaption(L"Save");
  form->SaveAction->SetEnabled(false);
  EXPECT_EQ(form->Button1->GetCaption(), L"Mine");
  EXPECT_FALSE(IsWindowEnabled(form->Button1->GetHandle()));
  EXPECT_EQ(form->Save1->GetCaption(), L"Save");
}

TEST_F(Actions, AClickRunsTheActionForItsClientOnlyWhileTheActionIsEnabled) {
  SendMessageW(form->Button1->GetHandle(), BM_CLICK, 0, 0);
  form->Save1->Click();
  EXPECT_TRUE(form->executedFor.empty()) << "the action is disabled";

  form->SaveAction->SetEnabled(true);
  SendMessageW(form->Button1->GetHandle(), BM_CLICK, 0, 0);
  form->Save1->Click();
  form->SpeedButton1->Click();
  EXPECT_EQ(form->executedFor, (std::vector<TComponent*>{form->Button1, form->Save1, form->SpeedButton1}));
  EXPECT_EQ(form->SaveAction->GetActionComponent(), nullptr);

  // A handler of the client's own runs instead of the action.
  int own = 0;
  form->Button2->OnClick = [&](TObject*) { ++own; };
  SendMessageW(form->Button2->GetHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(own, 1);
  EXPECT_EQ(form->executedFor.size(), 3u);
}

TEST_F(Actions, TheIdleLoopLetsTheActionUpdateItsClients) {
  bool canSave = true;
  int updates = 0;
  form->SaveAction->OnUpdate = [&](TObject*) {
    ++updates;
    form->SaveAction->SetEnabled(canSave);
  };
  ASSERT_TRUE(IdleUntil([&] { return IsWindowEnabled(form->Button1->GetHandle()) != 0; }));
  EXPECT_TRUE(form->Save1->GetEnabled());
  canSave = false;
  ASSERT_TRUE(IdleUntil([&] { return IsWindowEnabled(form->Button1->GetHandle()) == 0; }));
  EXPECT_FALSE(form->SpeedButton1->GetEnabled());
  EXPECT_GT(updates, 1);
}

TEST_F(Actions, ClientAndActionMayBeFreedInEitherOrder) {
  delete form->Button2;
  EXPECT_EQ(form->SaveAction->ClientCount(), 3);

  delete form->SaveAction;
  EXPECT_EQ(form->Button1->GetAction(), nullptr);
  EXPECT_EQ(form->Save1->GetAction(), nullptr);
  EXPECT_EQ(form->Actions1->ActionCount(), 0);
  // The clients keep what they showed and click without an action.
  EXPECT_EQ(form->Button1->GetCaption(), L"&Save");
  int clicks = 0;
  form->Button1->OnClick = [&](TObject*) { ++clicks; };
  form->Button1->SetEnabled(true);
  SendMessageW(form->Button1->GetHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  Pump(30ms);  // an idle update with a dead action reaches nothing
}

TEST(ActionsByCode, AnActionAssignedByCodeOverwritesTheClientsValues) {
  TComponent owner(nullptr);
  auto* action = new TAction(&owner);
  action->SetCaption(L"Open");
  action->SetEnabled(false);
  auto* item = new TMenuItem(&owner);
  item->SetCaption(L"Old");
  item->SetAction(action);
  EXPECT_EQ(item->GetCaption(), L"Open");
  EXPECT_FALSE(item->GetEnabled());
  item->SetAction(nullptr);
  EXPECT_EQ(action->ClientCount(), 0);
  action->SetCaption(L"Close");
  EXPECT_EQ(item->GetCaption(), L"Open");
}

}  // namespace
