// Every flat control of the set together on one form read from its resource, as
// an action frame holds them: each class is found by its registered name, reads
// its values and gets its window, and the form is photographed.
// ctest-lock: desktop_input
#include <gtest/gtest.h>

#include "controls/visual/TFlatColorComboBoxUnit.h"
#include "controls/visual/TFlatComboBoxUnit.h"
#include "controls/visual/TFlatListBoxUnit.h"
#include "controls/visual/TFlatMemoUnit.h"
#include "controls/visual/TFlatScrollbarUnit.h"
#include "controls/visual/TFlatSpinEditUnit.h"
#include "testing/PumpApplication.h"
#include "testing/WinTesting.h"
#include "vcl/Forms.h"

namespace {

using namespace std::chrono_literals;

class TTestFlatAllForm : public TForm {
  QORN_CLASS(TTestFlatAllForm, TForm)
 public:
  explicit TTestFlatAllForm(TComponent* AOwner) : TForm(AOwner) {}
  Flat::TFlatComboBox* Player = nullptr;
  Flat::TFlatEdit* Name = nullptr;
  Flat::TFlatSpinEditInteger* Times = nullptr;
  Flat::TFlatColorComboBox* Shade = nullptr;
  Flat::TFlatScrollbar* Volume = nullptr;
  Flat::TFlatMemo* Note = nullptr;
  Flat::TFlatListBox* Players = nullptr;

 private:
  static void Publish(TPublisher<TTestFlatAllForm>& p) {
    p.Field(L"Player", &TTestFlatAllForm::Player);
    p.Field(L"Name", &TTestFlatAllForm::Name);
    p.Field(L"Times", &TTestFlatAllForm::Times);
    p.Field(L"Shade", &TTestFlatAllForm::Shade);
    p.Field(L"Volume", &TTestFlatAllForm::Volume);
    p.Field(L"Note", &TTestFlatAllForm::Note);
    p.Field(L"Players", &TTestFlatAllForm::Players);
  }
};
QORN_REGISTER_CLASS(TTestFlatAllForm);

TEST(FlatAllControls, OneFormHoldsEveryFlatControl) {
  std::unique_ptr<TTestFlatAllForm> form(CreateForm<TTestFlatAllForm>(Application));
  form->Show();
  ASSERT_TRUE(qorn::testing::BringToFront(form->GetHandle()));
  Pump(80ms);
  TWinControl* controls[] = {form->Player, form->Name, form->Times,  form->Shade,
                             form->Volume, form->Note, form->Players};
  for (TWinControl* c : controls) {
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(c->HandleAllocated()) << c->Name();
    EXPECT_EQ(c->GetParent(), form.get()) << c->Name();
  }
  EXPECT_EQ(form->Player->GetText(), L"Play or pause");
  EXPECT_EQ(form->Times->GetValue(), 2);
  EXPECT_EQ(form->Shade->GetValue(), clNavy);
  EXPECT_EQ(form->Shade->GetItemIndex(), 4);
  EXPECT_EQ(form->Volume->GetPosition(), 40);
  EXPECT_EQ(form->Note->GetLines()->Count(), 2);
  EXPECT_EQ(form->Players->GetHeight(), 240);
  form->Players->SetItemIndex(0);
  form->Player->SetFocus();
  Pump(50ms);
  EXPECT_TRUE(
      qorn::testing::SaveWindowShot(form->GetHandle(), qorn::testing::ScreenshotDir() / "flat_all_controls.png"));
}

}  // namespace
