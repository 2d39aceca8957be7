// ctest-lock: keyboard
// The windows behind forms: styles from BorderStyle and FormStyle, positions, the
// layered attributes, showing without activation, activation events; and the
// application window (activation messages, hooks, message boxes, top-most windows).
// desktop-input: these tests activate windows, which ends the hints of the others.
#include <gtest/gtest.h>

#include "vcl/Dialogs.h"
#include "vcl/Forms.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

struct FormDeleter {
  void operator()(TForm* f) const { delete f; }
};
using FormPtr = std::unique_ptr<TForm, FormDeleter>;

FormPtr NewForm(const wchar_t* caption) {
  FormPtr f(CreateFormNew<TForm>(Application));
  f->SetCaption(caption);
  f->SetBounds(500, 420, 300, 200);
  return f;
}

struct StyleCase {
  const char* name;
  TFormBorderStyle border;
  TFormStyle formStyle;
  DWORD present, absent, exPresent, exAbsent;
};

class FormStyles : public ::testing::TestWithParam<StyleCase> {};

TEST_P(FormStyles, BorderAndFormStyleMakeTheWindowStyle) {
  const StyleCase& c = GetParam();
  for (bool atRunTime : {false, true}) {
    FormPtr form = NewForm(L"Styled");
    if (!atRunTime) {
      form->SetBorderStyle(c.border);
      form->SetFormStyle(c.formStyle);
    }
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
    if (atRunTime) {
      // Changed on a shown form: a new window, the same caption and place.
      form->SetBorderStyle(c.border);
      form->SetFormStyle(c.formStyle);
      Pump(10ms);
      wchar_t text[32] = {};
      GetWindowTextW(form->GetHandle(), text, 32);
      EXPECT_STREQ(text, L"Styled") << c.name;
      EXPECT_EQ(form->GetLeft(), 500) << c.name;
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(form->GetHandle(), GWL_STYLE));
    const DWORD ex = static_cast<DWORD>(GetWindowLongPtrW(form->GetHandle(), GWL_EXSTYLE));
    EXPECT_EQ(style & c.present, c.present) << c.name << (atRunTime ? " (changed when shown)" : "");
    EXPECT_EQ(style & c.absent, 0u) << c.name;
    EXPECT_EQ(ex & c.exPresent, c.exPresent) << c.name;
    EXPECT_EQ(ex & c.exAbsent, 0u) << c.name;
    EXPECT_EQ(style & WS_CHILD, 0u) << c.name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormStyles,
    ::testing::Values(
        StyleCase{"sizeable", bsSizeable, fsNormal, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                  0, 0, WS_EX_TOPMOST | WS_EX_TOOLWINDOW},
        StyleCase{"single", bsSingle, fsNormal, WS_CAPTION | WS_SYSMENU, WS_THICKFRAME, 0, WS_EX_TOOLWINDOW},
        StyleCase{"dialog", bsDialog, fsNormal, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                  WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_EX_DLGMODALFRAME, 0},
        StyleCase{"tool window", bsToolWindow, fsNormal, WS_CAPTION, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME,
                  WS_EX_TOOLWINDOW, 0},
        StyleCase{"sizeable tool window", bsSizeToolWin, fsNormal, WS_CAPTION | WS_THICKFRAME, WS_MINIMIZEBOX,
                  WS_EX_TOOLWINDOW, 0},
        StyleCase{"none", bsNone, fsNormal, WS_POPUP, WS_CAPTION | WS_THICKFRAME | WS_SYSMENU, 0, 0},
        StyleCase{"stay on top", bsSizeable, fsStayOnTop, WS_CAPTION, 0, WS_EX_TOPMOST, 0},
        StyleCase{"topmost tool window", bsToolWindow, fsStayOnTop, WS_CAPTION, 0, WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                  0}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (auto& ch : n)
        if (ch == ' ') ch = '_';
      return n;
    });

TEST(FormWindows, ScreenCenterPlacesTheFormInTheMiddle) {
  FormPtr form = NewForm(L"Centered");
  form->SetPosition(poScreenCenter);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  RECT r;
  GetWindowRect(form->GetHandle(), &r);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 200) / 2);
}

