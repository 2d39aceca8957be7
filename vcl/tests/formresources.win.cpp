// Forms compiled into the program as RCDATA resources, read by name.
#include <gtest/gtest.h>

#include "vcl/FormResources.h"
#include "vcl/tests/TestComponents.h"

using namespace testcomp;

namespace {

TEST(FormResources, ReadsAFormCompiledIntoTheProgram) {
  ASSERT_TRUE(FormResourceExists(L"TestComponentsForm"));
  TTestForm form(nullptr);
  ReadComponentRes(L"TestComponentsForm", &form);
  EXPECT_EQ(form.Name(), L"ResourceForm");
  EXPECT_EQ(form.GetCaption(), L"Из ресурса");
  EXPECT_EQ(form.Width, 300);
  EXPECT_EQ(form.GetFont()->Style, TTestFontStyles{fsBold});
  EXPECT_EQ(form.GetItems()->Lines, (std::vector<std::wstring>{L"first", L"second"}));
  ASSERT_NE(form.Button1, nullptr);
  EXPECT_EQ(form.Button1->Parent(), form.Panel1);
  EXPECT_EQ(form.Button1->GetBuddy(), form.Panel1);
  ASSERT_TRUE(form.OnClick);
  form.OnClick(&form);
  EXPECT_EQ(form.Clicks.size(), 1u);
}

TEST(FormResources, AMissingResourceIsAnError) {
  EXPECT_FALSE(FormResourceExists(L"NoSuchForm"));
  TTestForm form(nullptr);
  try {
    ReadComponentRes(L"NoSuchForm", &form);
    FAIL() << "no error";
  } catch (const EFormReadError& e) {
    EXPECT_EQ(e.Resource(), L"NOSUCHFORM");
    EXPECT_EQ(e.Text(), L"Resource not found");
  }
}

TEST(FormResources, TheResourceOfAFormClassIsItsNameWithoutT) {
  TTestForm form(nullptr);
  EXPECT_EQ(FormResourceName(&form), L"TESTFORM");
  TTestTimer timer(nullptr);
  EXPECT_EQ(FormResourceName(&timer), L"TESTTIMER");
}

}  // namespace
