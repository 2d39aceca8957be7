// AutoSize of windowed containers: a panel fits its visible children inside its
// bevels and border, and fits again as they change; every border setter sends
// CM_BORDERCHANGED. screenshots/vcl-autosize.png shows a fitted panel.
// ctest-lock: keyboard
#include <gtest/gtest.h>

#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

#include <functional>
#include <memory>

namespace {

struct AutoSize : ::testing::Test {
  void SetUp() override {
    form.reset(CreateFormNew<TForm>(nullptr));
    form->SetBounds(120, 120, 360, 260);
    form->SetCaption(L"AutoSize");
    form->SetColor(clBtnFace);
  }
  // A raised panel with a 3-pixel border: 4 pixels of frame on each side.
  TPanel* Panel() {
    auto* panel = new TPanel(form.get());
    panel->SetBounds(10, 10, 200, 150);
    panel->SetBorderWidth(3);
    panel->SetColor(clWindow);
    panel->SetParent(form.get());
    return panel;
  }
  TControl* Child(TWinControl* parent, TRect bounds, TColor colour = clSkyBlue) {
    auto* c = new TPanel(form.get());
    c->SetBoundsRect(bounds);
    c->SetBevelOuter(bvNone);
    c->SetColor(colour);
    c->SetParent(parent);
    return c;
  }
  std::unique_ptr<TForm> form;
};

TEST_F(AutoSize, APanelFitsItsChildrenInsideItsFrame) {
  TPanel* panel = Panel();
  TControl* a = Child(panel, Bounds(30, 30, 40, 20));
  TControl* b = Child(panel, Bounds(50, 60, 30, 10), clMoneyGreen);
  form->Show();
  panel->SetAutoSize(true);
  // The children's box (30,30)-(80,70) moves to the inner corner (4,4).
  EXPECT_EQ(panel->GetBoundsRect(), Bounds(10, 10, 50 + 8, 40 + 8));
  EXPECT_EQ(a->GetBoundsRect(), Bounds(4, 4, 40, 20));
  EXPECT_EQ(b->GetBoundsRect(), Bounds(24, 34, 30, 10));
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != FALSE; }));
  Pump(std::chrono::milliseconds(100));
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vcl-autosize.png"));
}

TEST_F(AutoSize, ThePanelFitsAgainAsItsChildrenAndItsBorderChange) {
  TPanel* panel = Panel();
  TControl* a = Child(panel, Bounds(4, 4, 40, 20));
  form->Show();
  panel->SetAutoSize(true);
  ASSERT_EQ(panel->GetBoundsRect(), Bounds(10, 10, 48, 28));
  struct Case {
    const char* what;
    std::function<void()> change;
    int width, height;
  };
  TControl* b = nullptr;
  const Case cases[] = {
      {"a child grows", [&] { a->SetWidth(60); }, 68, 28},
      {"a child comes", [&] { b = Child(panel, Bounds(4, 24, 20, 30)); }, 68, 58},
      {"a child hides", [&] { a->SetVisible(false); }, 28, 38},
      {"a child shows", [&] { a->SetVisible(true); }, 68, 38},  // b moved up to the corner
      {"a child moves", [&] { b->SetTop(34); }, 68, 68},
      {"a child goes", [&] { delete b; }, 68, 28},
      {"the border widens", [&] { panel->SetBorderWidth(6); }, 74, 34},
      {"a bevel comes", [&] { panel->SetBevelInner(bvLowered); }, 76, 36},
  };
  for (const Case& c : cases) {
    c.change();
    EXPECT_EQ(panel->GetWidth(), c.width) << c.what;
    EXPECT_EQ(panel->GetHeight(), c.height) << c.what;
  }
  // The window follows the object.
  RECT r;
  GetWindowRect(panel->GetHandle(), &r);
  EXPECT_EQ(r.right - r.left, 76);
}

TEST_F(AutoSize, WithoutChildrenToFitTheSizeStays) {
  TPanel* empty = Panel();
  Child(empty, Bounds(5, 5, 10, 10))->SetVisible(false);
  auto* edit = new TEdit(form.get());
  edit->SetBounds(10, 170, 120, 22);
  edit->SetParent(form.get());
  Child(edit, Bounds(100, 2, 16, 16));  // a button inside an edit is no content to fit
  form->Show();
  empty->SetAutoSize(true);
  edit->SetAutoSize(true);
  EXPECT_EQ(empty->GetBoundsRect(), Bounds(10, 10, 200, 150));
  EXPECT_EQ(edit->GetBoundsRect(), Bounds(10, 170, 120, 22));
}

TEST_F(AutoSize, AFormResourceFitsThePanelOnceRead) {
  ReadComponentFromText(form.get(), R"(object Fit: TForm
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    AutoSize = True
    BevelOuter = bvNone
    object Label1: TLabel
      Left = 12
      Top = 10
      Width = 50
      Height = 13
      AutoSize = False
    end
    object Edit1: TEdit
      Left = 12
      Top = 30
      Width = 100
      Height = 21
    end
  end
end
)", L"FIT");
  auto* panel = dynamic_cast<TPanel*>(form->FindComponent(L"Panel1"));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->GetBoundsRect(), Bounds(8, 8, 100, 41));
  EXPECT_EQ(dynamic_cast<TControl*>(form->FindComponent(L"Edit1"))->GetBoundsRect(), Bounds(0, 20, 100, 21));
}

// Each border setter: one CM_BORDERCHANGED for a change, none for the same value.
TEST_F(AutoSize, BorderSettersSendBorderChanged) {
  TPanel* panel = Panel();
  auto* edit = new TEdit(form.get());
  edit->SetParent(form.get());
  auto* list = new TListBox(form.get());
  list->SetParent(form.get());
  form->Show();
  struct Case {
    const char* what;
    TControl* control;
    std::function<void()> set;
  };
  const Case cases[] = {
      {"panel BevelInner", panel, [&] { panel->SetBevelInner(bvRaised); }},
      {"panel BevelOuter", panel, [&] { panel->SetBevelOuter(bvLowered); }},
      {"panel BevelWidth", panel, [&] { panel->SetBevelWidth(2); }},
      {"panel BorderWidth", panel, [&] { panel->SetBorderWidth(5); }},
      {"panel BorderStyle", panel, [&] { panel->SetBorderStyle(bsSingle); }},
      {"edit BorderStyle", edit, [&] { edit->SetBorderStyle(bsNone); }},
      {"list box BorderStyle", list, [&] { list->SetBorderStyle(bsNone); }},
  };
  for (const Case& c : cases) {
    int sent = 0;
    c.control->WindowProc = [&, control = c.control](TMessage& m) {
      if (m.Msg == CM_BORDERCHANGED) ++sent;
      control->WndProc(m);
    };
    c.set();
    EXPECT_EQ(sent, 1) << c.what;
    c.set();
    EXPECT_EQ(sent, 1) << c.what << ", the same value again";
    c.control->WindowProc = [control = c.control](TMessage& m) { control->WndProc(m); };
  }
  // The frame the panel's children align in follows at once.
  auto* child = Child(panel, Bounds(0, 0, 10, 10));
  child->SetAlign(alClient);
  EXPECT_EQ(child->GetLeft(), 5 + 2 + 2);
  panel->SetBorderWidth(1);
  EXPECT_EQ(child->GetLeft(), 1 + 2 + 2);
}

}  // namespace
