// One of every control on one form read from its resource: each is there with
// its class and window, inside the form, clear of its neighbours, painted; the
// screenshot (screenshots/vcl-all-controls.png) shows the whole form, with the
// panel's hint up.
// ctest-lock: keyboard
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "testing/WinTesting.h"
#include "vcl/Buttons.h"
#include "vcl/CheckLst.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Filer.h"
#include "vcl/ImgList.h"
#include "vcl/Forms.h"
#include "vcl/Mask.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "testing/PumpApplication.h"

#include <chrono>
#include <cwchar>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Its fields name one control of each class, so every class the form uses is
// linked in and registered.
class TTestAllControlsForm : public TForm {
  QORN_CLASS(TTestAllControlsForm, TForm)
 public:
  explicit TTestAllControlsForm(TComponent* AOwner) : TForm(AOwner) {}
  TMaskEdit* MaskEdit1 = nullptr;
  TMemo* Memo1 = nullptr;
  TComboBox* ComboBox1 = nullptr;
  TScrollBar* ScrollBar1 = nullptr;
  TRadioButton* RadioButton1 = nullptr;
  TGroupBox* GroupBox1 = nullptr;
  TCheckListBox* CheckListBox1 = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;
  TBitBtn* BitBtn1 = nullptr;
  TPanel* Panel1 = nullptr;
  TImage* Image1 = nullptr;
  TBevel* Bevel1 = nullptr;
  TListView* ListView1 = nullptr;
  TTreeView* TreeView1 = nullptr;
  THotKey* HotKey1 = nullptr;
  TPopupMenu* PopupMenu1 = nullptr;
  TImageList* ImageList1 = nullptr;

 private:
  static void Publish(TPublisher<TTestAllControlsForm>& p) {
    p.Field(L"MaskEdit1", &TTestAllControlsForm::MaskEdit1);
    p.Field(L"Memo1", &TTestAllControlsForm::Memo1);
    p.Field(L"ComboBox1", &TTestAllControlsForm::ComboBox1);
    p.Field(L"ScrollBar1", &TTestAllControlsForm::ScrollBar1);
    p.Field(L"RadioButton1", &TTestAllControlsForm::RadioButton1);
    p.Field(L"GroupBox1", &TTestAllControlsForm::GroupBox1);
    p.Field(L"CheckListBox1", &TTestAllControlsForm::CheckListBox1);
    p.Field(L"SpeedButton1", &TTestAllControlsForm::SpeedButton1);
    p.Field(L"BitBtn1", &TTestAllControlsForm::BitBtn1);
    p.Field(L"Panel1", &TTestAllControlsForm::Panel1);
    p.Field(L"Image1", &TTestAllControlsForm::Image1);
    p.Field(L"Bevel1", &TTestAllControlsForm::Bevel1);
    p.Field(L"ListView1", &TTestAllControlsForm::ListView1);
    p.Field(L"TreeView1", &TTestAllControlsForm::TreeView1);
    p.Field(L"HotKey1", &TTestAllControlsForm::HotKey1);
    p.Field(L"PopupMenu1", &TTestAllControlsForm::PopupMenu1);
    p.Field(L"ImageList1", &TTestAllControlsForm::ImageList1);
  }
};
QORN_REGISTER_CLASS(TTestAllControlsForm);

struct Expected {
  const wchar_t* Name;
  const wchar_t* ClassName;
};

// Every control class the form must show (other units add theirs here too).
const Expected kControls[] = {
    {L"Label1", L"TLabel"},           {L"Edit1", L"TEdit"},
    {L"MaskEdit1", L"TMaskEdit"},     {L"Memo1", L"TMemo"},
    {L"ComboBox1", L"TComboBox"},     {L"ComboBox2", L"TComboBox"},
    {L"ListBox1", L"TListBox"},       {L"ScrollBar1", L"TScrollBar"},
    {L"Button1", L"TButton"},         {L"BitBtn1", L"TBitBtn"},
    {L"CheckBox1", L"TCheckBox"},     {L"RadioButton1", L"TRadioButton"},
    {L"GroupBox1", L"TGroupBox"},     {L"RadioButton3", L"TRadioButton"},
    {L"CheckListBox1", L"TCheckListBox"}, {L"SpeedButton1", L"TSpeedButton"},
    {L"Panel1", L"TPanel"},           {L"Image1", L"TImage"},
    {L"Bevel1", L"TBevel"},           {L"ScrollBar2", L"TScrollBar"},
    {L"ListView1", L"TListView"},     {L"TreeView1", L"TTreeView"},
    {L"HotKey1", L"THotKey"},
};

