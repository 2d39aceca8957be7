#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/language/Language.h"
#include "testing/TempDir.h"

namespace {

using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

// A language folder with an English file, a Russian file in 1251, and a German
// translation with holes that fall back.
class LanguageFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileBytes(dir / "English.lng",
                   "LngCodePage=1252\r\nLanguage=English\r\n"
                   "Str.TurnOn=Turn on\r\nMsg.MaxAdded=The list is full\r\nStr.Both=\r\n"
                   "MainForm.Label1=Settings\r\n");
    WriteFileBytes(dir / "Russian.lng",
                   "LngCodePage=1251\r\nLanguage=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n"
                   "Str.TurnOn=\xC2\xEA\xEB\xFE\xF7\xE8\xF2\xFC\r\nMsg.MaxAdded=\xD1\xEF\xE8\xF1\xEE\xEA "
                   "\xEF\xEE\xEB\xEE\xED\r\nStr.Both=\r\nMainForm.Label1=\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8\r\n");
    WriteFileBytes(dir / "German.lng",
                   "Language=Deutsch\r\nStr.TurnOn=\r\nMsg.MaxAdded=\r\nStr.Both=\r\nStr.Own=Eigen\r\n"
                   "Str.OnlyHere=\r\nMainForm.Label10=Zehn\r\nMainForm.Label1=\r\n");
    // Ukrainian texts are mostly missing: its fallback is the Russian file.
    WriteFileBytes(dir / "Ukrainian.lng", "LngCodePage=1251\r\nStr.TurnOn=\r\nStr.Own=\xB2\r\nStr.Both=\r\n");
    WriteFileBytes(dir / "Empty.lng", "");
  }

  TempDir dir{"lang"};
  TLanguage lang{dir.path()};
};

struct StringCase {
  const wchar_t* language;  // nullptr: none loaded
  const wchar_t* key;
  const wchar_t* defaultText;
  std::wstring expected;
};

class GetLngString : public LanguageFolder, public ::testing::WithParamInterface<StringCase> {};

TEST_P(GetLngString, FindsTheTextOrFallsBack) {
  const StringCase& c = GetParam();
  if (c.language) {
    ASSERT_TRUE(lang.SetLanguage(c.language));
  }
  EXPECT_EQ(lang.GetLngString(c.key, c.defaultText), c.expected)
      << (c.language ? c.language : L"(none)") << " " << c.key;
}

