// Where a download goes and when it counts as done.
#include <gtest/gtest.h>

#include "services/HttpTransfer.h"

namespace {

TEST(HttpUrl, SplitsHostAndPath) {
  const struct {
    const wchar_t* url;
    const wchar_t* host;
    const wchar_t* path;
  } cases[] = {
      {L"HTTP://host/a.php?x=1", L"host", L"/a.php?x=1"},
      {L"http://host/", L"host", L"/"},
      {L"host/", L"host", L"/"},
      {L"host/dir/file.zip", L"host", L"/dir/file.zip"},
      {L"hTtP://h/p", L"h", L"/p"},
      {L"host", L"", L"host"},                    // no slash: no host
      {L"http://", L"", L""},
      {L"", L"", L""},
      {L"ftp://host/x", L"ftp:", L"//host/x"},    // only http:// is dropped
      {L"http:/host/x", L"http:", L"/host/x"},
  };
  for (const auto& c : cases) {
    const THttpTarget t = SplitHttpUrl(c.url);
    EXPECT_EQ(t.Host, c.host) << testing::PrintToString(std::wstring(c.url));
    EXPECT_EQ(t.Path, c.path) << testing::PrintToString(std::wstring(c.url));
  }
}

TEST(HttpUrl, ContentLengthIsADecimalNumberOnly) {
  EXPECT_EQ(ParseContentLength("70000"), 70000u);
  EXPECT_EQ(ParseContentLength("0"), 0u);
  EXPECT_EQ(ParseContentLength("4294967296"), 4294967296u);
  for (const char* bad : {"", "-1", "12a", " 12", "0x10", "99999999999999999999"})
    EXPECT_FALSE(ParseContentLength(bad).has_value()) << bad;
}

TEST(HttpOutcome, OnlyAWholeSuccessfulBodyIsASuccess) {
  const struct {
    const char* name;
    THttpOutcome outcome;
    bool success;
  } cases[] = {
      {"whole body", {200, 70000, 70000, false, false}, true},
      {"no length", {200, std::nullopt, 12, false, false}, true},
      {"other 2xx", {203, std::nullopt, 1, false, false}, true},
      {"error page", {404, 20, 20, false, false}, false},
      {"server error", {500, std::nullopt, 20, false, false}, false},
      {"redirect page", {302, std::nullopt, 20, false, false}, false},
      {"no status", {0, std::nullopt, 20, false, false}, false},
      {"empty body", {200, 0, 0, false, false}, false},
      {"empty without length", {200, std::nullopt, 0, false, false}, false},
      {"cut body", {200, 5000, 2000, false, false}, false},
      {"longer than declared", {200, 5000, 6000, false, false}, false},
      {"failed read", {200, std::nullopt, 20, true, false}, false},
      {"aborted at the end", {200, 20, 20, false, true}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(HttpTransferSucceeded(c.outcome), c.success) << c.name;
}

}  // namespace