TEST(FormWindows, OwnerFormCenterCentresOverTheOwner) {
  FormPtr owner = NewForm(L"Owner");
  owner->SetBounds(100, 100, 500, 400);
  owner->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(owner->GetHandle()) != 0; }));
  auto* child = CreateFormNew<TForm>(owner.get());
  child->SetBounds(0, 0, 200, 100);
  child->SetPosition(poOwnerFormCenter);
  child->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(child->GetHandle()) != 0; }));
  EXPECT_EQ(child->GetLeft(), 100 + (500 - 200) / 2);
  EXPECT_EQ(child->GetTop(), 100 + (400 - 100) / 2);
}

TEST(FormWindows, AlphaBlendAndColourKeyMakeALayeredWindow) {
  FormPtr form = NewForm(L"Layered");
  form->SetAlphaBlend(true);
  form->SetAlphaBlendValue(128);
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  HWND wnd = form->GetHandle();
  ASSERT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  COLORREF key = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  form->SetTransparentColorValue(clFuchsia);
  form->SetTransparentColor(true);
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
  EXPECT_EQ(key, RGB(255, 0, 255));
  // Kept when the window is made again.
  form->SetBorderStyle(bsSingle);
  wnd = form->GetHandle();
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, &key, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  form->SetAlphaBlend(false);
  form->SetTransparentColor(false);
  EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) << "the form's own layer goes";
}

TEST(FormWindows, ALayerSetOutsideTheFormIsNeverStripped) {
  FormPtr form = NewForm(L"Per-pixel");
  form->Show();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  HWND wnd = form->GetHandle();
  // As a display does for UpdateLayeredWindow.
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  form->SetAlphaBlend(true);
  form->SetAlphaBlend(false);
  EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(FormWindows, VisibleOnAWindowAlreadyShownOnlySetsTheFlag) {
  FormPtr active = NewForm(L"Active one");
  active->Show();
  Pump(20ms);
  FormPtr display = NewForm(L"Display");
  display->SetBorderStyle(bsNone);
  display->SetFormStyle(fsStayOnTop);
  int shows = 0, activations = 0, positions = 0;
  display->OnShow = [&](TObject*) { ++shows; };
  HWND wnd = display->GetHandle();
  auto original = display->WindowProc;
  display->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_ACTIVATE && LOWORD(m.WParam) != WA_INACTIVE) ++activations;
    if (m.Msg == WM_WINDOWPOSCHANGING) {
      auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
      if (!(pos->flags & SWP_NOZORDER)) ++positions;
    }
    original(m);
  };
  ShowWindow(wnd, SW_SHOWNA);
  activations = positions = 0;
  display->SetVisible(true);
  Pump(20ms);
  display->WindowProc = original;
  EXPECT_TRUE(display->GetVisible());
  EXPECT_EQ(activations, 0) << "not activated";
  EXPECT_EQ(positions, 0) << "Z order left alone";
  EXPECT_EQ(shows, 1);
}

TEST(FormWindows, ShowActivatesAndAnotherFormDeactivates) {
  FormPtr first = NewForm(L"First");
  FormPtr second = NewForm(L"Second");
  std::vector<std::wstring> events;
  for (TForm* f : {first.get(), second.get()}) {
    const std::wstring name = f->GetCaption();
    f->OnShow = [&events, name](TObject*) { events.push_back(L"show " + name); };
    f->OnActivate = [&events, name](TObject*) { events.push_back(L"activate " + name); };
    f->OnDeactivate = [&events, name](TObject*) { events.push_back(L"deactivate " + name); };
    f->OnHide = [&events, name](TObject*) { events.push_back(L"hide " + name); };
  }
  first->Show();
  ASSERT_TRUE(PumpUntil([&] { return first->GetActive(); }));
  second->Show();
  ASSERT_TRUE(PumpUntil([&] { return second->GetActive(); }));
  second->Hide();
  Pump(20ms);
  // Hiding deactivates it on its way out (the activation may go back to First,
  // unless another program on the display has taken it), then OnHide.
  const std::vector<std::wstring> expected = {L"show First",       L"activate First",  L"show Second",
                                              L"deactivate First", L"activate Second", L"deactivate Second"};
  ASSERT_GE(events.size(), expected.size() + 1);
  EXPECT_EQ(std::vector<std::wstring>(events.begin(), events.begin() + static_cast<long>(expected.size())), expected);
  EXPECT_EQ(events.back(), L"hide Second");
  EXPECT_FALSE(first->GetActive() && second->GetActive());
}

