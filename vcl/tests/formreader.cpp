// Reading forms into components: every syntax, the order of setting up, references,
// events, and errors that name the resource and the line.
#include <gtest/gtest.h>

#include "vcl/Filer.h"
#include "vcl/tests/TestComponents.h"

using namespace testcomp;

namespace {

const char* const kForm = R"(object TestForm: TTestForm
  Caption = 'Main '#39'window'#39 +
    ' — проба'
  Left = -10
  Width = $20
  Align = alClient
  Visible = False
  Color = clBlue
  ParentColor = False
  Ratio = 2.5
  Big = 5000000000
  Font.Name = 'Verdana'
  Font.Style = [fsBold, fsUnderline]
  Items.Strings = (
    'one'
    ''
    'three')
  Columns = <
    item
      Caption = 'Name'
      Width = 120
    end
    item
      Caption = 'Size'
    end>
  Glyph = {00FF10
    7F}
  OldFlat = True
  OnClick = ButtonClick
  Buddy = Button1
  object Timer1: TTestTimer
    Interval = 250
  end
  object Panel1: TTestControl
    Align = alTop
    object Button1: TTestControl
      Caption = 'OK'
      OnChange = CaptionChanged  // bound after Caption: no call while reading
      OnKey = EditKey
      Buddy = TestForm.Panel1
    end
  end
end
)";

class FormReader : public ::testing::Test {
 protected:
  void SetUp() override { Log().clear(); }
};

TEST_F(FormReader, ReadsEverySyntax) {
  TTestForm form(nullptr);
  ReadComponentFromText(&form, kForm, L"TESTFORM");
  EXPECT_EQ(form.Name(), L"TestForm");
  EXPECT_EQ(form.GetCaption(), L"Main 'window' — проба");
  EXPECT_EQ(form.Left, -10);
  EXPECT_EQ(form.Width, 32);
  EXPECT_EQ(form.Align, alClient);
  EXPECT_FALSE(form.Visible);
  EXPECT_EQ(form.Color, 0xFF0000);
  EXPECT_FALSE(form.ParentColor);
  EXPECT_EQ(form.Ratio, 2.5);
  EXPECT_EQ(form.Big, 5000000000);
  EXPECT_EQ(form.GetFont()->FaceName, L"Verdana");
  EXPECT_EQ(form.GetFont()->Style, (TTestFontStyles{fsBold, fsUnderline}));
  EXPECT_EQ(form.GetItems()->Lines, (std::vector<std::wstring>{L"one", L"", L"three"}));
  ASSERT_EQ(form.Columns.Count(), 2);
  EXPECT_EQ(form.Columns.ItemAs<TTestItem>(0)->Caption, L"Name");
  EXPECT_EQ(form.Columns.ItemAs<TTestItem>(0)->Width, 120);
  EXPECT_EQ(form.Columns.ItemAs<TTestItem>(1)->Width, 50);
  EXPECT_EQ(form.Glyph, (std::vector<uint8_t>{0x00, 0xFF, 0x10, 0x7F}));
  EXPECT_TRUE(form.Flat);

  // Components: owned by the root, in the fields, children of their enclosing object.
  ASSERT_NE(form.Button1, nullptr);
  ASSERT_NE(form.Panel1, nullptr);
  ASSERT_NE(form.Timer1, nullptr);
  EXPECT_EQ(form.Timer1->Interval, 250);
  EXPECT_EQ(form.Button1->Owner(), &form);
  EXPECT_EQ(form.Panel1->Owner(), &form);
  EXPECT_EQ(form.Button1->Parent(), form.Panel1);
  EXPECT_EQ(form.Panel1->Parent(), &form);
  EXPECT_FALSE(form.Timer1->HasParent());
  EXPECT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(form.GetBuddy(), form.Button1);
  EXPECT_EQ(form.Button1->GetBuddy(), form.Panel1);

  // The parent is set before the values are read.
  EXPECT_EQ(form.Button1->ParentWhenCaptionSet, form.Panel1);

  // Events: bound after the values, so reading the caption fired nothing.
  EXPECT_EQ(form.Changes, 0);
  form.Button1->SetCaption(L"Cancel");
  EXPECT_EQ(form.Changes, 1);
  ASSERT_TRUE(form.OnClick);
  form.OnClick(&form);
  EXPECT_EQ(form.Clicks, std::vector<TObject*>{&form});
  int key = 13;
  form.Button1->OnKey(form.Button1, key);
  EXPECT_EQ(key, 0);

  // Loaded runs once per component, root first, after references are resolved, while
  // csLoading is still set; afterwards nothing is loading or reading.
  EXPECT_EQ(Log(), (std::vector<std::wstring>{L"Loaded TestForm buddy Button1", L"Loaded Panel1",
                                               L"Loaded Button1 buddy Panel1"}));
  for (TComponent* c : {static_cast<TComponent*>(&form), static_cast<TComponent*>(form.Button1)}) {
    EXPECT_FALSE(c->ComponentState().Contains(csLoading));
    EXPECT_FALSE(c->ComponentState().Contains(csReading));
  }
}