class AllControls : public ::testing::Test {
 protected:
  void SetUp() override {
    form = CreateForm<TTestAllControlsForm>(Application);
    form->Show();
    Pump(150ms);
  }
  void TearDown() override {
    delete form;
    Pump(10ms);
  }
  TControl* Find(const wchar_t* name) { return dynamic_cast<TControl*>(form->FindComponent(name)); }
  TTestAllControlsForm* form = nullptr;
};

TEST_F(AllControls, EveryControlIsReadWithItsClassAndShowsInItsPlace) {
  for (const Expected& e : kControls) {
    SCOPED_TRACE(e.Name);
    TControl* c = Find(e.Name);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->ClassName(), e.ClassName);
  }
  ASSERT_NE(form->PopupMenu1, nullptr);
  EXPECT_EQ(form->ListView1->GetPopupMenu(), form->PopupMenu1);
  // Whatever the form holds: shown, inside its parent, clear of its siblings.
  for (int i = 0; i < form->ComponentCount(); ++i) {
    auto* c = dynamic_cast<TControl*>(form->Components(i));
    if (!c) continue;
    SCOPED_TRACE(c->Name());
    ASSERT_NE(c->GetParent(), nullptr);
    EXPECT_TRUE(c->GetVisible());
    const TRect parent = c->GetParent()->GetClientRect();
    const TRect r = c->GetBoundsRect();
    EXPECT_TRUE(r.Left >= parent.Left && r.Top >= parent.Top && r.Right <= parent.Right && r.Bottom <= parent.Bottom)
        << "bounds " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
      ASSERT_TRUE(w->HandleAllocated());
      EXPECT_TRUE(IsWindowVisible(w->WindowHandle()));
    }
    TWinControl* p = c->GetParent();
    for (int k = 0; k < p->ControlCount(); ++k) {
      TControl* other = p->Controls(k);
      if (other == c) continue;
      const TRect o = other->GetBoundsRect();
      const bool overlap = r.Left < o.Right && o.Left < r.Right && r.Top < o.Bottom && o.Top < r.Bottom;
      EXPECT_FALSE(overlap) << "overlaps " << std::string(other->Name().begin(), other->Name().end());
    }
  }
}

TEST_F(AllControls, TheFormIsPaintedAndItsScreenshotSaved) {
  auto* checks = dynamic_cast<TCheckListBox*>(Find(L"CheckListBox1"));
  ASSERT_NE(checks, nullptr);
  checks->SetChecked(1, true);
  form->TreeView1->FullExpand();
  form->ListView1->SetItemIndex(1);
  RedrawWindow(form->GetHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump(200ms);

  // The picture's yellow sun, and the panel's light outer bevel, on the screen.
  auto* image = dynamic_cast<TImage*>(Find(L"Image1"));
  auto* panel = dynamic_cast<TPanel*>(Find(L"Panel1"));
  ASSERT_NE(image, nullptr);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(image->GetWidth(), 32) << "AutoSize takes the picture's size";
  HDC dc = GetDC(form->GetHandle());
  const COLORREF sun = GetPixel(dc, image->GetLeft() + 22, image->GetTop() + 9);
  const COLORREF bevel = GetPixel(dc, panel->GetLeft() + 5, panel->GetTop());
  ReleaseDC(form->GetHandle(), dc);
  EXPECT_EQ(sun, RGB(255, 220, 0));
  EXPECT_EQ(bevel, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));

  // The image list's 32-bit pictures in the list view: the first row's red disc,
  // whole in its middle.
  ASSERT_NE(form->ImageList1, nullptr);
  EXPECT_EQ(form->ImageList1->GetCount(), 3);
  HWND list = form->ListView1->GetHandle();
  RECT icon{LVIR_ICON, 0, 0, 0};
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&icon)));
  HDC listDC = GetDC(list);
  const COLORREF disc = GetPixel(listDC, (icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
  ReleaseDC(list, listDC);
  EXPECT_EQ(disc, RGB(220, 30, 30));

  // The panel's hint, shown as the cursor resting on it shows it.
  const TPoint over = panel->ClientToScreen({panel->GetWidth() / 2, panel->GetHeight() / 2});
  SetCursorPos(over.X, over.Y);
  PostMessageW(panel->GetHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(panel->GetWidth() / 2, panel->GetHeight() / 2));
  auto hintShown = [] { return Application->GetHintWindow() && Application->GetHintWindow()->IsHintShown(); };
  for (auto end = std::chrono::steady_clock::now() + 3s; !hintShown() && std::chrono::steady_clock::now() < end;)
    Pump(10ms);
  ASSERT_TRUE(hintShown());
  EXPECT_EQ(Application->GetHintWindow()->GetCaption(), L"The panel's hint");
  Pump(50ms);
  EXPECT_TRUE(qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "vcl-all-controls.png"));
  Application->CancelHint();
}

