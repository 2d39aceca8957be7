// One road for every message: a subclass declares a handler for any message, and
// the handler's inherited call reaches the nearest ancestor's handler of that
// message, or the default handling when no ancestor has one.
#include <gtest/gtest.h>

#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"
#include "testing/PumpApplication.h"

#include <string>
#include <vector>

namespace {

std::vector<std::wstring>& Log() {
  static std::vector<std::wstring> log;
  return log;
}

constexpr unsigned CM_PROBE = CM_PRIVATE + 50;

// The middle of a chain: handles WM_PAINT and the private message itself.
class TRoadBase : public TCustomControl {
  QORN_CLASS(TRoadBase, TCustomControl)
 public:
  explicit TRoadBase(TComponent* AOwner) : TCustomControl(AOwner) {}
  int Painted = 0;
  void WMPaint(TMessage& m) {
    Log().push_back(L"base paint");
    QORN_INHERITED(m);
  }
  void CMProbe(TMessage& m) {
    Log().push_back(L"base probe");
    m.Result = 7;
  }

 protected:
  void Paint() override { ++Painted; }

 private:
  static void Publish(TPublisher<TRoadBase>& p) {
    p.Message(WM_PAINT, &TRoadBase::WMPaint);
    p.Message(CM_PROBE, &TRoadBase::CMProbe);
  }
};

// A leaf: one message of each kind, each passed on.
class TRoadLeaf : public TRoadBase {
  QORN_CLASS(TRoadLeaf, TRoadBase)
 public:
  explicit TRoadLeaf(TComponent* AOwner) : TRoadBase(AOwner) {}
  void Note(TMessage& m, const wchar_t* what) {
    Log().push_back(what);
    QORN_INHERITED(m);
  }
  void WMPaint(TMessage& m) { Note(m, L"leaf paint"); }
  void WMLButtonDown(TMessage& m) { Note(m, L"leaf press"); }
  void WMSetText(TMessage& m) { Note(m, L"leaf text"); }
  void CMTextChanged(TMessage& m) { Note(m, L"leaf text changed"); }
  void CMProbe(TMessage& m) { Note(m, L"leaf probe"); }
  // No ancestor handles it: the inherited call is the window's default.
  void WMNCHitTest(TMessage& m) { Note(m, L"leaf hit test"); }

 private:
  static void Publish(TPublisher<TRoadLeaf>& p) {
    p.Message(WM_PAINT, &TRoadLeaf::WMPaint);
    p.Message(WM_LBUTTONDOWN, &TRoadLeaf::WMLButtonDown);
    p.Message(WM_SETTEXT, &TRoadLeaf::WMSetText);
    p.Message(CM_TEXTCHANGED, &TRoadLeaf::CMTextChanged);
    p.Message(CM_PROBE, &TRoadLeaf::CMProbe);
    p.Message(WM_NCHITTEST, &TRoadLeaf::WMNCHitTest);
  }
};

// A reflected notification, and messages the combo box itself handles.
class TRoadCombo : public TComboBox {
  QORN_CLASS(TRoadCombo, TComboBox)
 public:
  explicit TRoadCombo(TComponent* AOwner) : TComboBox(AOwner) {}
  void WMSetText(TMessage& m) {
    Log().push_back(L"combo text");
    QORN_INHERITED(m);
  }
  void CNCommand(TMessage& m) {
    if (HIWORD(m.WParam) == CBN_SELCHANGE) Log().push_back(L"combo selchange");
    QORN_INHERITED(m);
  }

 private:
  static void Publish(TPublisher<TRoadCombo>& p) {
    p.Message(WM_SETTEXT, &TRoadCombo::WMSetText);
    p.Message(CN_COMMAND, &TRoadCombo::CNCommand);
  }
};

class MessageRoad : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    form = CreateFormNew<TForm>(Application);
    form->SetBounds(640, 80, 300, 200);
    leaf = new TRoadLeaf(form);
    leaf->SetParent(form);
    leaf->SetBounds(10, 10, 120, 60);
    combo = new TRoadCombo(form);
    combo->SetParent(form);
    combo->SetBounds(140, 10, 120, 24);
    form->Show();
    Pump(std::chrono::milliseconds(20));
    Log().clear();
  }
  void TearDown() override { delete form; }
  TForm* form = nullptr;
  TRoadLeaf* leaf = nullptr;
  TRoadCombo* combo = nullptr;
};

TEST_F(MessageRoad, EachKindReachesTheSubclassAndThenItsAncestors) {
  // A mouse press: the leaf, then the control's own press handling (capture).
  SendMessageW(leaf->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"leaf press"}));
  EXPECT_TRUE(leaf->GetMouseCapture());
  SendMessageW(leaf->GetHandle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

  // A text: the leaf's WM_SETTEXT, the window keeps it, then CM_TEXTCHANGED.
  Log().clear();
  SetWindowTextW(leaf->GetHandle(), L"Road");
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"leaf text", L"leaf text changed"}));
  EXPECT_EQ(leaf->GetText(), L"Road");

  // Painting: leaf, then the middle class, then the control's painting.
  Log().clear();
  RedrawWindow(leaf->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"leaf paint", L"base paint"}));
  EXPECT_GE(leaf->Painted, 1);

  // A private message through Perform: the leaf, then the middle class's answer.
  Log().clear();
  EXPECT_EQ(leaf->Perform(CM_PROBE), 7);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"leaf probe", L"base probe"}));

  // A message only the window's class answers.
  RECT r;
  GetWindowRect(leaf->GetHandle(), &r);
  Log().clear();
  EXPECT_EQ(SendMessageW(leaf->GetHandle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 5, r.top + 5)), HTCLIENT);
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"leaf hit test"}));
}

TEST_F(MessageRoad, MessagesABaseControlHandlesStillReachTheSubclass) {
  combo->GetItems()->Add(L"one");
  combo->GetItems()->Add(L"two");
  combo->SetStyle(csDropDownList);
  combo->SetItemIndex(0);
  Log().clear();
  // The list-only combo box answers a text by choosing that line: after the subclass.
  SetWindowTextW(combo->GetHandle(), L"two");
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"combo text"}));
  EXPECT_EQ(combo->GetItemIndex(), 1);

  // A notification of its window comes back reflected as CN_COMMAND.
  Log().clear();
  SendMessageW(form->GetHandle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo->GetHandle()), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo->GetHandle()));
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"combo selchange"}));
}

}  // namespace
