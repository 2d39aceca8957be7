// The first run's language: the user's own language when a file declares it,
// else the family default, else whatever is there.
#include <gtest/gtest.h>

#include "core/language/FirstRunLanguage.h"
#include "testing/TempDir.h"

namespace {

TEST(FirstRunLanguage, PicksTheUsersLanguageFirst) {
  const std::vector<TLanguageCandidate> shipped = {{L"English", 1033}, {L"German", 1031}, {L"Russian", 1049}};
  struct Case {
    std::vector<TLanguageCandidate> candidates;
    std::int32_t ui;
    bool rusFamily;
    std::wstring expected;
  };
  const Case cases[] = {
      {shipped, 1031, false, L"German"},
      {shipped, 1049, true, L"Russian"},
      // Ukrainian has no file: the Russian family falls back to Russian.
      {shipped, 1058, true, L"Russian"},
      {shipped, 1036, false, L"English"},
      // No interface language known: never matches a file without an id.
      {{{L"Klingon", 0}, {L"English", 1033}}, 0, false, L"English"},
      // Neither the user's language nor the family default: the first file.
      {{{L"German", 1031}, {L"French", 1036}}, 1040, false, L"German"},
      // Two files declare the same id: the last one, as the chooser orders them.
      {{{L"English", 1033}, {L"EnglishUK", 1033}}, 1033, false, L"EnglishUK"},
      {{}, 1049, true, L"Russian"},
      {{}, 1033, false, L"Russian"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PickFirstRunLanguage(c.candidates, c.ui, c.rusFamily), c.expected)
        << "ui " << c.ui << ", " << c.candidates.size() << " files";
}

TEST(FirstRunLanguage, ReadsTheIdsOfTheLoadableFiles) {
  qorn::testing::TempDir dir("firstrunlang");
  qorn::testing::WriteFileBytes(dir / "English.lng", "LngCodePage=1252\r\nLngID=1033\r\n");
  qorn::testing::WriteFileBytes(dir / "German.lng", "LngID=10x31\r\n");
  // Not loadable by its name: left out.
  qorn::testing::WriteFileBytes(dir / "French.LNG", "LngID=1036\r\n");
  const auto found = LanguageCandidates(dir.path());
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].Name, L"English");
  EXPECT_EQ(found[0].LngID, 1033);
  EXPECT_EQ(found[1].Name, L"German");
  EXPECT_EQ(found[1].LngID, 0) << "an id that is not a number counts as none";
  EXPECT_TRUE(LanguageCandidates(dir / "missing").empty());
}

}  // namespace
