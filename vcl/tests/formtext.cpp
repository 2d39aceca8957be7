// The form text syntax: values of every kind, and syntax errors with their line.
#include <gtest/gtest.h>

#include "vcl/FormText.h"

namespace {

TFormValue ValueOf(const std::string& valueText) {
  TFormObject o = ParseFormText("object X: TX\n  P = " + valueText + "\nend\n", L"T");
  EXPECT_EQ(o.Properties.size(), 1u);
  return o.Properties.empty() ? TFormValue{} : o.Properties[0].Value;
}

TEST(FormText, Scalars) {
  struct Case {
    const char* text;
    TFormValueKind kind;
    int64_t integer;
    double flt;
    const wchar_t* str;
  };
  const Case cases[] = {
      {"0", TFormValueKind::Integer, 0, 0, L""},
      {"-42", TFormValueKind::Integer, -42, 0, L""},
      {"$7FFFFFFF", TFormValueKind::Integer, 0x7FFFFFFF, 0, L""},
      {"$FFFFFFFF", TFormValueKind::Integer, 0xFFFFFFFF, 0, L""},
      {"-$10", TFormValueKind::Integer, -16, 0, L""},
      {"9223372036854775807", TFormValueKind::Integer, INT64_MAX, 0, L""},
      {"1.5", TFormValueKind::Float, 0, 1.5, L""},
      {"-2.5e3", TFormValueKind::Float, 0, -2500, L""},
      {"3E-2", TFormValueKind::Float, 0, 0.03, L""},
      {"clBtnFace", TFormValueKind::Ident, 0, 0, L"clBtnFace"},
      {"Form1.Images", TFormValueKind::Ident, 0, 0, L"Form1.Images"},
      {"''", TFormValueKind::String, 0, 0, L""},
      {"'It''s'", TFormValueKind::String, 0, 0, L"It's"},
      {"#65#66'c'#$44", TFormValueKind::String, 0, 0, L"ABcD"},
      {"'a' +\n    'b' + #13#10", TFormValueKind::String, 0, 0, L"ab\r\n"},
      {"'Привет'", TFormValueKind::String, 0, 0, L"Привет"},
      {"#1055#1088", TFormValueKind::String, 0, 0, L"Пр"},
      {"'// not a comment'", TFormValueKind::String, 0, 0, L"// not a comment"},
  };
  for (const auto& c : cases) {
    TFormValue v = ValueOf(c.text);
    EXPECT_EQ(v.Kind, c.kind) << c.text;
    if (c.kind == TFormValueKind::Integer) {
      EXPECT_EQ(v.Integer, c.integer) << c.text;
    }
    if (c.kind == TFormValueKind::Float) {
      EXPECT_DOUBLE_EQ(v.Float, c.flt) << c.text;
    }
    if (c.kind == TFormValueKind::String || c.kind == TFormValueKind::Ident) {
      EXPECT_EQ(v.Text, c.str) << c.text;
    }
  }
}

TEST(FormText, CharacterBeyondTheBasicPlane) {
  TFormValue v = ValueOf("#128512");
  std::wstring expected;
  if constexpr (sizeof(wchar_t) == 2)
    expected = L"\xD83D\xDE00";
  else
    expected = std::wstring(1, static_cast<wchar_t>(0x1F600));
  EXPECT_EQ(v.Text, expected);
}

TEST(FormText, Compounds) {
  TFormValue set = ValueOf("[akLeft, akTop]");
  EXPECT_EQ(set.Kind, TFormValueKind::Set);
  EXPECT_EQ(set.Names, (std::vector<std::wstring>{L"akLeft", L"akTop"}));
  EXPECT_TRUE(ValueOf("[]").Names.empty());

  TFormValue list = ValueOf("(\n 'a'\n 1\n (True False)\n)");
  ASSERT_EQ(list.Kind, TFormValueKind::List);
  ASSERT_EQ(list.List.size(), 3u);
  EXPECT_EQ(list.List[1].Integer, 1);
  EXPECT_EQ(list.List[2].List.size(), 2u);
  EXPECT_TRUE(ValueOf("()").List.empty());

  TFormValue coll = ValueOf("<\n item\n  Width = 1\n  Caption = 'x'\n end\n item\n end>");
  ASSERT_EQ(coll.Kind, TFormValueKind::Collection);
  ASSERT_EQ(coll.Items.size(), 2u);
  EXPECT_EQ(coll.Items[0].Properties.size(), 2u);
  EXPECT_EQ(coll.Items[0].Properties[1].Name, L"Caption");
  EXPECT_TRUE(coll.Items[1].Properties.empty());
  EXPECT_TRUE(ValueOf("<>").Items.empty());

  TFormValue bin = ValueOf("{00 ff\n  A0b1}");
  EXPECT_EQ(bin.Bytes, (std::vector<uint8_t>{0x00, 0xFF, 0xA0, 0xB1}));
}

TEST(FormText, ObjectsNamesLinesAndComments) {
  const char* text =
      "\xEF\xBB\xBF"  // a BOM
      "object Main: TMainForm // the main window\n"
      "  Font.Style = [fsBold]\n"
      "  object TLabel\n"
      "  end\n"
      "  inherited Frame1: TFrameVol\n"
      "    object B: TButton\n"
      "    end\n"
      "  end\n"
      "end\n";
  TFormObject o = ParseFormText(text, L"MAIN");
  EXPECT_EQ(o.Name, L"Main");
  EXPECT_EQ(o.ClassName, L"TMainForm");
  EXPECT_EQ(o.Line, 1);
  ASSERT_EQ(o.Properties.size(), 1u);
  EXPECT_EQ(o.Properties[0].Name, L"Font.Style");
  EXPECT_EQ(o.Properties[0].Line, 2);
  ASSERT_EQ(o.Children.size(), 2u);
  EXPECT_EQ(o.Children[0].Name, L"");
  EXPECT_EQ(o.Children[0].ClassName, L"TLabel");
  EXPECT_EQ(o.Children[1].Line, 5);
  EXPECT_EQ(o.Children[1].Children[0].Name, L"B");
}

TEST(FormText, PrintedTextParsesToTheSameTree) {
  const char* text =
      "object F: TF\n"
      "  S = 'a''b'#13#10'Ж' + 'x'\n"
      "  N = -7\n"
      "  R = 0.25\n"
      "  E = [a, b]\n"
      "  L = ('x' 2 (3))\n"
      "  C = <item A = 1 end item end>\n"
      "  B = {000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F2021}\n"
      "  object G: TG\n"
      "  end\n"
      "end\n";
  TFormObject tree = ParseFormText(text, L"F");
  std::string printed = PrintFormText(tree);
  EXPECT_EQ(ParseFormText(printed, L"F"), tree);
  EXPECT_EQ(PrintFormText(ParseFormText(printed, L"F")), printed);
}

TEST(FormText, SyntaxErrorsNameTheLine) {
  struct Case {
    const char* text;
    int line;
    const wchar_t* message;
  };
  const Case cases[] = {
      {"", 1, L"'object' expected"},
      {"Left = 1", 1, L"'object' expected"},
      {"object F: TF\n  Left 1\nend", 2, L"'=' expected"},
      {"object F: TF\n  Left =\nend", 3, L"Property value expected"},
      {"object F: TF\n  S = 'abc\nend", 2, L"Unterminated string"},
      {"object F: TF\n  S = 'a' +\n  1\nend", 3, L"String expected after '+'"},
      {"object F: TF\n  S = #\nend", 2, L"Character code expected after '#'"},
      {"object F: TF\n  S = #1114112\nend", 2, L"Invalid character code"},
      {"object F: TF\n  S = #55296\nend", 2, L"Invalid character code"},
      {"object F: TF\n  N = 99999999999999999999\nend", 2, L"Number too large"},
      {"object F: TF\n  N = $\nend", 2, L"Hexadecimal digits expected after '$'"},
      {"object F: TF\n  N = 12px\nend", 2, L"Invalid number"},
      {"object F: TF\n  N = 1e999\nend", 2, L"Number too large"},
      {"object F: TF\n  B = {0G}\nend", 2, L"Invalid binary data"},
      {"object F: TF\n  B = {\n0\n}\nend", 2, L"Odd number of digits in binary data"},
      {"object F: TF\n  B = {00\n", 2, L"Unterminated binary data"},
      {"object F: TF\n  E = [a b]\nend", 2, L"',' expected"},
      {"object F: TF\n  E = [a.b]\nend", 2, L"Invalid set element"},
      {"object F: TF\n  L = (1 2\nend", 3, L"')' expected"},
      {"object F: TF\n  C = <\n  Width = 1>\nend", 3, L"'item' or '>' expected"},
      {"object F: TF\n  C = <item\n", 3, L"'end' expected"},
      {"object F: TF\n  object G: TG\n  end\n  Left = 1\nend", 4, L"Properties must come before the child objects"},
      {"object F: TF\n", 2, L"'end' expected"},
      {"object F: TF\nend\nend", 3, L"Text after the end of the form"},
      {"object F.G: TF\nend", 1, L"Invalid component or class name"},
      {"object F: TF\n  A. = 1\nend", 2, L"Identifier expected after '.'"},
      {"object F: TF\n  A = ;\nend", 2, L"Unexpected character ';'"},
      {"object F: TF\n\n\n  A = \x01\nend", 4, L"Unexpected character #1"},
  };
  for (const auto& c : cases) {
    try {
      ParseFormText(c.text, L"RES");
      ADD_FAILURE() << "no error: " << c.text;
    } catch (const EFormReadError& e) {
      EXPECT_EQ(e.Line(), c.line) << c.text;
      EXPECT_EQ(e.Text(), c.message) << c.text;
      EXPECT_EQ(e.Resource(), L"RES");
    }
  }
}

TEST(FormText, DeepNestingIsAnErrorNotACrash) {
  std::string objects;
  for (int i = 0; i < MaxFormNesting + 5; ++i) objects += "object A: T\n";
  EXPECT_THROW(ParseFormText(objects, L"DEEP"), EFormReadError);
  std::string lists = "object F: TF\n  L = " + std::string(100000, '(');
  EXPECT_THROW(ParseFormText(lists, L"DEEP"), EFormReadError);
}

TEST(FormText, MalformedUtf8IsReplacedNotFatal) {
  TFormValue v = ValueOf("'a\xC3(b\xFF'");
  EXPECT_EQ(v.Text, L"a\xFFFD(b\xFFFD");
}

}  // namespace
