// Writing components as form text: only values that differ from their defaults, names
// of handlers and references, custom data when present, never old names; and the text
// reads back to the same components.
#include <gtest/gtest.h>

#include "vcl/Filer.h"
#include "vcl/StringList.h"
#include "vcl/tests/TestComponents.h"

using namespace testcomp;

namespace {

// A control that keeps its lines in a real string list.
class TTestMemo : public TTestControl {
  QORN_CLASS(TTestMemo, TTestControl)
 public:
  explicit TTestMemo(TComponent* AOwner) : TTestControl(AOwner) {}
  ~TTestMemo() override { delete FLines; }
  TStringList* GetLines() const { return FLines; }
  void SetLines(TStringList* v) { FLines->Assign(v); }

 private:
  static void Publish(TPublisher<TTestMemo>& p) { p.Property(L"Lines", &TTestMemo::GetLines, &TTestMemo::SetLines); }
  TStringList* FLines = new TStringList;
};
QORN_REGISTER_CLASS(TTestMemo);

const char* const kInput = R"(object TestForm: TTestForm
  Caption = 'It''s'#9'tabbed — ок'
  Align = alClient
  Color = clRed
  ParentColor = False
  Ratio = 0.1
  Font.Style = [fsItalic]
  Items.Strings = (
    'a'
    'b')
  Columns = <
    item
      Caption = 'Name'
    end
    item
      Width = 7
    end>
  OldFlat = True
  OnClick = ButtonClick
  Buddy = Button1
  object Timer1: TTestTimer
  end
  object Panel1: TTestControl
    object Button1: TTestControl
      Visible = False
      Glyph = {0102}
      OnChange = CaptionChanged
      Buddy = TestForm
    end
  end
  object Memo1: TTestMemo
    Lines.Strings = (
      'first line'
      '')
  end
end
)";

// What the writer makes of it: Left/Top (no default) always, the rest only when not
// the default; "OldFlat" is read into Flat and written under its own name.
const char* const kWritten = R"(object TestForm: TTestForm
  Left = 0
  Top = 0
  Align = alClient
  Caption = 'It''s'#9'tabbed — ок'
  Flat = True
  Color = clRed
  ParentColor = False
  Ratio = 0.10000000000000001
  Font.Style = [fsItalic]
  Items.Strings = (
    'a'
    'b')
  Columns = <
    item
      Caption = 'Name'
    end
    item
      Width = 7
    end>
  Buddy = Button1
  OnClick = ButtonClick
  object Timer1: TTestTimer
  end
  object Panel1: TTestControl
    Left = 0
    Top = 0
    object Button1: TTestControl
      Left = 0
      Top = 0
      Visible = False
      Buddy = TestForm
      OnChange = CaptionChanged
      Glyph = {0102}
    end
  end
  object Memo1: TTestMemo
    Left = 0
    Top = 0
    Lines.Strings = (
      'first line'
      '')
  end
end
)";

TEST(FormWriter, WritesOnlyWhatDiffersAndReadsBack) {
  TTestForm form(nullptr);
  ReadComponentFromText(&form, kInput, L"TESTFORM");
  std::string written = WriteComponentToText(&form);
  EXPECT_EQ(written, kWritten);

  TTestForm again(nullptr);
  ReadComponentFromText(&again, written, L"WRITTEN");
  EXPECT_EQ(WriteComponentToText(&again), written);
  auto* memo = dynamic_cast<TTestMemo*>(again.FindComponent(L"Memo1"));
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(memo->GetLines()->Count(), 2);
  EXPECT_EQ(memo->GetLines()->Strings(0), L"first line");
  EXPECT_EQ(again.Button1->GetBuddy(), &again);
  EXPECT_EQ(again.Button1->Glyph, (std::vector<uint8_t>{1, 2}));
}

TEST(FormWriter, AFreshComponentWritesOnlyValuesWithoutDefaults) {
  TTestForm form(nullptr);
  form.SetName(L"F");
  EXPECT_EQ(WriteComponentToText(&form), "object F: TTestForm\n  Left = 0\n  Top = 0\nend\n");
}

TEST(FormWriter, CallbacksThatAreNotHandlersOfTheRootAreNotWritten) {
  TTestForm form(nullptr), other(nullptr);
  form.SetName(L"F");
  form.OnClick = [](TObject*) {};
  form.OnChange = TNotifyEvent(&other, &TTestForm::CaptionChanged);
  std::string text = WriteComponentToText(&form);
  EXPECT_EQ(text.find("OnClick"), std::string::npos);
  EXPECT_EQ(text.find("OnChange"), std::string::npos);
  form.OnChange = TNotifyEvent(&form, &TTestForm::CaptionChanged);
  EXPECT_NE(WriteComponentToText(&form).find("  OnChange = CaptionChanged\n"), std::string::npos);
}

TEST(FormWriter, ReferencesOutsideTheRootAreWrittenWithTheirOwner) {
  TTestForm form(nullptr);
  form.SetName(L"F");
  TComponent module(nullptr);
  module.SetName(L"DataModule");
  auto* shared = new TTestControl(&module);
  shared->SetName(L"Shared");
  form.SetBuddy(shared);
  EXPECT_NE(WriteComponentToText(&form).find("  Buddy = DataModule.Shared\n"), std::string::npos);
  auto* unnamed = new TTestControl(&module);
  form.SetBuddy(unnamed);
  EXPECT_EQ(WriteComponentToText(&form).find("Buddy"), std::string::npos);
}

// Custom data that breaks the rules of the writer is an error, not a broken file.
class TBadWriter : public TTestControl {
  QORN_CLASS(TBadWriter, TTestControl)
 public:
  using TTestControl::TTestControl;
  int Mode = 0;

 protected:
  void DefineProperties(TFiler& Filer) override {
    Filer.DefineProperty(
        L"Bad", nullptr,
        [this](TWriter& w) {
          if (Mode == 1) return;  // nothing
          if (Mode == 2) {
            w.WriteInteger(1);
            w.WriteInteger(2);
          }
          if (Mode == 3) w.WriteListBegin();
        },
        true);
  }
};

TEST(FormWriter, CustomDataMustWriteExactlyOneValue) {
  for (int mode : {1, 2, 3}) {
    TBadWriter c(nullptr);
    c.Mode = mode;
    EXPECT_THROW(WriteComponentToText(&c), EWriteError) << mode;
    EXPECT_FALSE(c.ComponentState().Contains(csWriting));
  }
}

}  // namespace