TEST(FormWindows, ScreenListsFormsInCreationOrder) {
  const int before = Screen->GetFormCount();
  FormPtr a = NewForm(L"A");
  FormPtr b = NewForm(L"B");
  ASSERT_EQ(Screen->GetFormCount(), before + 2);
  EXPECT_EQ(Screen->GetForms(before), a.get());
  EXPECT_EQ(Screen->GetForms(before + 1), b.get());
  a.reset();
  EXPECT_EQ(Screen->GetFormCount(), before + 1);
  EXPECT_EQ(Screen->GetForms(before), b.get());
  EXPECT_GT(Screen->GetMonitorCount(), 0);
  EXPECT_EQ(Screen->GetMonitors(0)->GetBoundsRect().Width(), Screen->GetWidth());
}

// --- the application window

TEST(ApplicationWindow, HooksSeeItsMessagesFirst) {
  HWND app = Application->GetHandle();
  ASSERT_TRUE(IsWindow(app));
  const UINT probe = RegisterWindowMessageW(L"QornVclHookProbe");
  int seen = 0;
  TWindowHook hook = [&](TMessage& m) {
    if (m.Msg != probe) return false;
    ++seen;
    m.Result = 77;
    return true;
  };
  Application->HookMainWindow(hook);
  EXPECT_EQ(SendMessageW(app, probe, 0, 0), 77);
  Application->UnhookMainWindow(hook);
  EXPECT_EQ(SendMessageW(app, probe, 0, 0), 0);
  EXPECT_EQ(seen, 1);
}

TEST(ApplicationWindow, ActivateAppIsPostedAsComponentMessages) {
  Pump(20ms);  // what earlier windows left in the queue
  std::vector<std::wstring> events;
  Application->OnActivate = [&](TObject*) { events.push_back(L"activate"); };
  Application->OnDeactivate = [&](TObject*) { events.push_back(L"deactivate"); };
  HWND app = Application->GetHandle();
  // Posted, not run inside WM_ACTIVATEAPP: a peeking loop sees CM_DEACTIVATE.
  SendMessageW(app, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_TRUE(events.empty());
  EXPECT_FALSE(Application->GetActive());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, app, CM_DEACTIVATE, CM_DEACTIVATE, PM_NOREMOVE));
  Pump(10ms);
  SendMessageW(app, WM_ACTIVATEAPP, TRUE, 0);
  Pump(10ms);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"deactivate", L"activate"}));
  EXPECT_TRUE(Application->GetActive());
  Application->OnActivate = nullptr;
  Application->OnDeactivate = nullptr;
}

// Answers message boxes without a window, keeping their texts.
struct TMessageBoxAnswers : TDialogService {
  std::vector<std::wstring> texts;
  bool ExecuteFileDialog(HWND, TOpenDialog&) override { return false; }
  bool ExecuteFontDialog(HWND, TFontDialog&) override { return false; }
  bool ExecuteColorDialog(HWND, TColorDialog&) override { return false; }
  bool InputQuery(HWND, const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
  int MessageBox(HWND, const std::wstring& text, const std::wstring&, unsigned) override {
    texts.push_back(text);
    return IDOK;
  }
};

TEST(ApplicationWindow, MessageBoxGoesThroughTheSeamAndExceptionsShowThere) {
  TMessageBoxAnswers answers;
  TDialogServiceOverride use(answers);
  EXPECT_EQ(Application->MessageBox(L"Hello", L"Title", MB_OKCANCEL), IDOK);
  try {
    throw EConvertError(L"'abc' is not a valid integer value");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  try {
    Abort();
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_EQ(answers.texts, (std::vector<std::wstring>{L"Hello", L"'abc' is not a valid integer value."}));
}

}  // namespace