TEST_F(FormReader, AbsentValuesKeepTheConstructorsValues) {
  TTestForm form(nullptr);
  form.Width = 77;
  ReadComponentFromText(&form, "object F: TTestForm\n  Left = 1\nend\n", L"F");
  EXPECT_EQ(form.Width, 77);
  EXPECT_EQ(form.Left, 1);
}

TEST_F(FormReader, ASecondFormUnderTheSameOwnerGetsANumberedName) {
  TComponent app(nullptr);
  auto* a = new TTestForm(&app);
  auto* b = new TTestForm(&app);
  const char* text = "object MainForm: TTestForm\nend\n";
  ReadComponentFromText(a, text, L"MAINFORM");
  ReadComponentFromText(b, text, L"MAINFORM");
  EXPECT_EQ(a->Name(), L"MainForm");
  EXPECT_EQ(b->Name(), L"MainForm_1");
}

TEST_F(FormReader, AFreedReferenceIsClearedAfterLoading) {
  TTestForm form(nullptr);
  ReadComponentFromText(&form, kForm, L"TESTFORM");
  delete form.Panel1;  // Button1's buddy; Button1 stays (its parent link goes with it)
  EXPECT_EQ(form.Button1->GetBuddy(), nullptr);
  EXPECT_EQ(form.Button1->Parent(), nullptr);
}

struct ErrorCase {
  const char* name;
  const char* text;
  int line;
  const wchar_t* message;
};

class FormReaderErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FormReaderErrors, NameTheResourceAndTheLine) {
  const ErrorCase& c = GetParam();
  TTestForm form(nullptr);
  try {
    ReadComponentFromText(&form, c.text, L"BADFORM");
    FAIL() << "no error";
  } catch (const EFormReadError& e) {
    EXPECT_EQ(e.Resource(), L"BADFORM");
    EXPECT_EQ(e.Line(), c.line);
    EXPECT_EQ(e.Text(), c.message);
    EXPECT_EQ(e.Message(), L"Form resource BADFORM, line " + std::to_wstring(c.line) + L": " + c.message);
  }
  // Nothing stays half loaded.
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
  EXPECT_FALSE(form.ComponentState().Contains(csReading));
}