INSTANTIATE_TEST_SUITE_P(
    Lookups, GetLngString,
    ::testing::Values(
        StringCase{L"English", L"Str.TurnOn", L"", L"Turn on"},
        StringCase{L"English", L"str.turnon", L"", L"Turn on"},
        StringCase{L"Russian", L"Str.TurnOn", L"", L"Включить"},
        StringCase{L"German", L"Str.Own", L"x", L"Eigen"},
        StringCase{L"German", L"Str.TurnOn", L"x", L"Turn on"},           // empty: English file
        StringCase{L"Ukrainian", L"Str.TurnOn", L"x", L"Включить"},       // empty: Russian file
        StringCase{L"Ukrainian", L"Str.Own", L"", L"І"},                  // its own code page
        StringCase{L"German", L"Str.Both", L"x", L"[No translation]"},    // empty in both
        StringCase{L"Ukrainian", L"Str.Both", L"x", L"[Нет перевода]"},
        StringCase{L"German", L"Str.OnlyHere", L"dflt", L"dflt"},         // fallback lacks the key
        StringCase{L"German", L"Str.Absent", L"dflt", L"dflt"},
        StringCase{L"German", L"Str.Absent", L"", L""},
        StringCase{L"German", L"MainForm.Label1", L"", L"Settings"},      // not Label10's text
        StringCase{nullptr, L"Str.TurnOn", L"designed", L"designed"}),    // nothing loaded yet
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(LanguageFolder, NarrowKeysFindTheSameTexts) {
  ASSERT_TRUE(lang.SetLanguage(L"Russian"));
  EXPECT_EQ(lang.GetLngString("Str.TurnOn", L""), L"Включить");
  EXPECT_EQ(lang.GetLngString("Str.Absent", L"dflt"), L"dflt");
}

TEST_F(LanguageFolder, MessagesHaveNoDefault) {
  const struct {
    const wchar_t* language;
    const wchar_t* name;
    std::wstring expected;
  } cases[] = {
      {L"English", L"MaxAdded", L"The list is full"},
      {L"German", L"MaxAdded", L"The list is full"},
      {L"Ukrainian", L"MaxAdded", L""},  // absent from the file: no fallback
      {L"Russian", L"MaxAdded", L"Список полон"},
      {L"English", L"Absent", L""},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(lang.SetLanguage(c.language));
    EXPECT_EQ(lang.GetLngMessage(c.name), c.expected) << c.language << " " << c.name;
  }
}

TEST_F(LanguageFolder, AMissingFallbackFileGivesTheMarker) {
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  std::filesystem::remove(dir / "English.lng");
  std::filesystem::create_directory(dir / "English.lng");  // unreadable as a file
  EXPECT_EQ(lang.GetLngString(L"Str.TurnOn", L"x"), L"[...]");
  EXPECT_EQ(lang.GetLngMessage(L"MaxAdded"), L"[...]");
  EXPECT_EQ(lang.GetLngString(L"Str.Own", L"x"), L"Eigen") << "own texts need no fallback";
}

TEST_F(LanguageFolder, AnEmptyFallbackFileCountsAsMissing) {
  WriteFileBytes(dir / "English.lng", "");
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  EXPECT_EQ(lang.GetLngString(L"Str.TurnOn"), L"[...]");
}

TEST_F(LanguageFolder, FallbackFilesAreReadAgainAfterALanguageChange) {
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  EXPECT_EQ(lang.GetLngString(L"Str.TurnOn"), L"Turn on");
  WriteFileBytes(dir / "English.lng", "Str.TurnOn=Switch on\r\n");
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  EXPECT_EQ(lang.GetLngString(L"Str.TurnOn"), L"Switch on");
}

TEST_F(LanguageFolder, SetLanguageChangesNothingForAnUnusableFile) {
  ASSERT_TRUE(lang.SetLanguage(L"English"));
  for (const wchar_t* name : {L"Empty", L"Missing", L"", L"ENGLISH.LNG"}) {
    EXPECT_FALSE(lang.SetLanguage(name)) << name;
    EXPECT_EQ(lang.CurrentLanguage(), L"English") << name;
    EXPECT_FALSE(lang.IsRusLang()) << name;
    EXPECT_EQ(lang.GetLngString(L"Str.TurnOn"), L"Turn on") << name;
  }
}

TEST_F(LanguageFolder, IsRusLangByExactName) {
  EXPECT_EQ(lang.CurrentLanguage(), L"Russian") << "the designed texts are Russian";
  EXPECT_TRUE(lang.IsRusLang());
  WriteFileBytes(dir / "Belorussian.lng", "A=1\r\n");
  WriteFileBytes(dir / "russian2.lng", "A=1\r\n");
  const struct {
    const wchar_t* name;
    bool rus;
  } cases[] = {{L"English", false}, {L"Ukrainian", true}, {L"Belorussian", true},
               {L"russian2", false}, {L"Russian", true}, {L"German", false}};
  for (const auto& c : cases) {
    ASSERT_TRUE(lang.SetLanguage(c.name)) << c.name;
    EXPECT_EQ(lang.IsRusLang(), c.rus) << c.name;
  }
  lang.ClearCurrentLanguage();
  EXPECT_FALSE(lang.IsRusLang());
}

TEST_F(LanguageFolder, ReadsOneFileDirectly) {
  ASSERT_TRUE(lang.SetLanguage(L"English"));
  const struct {
    std::filesystem::path file;
    const wchar_t* key;
    std::wstring expected;
  } cases[] = {
      {L"Russian", L"Language", L"Русский"},
      {L"Russian.lng", L"Language=", L"Русский"},
      {dir / "German.lng", L"Language", L"Deutsch"},
      {L"German", L"Str.TurnOn", L"[No translation]"},
      {L"German", L"Str.Absent", L""},
      {L"Nowhere", L"Language", L"[...]"},
      {L"Empty", L"Language", L"[...]"},
  };
  for (const auto& c : cases) EXPECT_EQ(lang.GetLngStringFromLngFile(c.key, c.file), c.expected) << c.file;
}

TEST_F(LanguageFolder, ABareNameIsNeverTakenFromTheCurrentFolder) {
  TempDir cwd("cwd");
  WriteFileBytes(cwd / "English", "Language=Impostor\r\n");
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(cwd.path());
  const std::wstring text = lang.GetLngStringFromLngFile(L"Language", L"English");
  std::filesystem::current_path(saved);
  EXPECT_EQ(text, L"English");
}

TEST_F(LanguageFolder, TranslatorInfoOfTheCurrentLanguage) {
  WriteFileBytes(dir / "Polish.lng", "LngCodePage=1250\r\nLngTranslated=Jan\r\nLngVersion=\r\n");
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  EXPECT_EQ(lang.TranslatorInfo(), L"\r") << "neither line present";
  WriteFileBytes(dir / "English.lng", "LngVersion=1.3.5\r\n");
  ASSERT_TRUE(lang.SetLanguage(L"Polish"));
  EXPECT_EQ(lang.TranslatorInfo(), L"Jan\r1.3.5") << "an empty version falls back";
}

TEST_F(LanguageFolder, CaptionsStayWhenTheKeyGivesNothing) {
  ASSERT_TRUE(lang.SetLanguage(L"German"));
  EXPECT_EQ(lang.TranslateCaption(L"MainForm.Label10"), L"Zehn");
  EXPECT_EQ(lang.TranslateCaption(L"MainForm.Label1"), L"Settings");
  EXPECT_EQ(lang.TranslateCaption(L"Str.Both"), L"[No translation]");
  EXPECT_EQ(lang.TranslateCaption(L"MainForm.Label2"), std::nullopt);
  EXPECT_EQ(lang.TranslateCaption(L"Str.OnlyHere"), std::nullopt);
}

// Windows names files in UTF-16; the native standard library converts only ASCII
// wide paths, so the case exists in the Windows build only.
#ifdef _WIN32
TEST(LanguageFolderPath, AFolderWithNonLatinLettersWorks) {
  TempDir root("lang");
  const std::filesystem::path folder = root.path() / std::filesystem::path(L"Программы Qorn") / "lang";
  std::filesystem::create_directories(folder);
  WriteFileBytes(folder / "English.lng", "Str.TurnOn=Turn on\r\n");
  WriteFileBytes(folder / std::filesystem::path(L"Українська.lng"), "Str.TurnOn=\r\n");
  TLanguage lang(folder);
  ASSERT_TRUE(lang.SetLanguage(L"Українська"));
  EXPECT_EQ(lang.GetLngString(L"Str.TurnOn"), L"Turn on");
  EXPECT_EQ(ListLanguageNames(folder), (std::vector<std::wstring>{L"English", L"Українська"}));
}
#endif

TEST(ListLanguageNames, OffersTheLanguageFiles) {
  TempDir dir("langlist");
  for (const char* name : {"English.lng", "German.LNG", "Russian.lng", "notes.txt", "lng", ".lng", "x.lngx"}) {
    WriteFileBytes(dir / name, "A=1\r\n");
  }
  std::filesystem::create_directory(dir / "Folder.lng");
  EXPECT_EQ(ListLanguageNames(dir.path()), (std::vector<std::wstring>{L"English", L"German.LNG", L"Russian"}));
}

TEST(ListLanguageNames, WithoutFilesOffersRussian) {
  TempDir dir("langlist");
  const std::vector<std::wstring> russian{L"Russian"};
  EXPECT_EQ(ListLanguageNames(dir.path()), russian);
  EXPECT_EQ(ListLanguageNames(dir / "absent"), russian);
}

}  // namespace
