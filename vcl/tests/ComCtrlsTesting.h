// The form of the common-control tests and the message pumping they share.
#pragma once
#include <gtest/gtest.h>

#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/ComCtrls.h"
#include "vcl/Forms.h"

#include <chrono>
#include <functional>
#include <initializer_list>
#include <thread>

namespace comctrls_testing {

using namespace std::chrono_literals;

// A press and release posted together: the controls' own mouse loops wait for
// the release in the queue.
inline void PostClick(HWND wnd, int x, int y, bool right = false) {
  PostMessageW(wnd, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageW(wnd, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump(30ms);
}

// A key's message data as the keyboard gives it: repeat count 1 and the scan code
// (some controls read the key from it), and for a release the up bits.
inline LPARAM KeyData(WORD key, bool up) {
  LPARAM data = 1 | static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16);
  if (up) data |= static_cast<LPARAM>(0xC0000000u);
  return data;
}

// Posts a key with the modifier keys held around it, each step handled before
// the next as when a person types.
inline void PostKey(HWND wnd, WORD key, std::initializer_list<WORD> held = {}) {
  auto post = [&](UINT msg, WORD k) {
    PostMessageW(wnd, msg, k, KeyData(k, msg == WM_KEYUP));
    Pump(10ms);
  };
  for (WORD m : held) post(WM_KEYDOWN, m);
  post(WM_KEYDOWN, key);
  post(WM_KEYUP, key);
  for (WORD m : held) post(WM_KEYUP, m);
}

class TTestComCtrlsForm : public TForm {
  QORN_CLASS(TTestComCtrlsForm, TForm)
 public:
  explicit TTestComCtrlsForm(TComponent* AOwner) : TForm(AOwner) {}
  TListView* ListView1 = nullptr;
  TTreeView* TreeView1 = nullptr;
  THotKey* HotKey1 = nullptr;

 private:
  static void Publish(TPublisher<TTestComCtrlsForm>& p) {
    p.Field(L"ListView1", &TTestComCtrlsForm::ListView1);
    p.Field(L"TreeView1", &TTestComCtrlsForm::TreeView1);
    p.Field(L"HotKey1", &TTestComCtrlsForm::HotKey1);
  }
};
QORN_REGISTER_CLASS(TTestComCtrlsForm);

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestComCtrlsForm>(Application);
    form->Show();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(form->GetHandle()) != 0; }));
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TTestComCtrlsForm* form = nullptr;
};

}  // namespace comctrls_testing