const ErrorCase kErrors[] = {
    {"UnknownClass", "object F: TTestForm\n  object X: TNoSuchThing\n  end\nend\n", 2, L"Class TNoSuchThing not found"},
    {"NotCreatable", "object F: TTestForm\n  object X: TTestFont\n  end\nend\n", 2,
     L"Class TTestFont cannot be created from a form"},
    {"UnknownProperty", "object F: TTestForm\n  Left = 1\n  Wide = 3\nend\n", 3,
     L"Error reading F.Wide: Property Wide does not exist"},
    {"UnknownSubProperty", "object F: TTestForm\n  Font.Colour = 1\nend\n", 2,
     L"Error reading F.Font.Colour: Property Colour does not exist"},
    {"DotIntoAnOrdinal", "object F: TTestForm\n  Left.X = 1\nend\n", 2,
     L"Error reading F.Left.X: Property Left does not exist"},
    {"UnknownHandler", "object F: TTestForm\n  OnClick = NoSuchHandler\nend\n", 2,
     L"Error reading F.OnClick: Handler NoSuchHandler not found in TTestForm"},
    {"HandlerOfAnotherSignature", "object F: TTestForm\n  OnClick = EditKey\nend\n", 2,
     L"Error reading F.OnClick: Property OnClick cannot take a handler of another parameter list"},
    {"UnknownEnumValue", "object F: TTestForm\n  Align = alLeft\nend\n", 2,
     L"Error reading F.Align: Invalid property value"},
    {"StringForInteger", "object F: TTestForm\n  Left = '1'\nend\n", 2, L"Error reading F.Left: Invalid property value"},
    {"IntegerForBoolean", "object F: TTestForm\n  Visible = 1\nend\n", 2,
     L"Error reading F.Visible: Invalid property value"},
    {"OutOfRange", "object F: TTestForm\n  Left = 3000000000\nend\n", 2,
     L"Error reading F.Left: Value 3000000000 is out of range"},
    {"BadSetElement", "object F: TTestForm\n  Font.Style = [fsBold, fsWide]\nend\n", 2,
     L"Error reading F.Font.Style: Invalid set element fsWide"},
    {"UnknownIdentForColor", "object F: TTestForm\n  Color = clPlaid\nend\n", 2,
     L"Error reading F.Color: Invalid property value"},
    {"DuplicateName", "object F: TTestForm\n  object A: TTestTimer\n  end\n  object a: TTestTimer\n  end\nend\n", 4,
     L"A component named a already exists"},
    {"IdentForInteger", "object F: TTestForm\n  object _: TTestTimer\n  end\n  object X: TTestTimer\n    Interval = x\n  end\nend\n", 5,
     L"Error reading X.Interval: Invalid property value"},
    {"UnresolvedReference", "object F: TTestForm\n  Buddy = Nobody\nend\n", 2,
     L"Error reading Buddy: Component Nobody not found"},
    {"ReferenceOfWrongClass", "object F: TTestForm\n  Buddy = T\n  object T: TTestTimer\n  end\nend\n", 2,
     L"Error reading Buddy: Property Buddy cannot take a TTestTimer (TTestControl expected)"},
    {"FieldOfWrongClass", "object F: TTestForm\n  object Button1: TTestTimer\n  end\nend\n", 2,
     L"Field Button1 of TTestForm cannot hold a TTestTimer"},
    {"WrongRootClass", "object F: TTestControl\nend\n", 1, L"The form describes a TTestControl, not a TTestForm"},
    {"CustomValueOfWrongType", "object F: TTestForm\n  Items.Strings = (\n    'a'\n    2)\nend\n", 2,
     L"String expected"},
    {"CustomValueNotAList", "object F: TTestForm\n  Items.Strings = 'a'\nend\n", 2, L"List expected"},
    {"BinaryExpected", "object F: TTestForm\n  Glyph = 'a'\nend\n", 2, L"Binary data expected for property Glyph"},
    {"CollectionOfNonItems", "object F: TTestForm\n  Columns = <\n    item\n      Wide = 1\n    end>\nend\n", 4,
     L"Error reading F.Columns[0].Wide: Property Wide does not exist"},
    {"CollectionForSubObject", "object F: TTestForm\n  Font = <>\nend\n", 2, L"Error reading F.Font: Invalid property value"},
    {"SyntaxUnterminatedString", "object F: TTestForm\n  Caption = 'abc\nend\n", 2, L"Unterminated string"},
    {"SyntaxMissingEnd", "object F: TTestForm\n  Left = 1\n", 3, L"'end' expected"},
};

INSTANTIATE_TEST_SUITE_P(Cases, FormReaderErrors, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
