// The about page's texts: the feedback mail's body and link, safely encoded.
#include <gtest/gtest.h>

#include "core/mainwindow/AboutPage.h"

namespace {

TEST(AboutPage, PercentEncodingKeepsOnlyWhatCannotBendTheLink) {
  const struct {
    const wchar_t* text;
    const wchar_t* encoded;
  } cases[] = {
      {L"Qorn v1.3.5", L"Qorn%20v1.3.5"},
      {L"a&b=c?d#e+f%g", L"a%26b%3Dc%3Fd%23e%2Bf%25g"},
      {L"line\nbreak", L"line%0Abreak"},
      {L"6.1.7601 (x64), Server:", L"6.1.7601%20(x64),%20Server:"},
      {L"Письмо", L"%D0%9F%D0%B8%D1%81%D1%8C%D0%BC%D0%BE"},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(PercentEncode(c.text), c.encoded);
}

TEST(AboutPage, TheFeedbackBodyDescribesTheSystemOneLineEach) {
  const TWinVersionInfo w7{true, 6, 1, 7601, L"Service Pack 1", 1};
  EXPECT_EQ(
      BuildFeedbackBody(L"Qorn v1.3.5", w7, true, 0),
      L"Qorn%20Version:%20Qorn%20v1.3.5%0A%0AOS%20version:%20Windows%207%20x64%20%20(6.1.7601%20Service%20Pack%201,"
      L"%20Workstation)%0A%0AWOW64:%200");
  const TWinVersionInfo server{true, 6, 3, 9600, L"", 3};
  const std::wstring body = BuildFeedbackBody(L"Qorn v1.3.5", server, false, -1);
  EXPECT_NE(body.find(L"(6.3.9600%20,%20Server)"), std::wstring::npos) << body;
  EXPECT_TRUE(body.ends_with(L"%0A%0AWOW64:%20-1")) << body;
  EXPECT_EQ(body.find(L"x64"), std::wstring::npos);
}

// A translated subject with "&", "#" or "?" stays the subject: the body still
// follows as its own field.
TEST(AboutPage, TheMailLinkKeepsSubjectAndBodyApart) {
  const TAboutContacts contacts{L"https://qorn.example.org/", L"Qorn & Co", L"feedback@qorn.example.org"};
  const std::wstring link = FeedbackMailLink(contacts, L"Q&A #1?", L"Qorn v1.3.5", L"BODY");
  EXPECT_EQ(link,
            L"mailto:Qorn%20%26%20Co%20%3Cfeedback@qorn.example.org%3E?Subject=Q%26A%20%231%3F%20Qorn%20v1.3.5"
            L"&body=BODY");
  EXPECT_EQ(FeedbackMailLink({}, L"x", L"v", L"b"), L"") << "no address, no link";
}

TEST(AboutPage, TheThanksTextSpeaksTheLanguage) {
  EXPECT_TRUE(AboutText(false).starts_with(L"Qorn (Vantorel)\r\n\r\nThanks"));
  EXPECT_TRUE(AboutText(true).starts_with(L"Qorn (Vantorel)\r\n\r\nСпасибо"));
}
}  // namespace
