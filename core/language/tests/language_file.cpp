#include <gtest/gtest.h>

#include <string>

#include "core/language/LanguageFile.h"
#include "testing/TempDir.h"

namespace {

struct FindCase {
  const char* what;
  std::string file;
  std::wstring key;
  const wchar_t* expected;  // nullptr: the key is absent
};

class Find : public ::testing::TestWithParam<FindCase> {};

TEST_P(Find, AnswersFromTheLineThatBeginsWithTheKey) {
  const FindCase& c = GetParam();
  const TLanguageFile file = TLanguageFile::Parse(c.file);
  const std::wstring* text = file.Find(c.key);
  if (c.expected == nullptr) {
    EXPECT_EQ(text, nullptr) << c.what << ": got " << (text ? *text : L"");
  } else {
    ASSERT_NE(text, nullptr) << c.what;
    EXPECT_EQ(*text, c.expected) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Find,
    ::testing::Values(
        FindCase{"a longer key first", "MainForm.Label10=Ten\r\nMainForm.Label1=One\r\n", L"MainForm.Label1", L"One"},
        FindCase{"a longer key only", "MainForm.Label10=Ten\r\n", L"MainForm.Label1", nullptr},
        FindCase{"key inside another key", "XMainForm.Label1=No\r\nMainForm.Label1=Yes\r\n", L"MainForm.Label1", L"Yes"},
        FindCase{"key inside an earlier text", "Str.A=see MainForm.Label1=x\r\nMainForm.Label1=real\r\n",
                 L"MainForm.Label1", L"real"},
        FindCase{"case does not matter", "mainform.CAPTION=Qorn\r\n", L"MainForm.Caption", L"Qorn"},
        FindCase{"the first line wins", "Str.X=first\r\nstr.x=second\r\n", L"Str.X", L"first"},
        FindCase{"text after the first equals sign", "Str.Eq=a=b=c\r\n", L"Str.Eq", L"a=b=c"},
        FindCase{"empty text is kept", "Str.Empty=\r\n", L"Str.Empty", L""},
        FindCase{"blanks of the text are kept", "Str.Pad=  x  \r\n", L"Str.Pad", L"  x  "},
        FindCase{"a blank before the equals sign is part of the key", "Str.B =x\r\n", L"Str.B", nullptr},
        FindCase{"a trailing equals sign on the key", "Msg.MaxAdded=Full\r\n", L"Msg.MaxAdded=", L"Full"},
        FindCase{"LF endings", "A=1\nB=2\n", L"B", L"2"},
        FindCase{"lone CR endings", "A=1\rB=2\r", L"B", L"2"},
        FindCase{"last line without an ending", "A=1\r\nB=2", L"B", L"2"},
        FindCase{"blank lines between", "\r\n\r\nA=1\r\n\r\n", L"A", L"1"},
        FindCase{"a line without equals sign is no key", "Comment line\r\nA=1\r\n", L"Comment line", nullptr},
        FindCase{"a line that starts with equals sign", "=orphan\r\n", L"", nullptr},
        FindCase{"an absent key", "A=1\r\n", L"Z", nullptr},
        FindCase{"an empty file", "", L"A", nullptr}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

struct MetaCase {
  const char* what;
  std::string file;
  std::uint16_t codePage;
  std::int32_t lngId;
  std::wstring language;  // text of "Language"
};

class Metadata : public ::testing::TestWithParam<MetaCase> {};

TEST_P(Metadata, DecidesHowTheTextsAreRead) {
  const MetaCase& c = GetParam();
  const TLanguageFile file = TLanguageFile::Parse(c.file);
  EXPECT_EQ(file.CodePage(), c.codePage) << c.what;
  EXPECT_EQ(file.LngID(), c.lngId) << c.what;
  const std::wstring* language = file.Find(L"Language");
  ASSERT_NE(language, nullptr) << c.what;
  EXPECT_EQ(*language, c.language) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Metadata,
    ::testing::Values(
        MetaCase{"Russian in 1251", "LngCodePage=1251\r\nLngID=1049\r\nLanguage=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n",
                 1251, 1049, L"Русский"},
        MetaCase{"no code page: 1252", "Language=Fran\xE7" "ais\r\n", 1252, 0, L"Français"},
        MetaCase{"code page after the texts", "Language=\xC0\r\nLngCodePage=1251\r\n", 1251, 0, L"А"},
        MetaCase{"code page key in any case", "lngcodepage=1251\r\nLanguage=\xC0\r\n", 1251, 0, L"А"},
        MetaCase{"blanks around numbers", "LngCodePage= 1251 \r\nLngID= 1058\r\nLanguage=\xC0\r\n", 1251, 1058, L"А"},
        MetaCase{"code page no number", "LngCodePage=cyr\r\nLanguage=\xC0\r\n", 1252, 0, L"À"},
        MetaCase{"code page out of range", "LngCodePage=70000\r\nLanguage=\xC0\r\n", 1252, 0, L"À"},
        MetaCase{"code page nobody has", "LngCodePage=12345\r\nLanguage=\xC0\r\n", 1252, 0, L"À"},
        MetaCase{"first code page line wins", "LngCodePage=1251\r\nLngCodePage=1252\r\nLanguage=\xC0\r\n", 1251, 0, L"А"},
        MetaCase{"id no number", "LngID=ru\r\nLanguage=x\r\n", 1252, 0, L"x"},
        MetaCase{"UTF-8 with its mark", "\xEF\xBB\xBFLanguage=\xD0\xA0\r\nLngCodePage=1251\r\n", 65001, 0, L"Р"},
        MetaCase{"UTF-8 declared", "LngCodePage=65001\r\nLanguage=\xD0\xA0\r\n", 65001, 0, L"Р"}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(LanguageFileParse, VeryLongLinesKeepEveryCharacter) {
  const std::string text(1 << 20, '\xFF');
  const std::string key(70000, 'k');
  const TLanguageFile file = TLanguageFile::Parse("LngCodePage=1251\r\n" + key + "=" + text + "\r\nEnd=1");
  const std::wstring* found = file.Find(std::wstring(key.begin(), key.end()));
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(*found, std::wstring(text.size(), L'я'));
  ASSERT_NE(file.Find(L"End"), nullptr);
}

TEST(LanguageFileParse, ReportsDuplicateKeysAndKeepsFileOrder) {
  const TLanguageFile file = TLanguageFile::Parse("B=1\r\nA=2\r\nb=3\r\n");
  ASSERT_EQ(file.Entries().size(), 2u);
  EXPECT_EQ(file.Entries()[0].first, L"B");
  EXPECT_EQ(file.Entries()[1].first, L"A");
  ASSERT_EQ(file.DuplicateKeys().size(), 1u);
  EXPECT_EQ(file.DuplicateKeys()[0], L"b");
}

TEST(LanguageFileParse, PrefixesOfKeys) {
  const TLanguageFile file = TLanguageFile::Parse("MainForm.LangList.Item0=One\r\n");
  EXPECT_TRUE(file.HasKeyWithPrefix(L"mainform.langlist."));
  EXPECT_FALSE(file.HasKeyWithPrefix(L"MainForm.LangList2"));
}

struct LoadCase {
  const char* what;
  std::string bytes;  // written to the file unless a folder is made instead
  bool makeFolder;
  bool loads;
};

class Load : public ::testing::TestWithParam<LoadCase> {};

TEST_P(Load, CountsUnusableFilesAsMissing) {
  const LoadCase& c = GetParam();
  qorn::testing::TempDir dir("lngload");
  const auto path = dir / "Test.lng";
  if (c.makeFolder) {
    std::filesystem::create_directory(path);
  } else {
    qorn::testing::WriteFileBytes(path, c.bytes);
  }
  EXPECT_EQ(TLanguageFile::Load(path).has_value(), c.loads) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, Load,
    ::testing::Values(LoadCase{"a translation", "A=1\r\n", false, true},
                      LoadCase{"only an empty text", "A=\r\n", false, true},
                      LoadCase{"zero bytes", "", false, false},
                      LoadCase{"only line breaks", "\r\n\r\n\n", false, false},
                      LoadCase{"no line with a key", "just words\r\n", false, false},
                      LoadCase{"a folder of that name", "", true, false},
                      LoadCase{"too large", std::string(TLanguageFile::MaxFileSize + 1, 'x'), false, false}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(LanguageFileLoad, MissingFileIsMissing) {
  qorn::testing::TempDir dir("lngload");
  EXPECT_FALSE(TLanguageFile::Load(dir / "None.lng").has_value());
}

}  // namespace