// Translation sets Caption where a class publishes one, and combo items by Items;
// an edit's text and a memo's lines are never captions.
TEST(AllControlClasses, PublishTheirTextsUnderTheNamesTranslationLooksFor) {
  struct Case {
    const wchar_t* className;
    bool caption, text, items, lines;
  };
  const Case cases[] = {
      {L"TLabel", true, false, false, false},        {L"TEdit", false, true, false, false},
      {L"TMaskEdit", false, true, false, false},     {L"TMemo", false, false, false, true},
      {L"TButton", true, false, false, false},       {L"TBitBtn", true, false, false, false},
      {L"TSpeedButton", true, false, false, false},  {L"TCheckBox", true, false, false, false},
      {L"TRadioButton", true, false, false, false},  {L"TGroupBox", true, false, false, false},
      {L"TPanel", true, false, false, false},        {L"TComboBox", false, true, true, false},
      {L"TListBox", false, false, true, false},      {L"TCheckListBox", false, false, true, false},
      {L"TScrollBar", false, false, false, false},   {L"TImage", false, false, false, false},
      {L"TBevel", false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.className, c.className + wcslen(c.className)));
    const TClassInfo* info = FindClass(c.className);
    ASSERT_NE(info, nullptr);
    auto has = [&](const wchar_t* name, TTypeKind kind) {
      const TPropInfo* p = info->FindProperty(name);
      return p && p->Kind() == kind && p->Writable();
    };
    EXPECT_EQ(has(L"Caption", TTypeKind::String), c.caption);
    EXPECT_EQ(has(L"Text", TTypeKind::String), c.text);
    EXPECT_EQ(info->FindProperty(L"Items") != nullptr, c.items);
    EXPECT_EQ(info->FindProperty(L"Lines") != nullptr, c.lines);
  }
}

TEST_F(AllControls, TheFormWritesBackWhatItReadAndNoDefaults) {
  const std::string written = WriteComponentToText(form);
  TTestAllControlsForm again(nullptr);
  ReadComponentFromText(&again, written, L"WRITTEN");
  EXPECT_EQ(WriteComponentToText(&again), written) << "a second round gives the same text";

  auto find = [&](const wchar_t* name) { return again.FindComponent(name); };
  EXPECT_EQ(again.Memo1->GetLines()->Count(), 2);
  EXPECT_EQ(again.ComboBox1->GetItemIndex(), 0);
  EXPECT_EQ(again.ComboBox1->GetText(), L"Drop-down list");
  EXPECT_EQ(dynamic_cast<TComboBox*>(find(L"ComboBox2"))->GetText(), L"Drop-down edit");
  EXPECT_EQ(again.ScrollBar1->GetPosition(), 20);
  EXPECT_EQ(dynamic_cast<TScrollBar*>(find(L"ScrollBar2"))->GetKind(), sbVertical);
  EXPECT_TRUE(dynamic_cast<TRadioButton*>(find(L"RadioButton4"))->GetChecked());
  EXPECT_FALSE(dynamic_cast<TRadioButton*>(find(L"RadioButton3"))->GetChecked());
  EXPECT_TRUE(again.SpeedButton1->GetDown());
  EXPECT_EQ(again.SpeedButton1->GetGlyph()->GetWidth(), 16);
  EXPECT_EQ(again.BitBtn1->GetKind(), bkOK);
  EXPECT_EQ(again.BitBtn1->GetCaption(), L"OK");
  EXPECT_EQ(again.Panel1->GetBevelInner(), bvLowered);
  EXPECT_EQ(again.Image1->GetPicture()->GetWidth(), 32);
  EXPECT_EQ(again.CheckListBox1->GetItems()->Count(), 3);

  // Values equal to their defaults are left out.
  for (const char* name : {"SmallChange", "DropDownCount", "NumGlyphs", "BevelOuter", "WantReturns",
                           "AllowAllUp", "ExtendedSelect", "BorderStyle", "Layout = "}) {
    EXPECT_EQ(written.find(name), std::string::npos) << name;
  }
}

}  // namespace
