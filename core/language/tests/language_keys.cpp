// The shipped language files against each other and against the code: both hold
// the same keys, every text is there (they are the fallback of every other
// language), arguments match, and every key the code names is present.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/language/Language.h"
#include "core/language/LanguageFile.h"
#include "core/language/LanguageTranslate.h"
#include "testing/TempDir.h"

namespace {

const std::filesystem::path kSource = QORN_SOURCE_DIR;
const std::filesystem::path kLang = kSource / "data" / "lang";

struct UsedKey {
  std::string key;
  std::string where;
};

// Keys named through literals in calls of the lookups (see core/Language.h), and of
// the action notices' L(key), wide or narrow. A literal that is only the start of a
// key built at run time ("Str.Ext_Tabl_" + code) is no key. Comment lines are
// skipped, so that examples in comments are not taken for keys.
std::vector<UsedKey> KeysInSource(const std::string& text, const std::string& where) {
  static const std::regex call(
      R"re(\b(GetLngString|GetLngMessage|ShowLanguageMessage|GetLngStringFromLngFile|TranslateCaption|LngKey|L)\s*\(\s*L?"([^"\\]*)"(?=\s*[,)]))re");
  std::vector<UsedKey> keys;
  std::size_t lineNo = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    ++lineNo;
    const std::size_t first = line.find_first_not_of(" \t");
    const bool comment = first != std::string::npos && line.compare(first, 2, "//") == 0;
    if (!comment) {
      for (std::sregex_iterator it(line.begin(), line.end(), call), none; it != none; ++it) {
        std::string key = (*it)[2];
        if ((*it)[1] == "GetLngMessage" || (*it)[1] == "ShowLanguageMessage") key = "Msg." + key;
        keys.push_back({key, where + ":" + std::to_string(lineNo)});
      }
    }
    start = end + 1;
  }
  return keys;
}

std::vector<UsedKey> KeysInProgram() {
  static const std::set<std::string> skipped = {"build", "tests", "fuzz", "testing", ".git", "lib", "bin-unused", "data"};
  std::vector<UsedKey> keys;
  for (auto it = std::filesystem::recursive_directory_iterator(kSource); it != decltype(it)(); ++it) {
    const auto name = it->path().filename().string();
    if (it->is_directory()) {
      if (skipped.count(name)) it.disable_recursion_pending();
      continue;
    }
    const auto ext = it->path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    std::ifstream in(it->path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (auto& k : KeysInSource(text, std::filesystem::relative(it->path(), kSource).string())) {
      keys.push_back(std::move(k));
    }
  }
  return keys;
}

TLanguageFile LoadShipped(const char* name) {
  auto file = TLanguageFile::Load(kLang / name);
  if (!file) ADD_FAILURE() << "cannot load " << (kLang / name).string();
  return file ? std::move(*file) : TLanguageFile{};
}

std::string Narrow(const std::wstring& s) {
  std::string out;
  for (wchar_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// The argument marks a text carries: Format arguments and "%n", and "\n" breaks.
std::multiset<std::wstring> ArgumentsOf(const std::wstring& text) {
  std::multiset<std::wstring> marks;
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == L'%' || (text[i] == L'\\' && text[i + 1] == L'n')) {
      marks.insert(text.substr(i, 2));
      ++i;
    }
  }
  return marks;
}

TEST(LanguageKeyScan, FindsTheKeysOfLookupCalls) {
  const struct {
    const char* source;
    std::vector<std::string> keys;
  } cases[] = {
      {R"(x = lang.GetLngString(L"Str.TurnOn");)", {"Str.TurnOn"}},
      {R"(x = GetLngString (  L"OSD.Volume", L"Volume");)", {"OSD.Volume"}},
      {R"(ShowMessage(GetLngMessage(L"MaxAdded"));)", {"Msg.MaxAdded"}},
      {R"(f(TranslateCaption(L"MainForm.N11"), LngKey(L"Groups.Group20"));)", {"MainForm.N11", "Groups.Group20"}},
      {R"(GetLngStringFromLngFile(L"LngID", path))", {"LngID"}},
      {"  // GetLngString(L\"In.A.Comment\")\nGetLngString(L\"Real\")", {"Real"}},
      {R"(world.Language.GetLngString("Str.CancelTest", L""))", {"Str.CancelTest"}},
      {R"(return L("Groups.Group21") + CR + L("Str.Ext_Tabl_" + std::to_string(code));)", {"Groups.Group21"}},
      {R"(GetLngString(key); MyGetLngString(L"Not.Ours"); TEXT(L"x"); L"Groups.Group20")", {}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> found;
    for (const auto& k : KeysInSource(c.source, "x")) found.push_back(k.key);
    EXPECT_EQ(found, c.keys) << c.source;
  }
}

TEST(ShippedLanguageFiles, DeclareThemselves) {
  const TLanguageFile english = LoadShipped("English.lng");
  const TLanguageFile russian = LoadShipped("Russian.lng");
  EXPECT_EQ(english.CodePage(), 1252);
  EXPECT_EQ(russian.CodePage(), 1251);
  EXPECT_EQ(english.LngID(), 1033);
  EXPECT_EQ(russian.LngID(), 1049);
  ASSERT_NE(russian.Find(L"Language"), nullptr);
  EXPECT_EQ(*russian.Find(L"Language"), L"Русский") << "the Russian file must be read as CP1251";
  ASSERT_NE(english.Find(L"Language"), nullptr);
  EXPECT_EQ(*english.Find(L"Language"), L"English");
  for (const wchar_t* key : {L"LngVersion", L"LngTranslated"}) {
    EXPECT_NE(english.Find(key), nullptr) << Narrow(key);
    EXPECT_NE(russian.Find(key), nullptr) << Narrow(key);
  }
}

TEST(ShippedLanguageFiles, HoldTheSameCompleteKeys) {
  const TLanguageFile english = LoadShipped("English.lng");
  const TLanguageFile russian = LoadShipped("Russian.lng");
  for (const auto* file : {&english, &russian}) {
    for (const auto& dup : file->DuplicateKeys()) ADD_FAILURE() << "duplicate key " << Narrow(dup);
    for (const auto& [key, text] : file->Entries()) EXPECT_FALSE(text.empty()) << "no text for " << Narrow(key);
  }
  for (const auto& [key, text] : english.Entries()) {
    const std::wstring* other = russian.Find(key);
    if (other == nullptr) {
      ADD_FAILURE() << "Russian.lng lacks " << Narrow(key);
      continue;
    }
    EXPECT_EQ(ArgumentsOf(text), ArgumentsOf(*other)) << "arguments differ for " << Narrow(key);
  }
  for (const auto& [key, text] : russian.Entries()) {
    EXPECT_NE(english.Find(key), nullptr) << "English.lng lacks " << Narrow(key);
  }
}

TEST(ShippedLanguageFiles, EveryLineIsAKeyAndAText) {
  for (const char* name : {"English.lng", "Russian.lng"}) {
    const std::string bytes = qorn::testing::ReadFileBytes(kLang / name);
    ASSERT_FALSE(bytes.empty()) << name;
    std::size_t start = 0;
    int lineNo = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find("\r\n", start);
      ASSERT_NE(end, std::string::npos) << name << ": lines end with CR LF, the last one too";
      const std::string line = bytes.substr(start, end - start);
      ++lineNo;
      EXPECT_NE(line.find('='), std::string::npos) << name << ":" << lineNo << " has no key";
      EXPECT_EQ(line.find('\n'), std::string::npos) << name << ":" << lineNo;
      EXPECT_EQ(line.find('\x98'), std::string::npos) << name << ":" << lineNo << " a byte no code page maps";
      start = end + 2;
    }
  }
}

TEST(ShippedLanguageFiles, HoldEveryKeyTheProgramAsksFor) {
  const TLanguageFile english = LoadShipped("English.lng");
  const TLanguageFile russian = LoadShipped("Russian.lng");
  const std::vector<UsedKey> keys = KeysInProgram();
  // The language code itself asks for some keys: none found means the scan is blind.
  ASSERT_FALSE(keys.empty()) << "no key found under " << kSource.string();
  for (const auto& used : keys) {
    const std::wstring key(used.key.begin(), used.key.end());
    EXPECT_NE(english.Find(key), nullptr) << used.where << ": English.lng lacks " << used.key;
    EXPECT_NE(russian.Find(key), nullptr) << used.where << ": Russian.lng lacks " << used.key;
  }
}

// Keys the code builds from numbers, which no literal names.
TEST(ShippedLanguageFiles, CaptionEveryNavigationItem) {
  TLanguage lang(kLang);
  for (const wchar_t* name : {L"English", L"Russian"}) {
    ASSERT_TRUE(lang.SetLanguage(name));
    const int items[] = {4, 10, 4};
    for (int group = 0; group < 3; ++group) {
      for (int item = 0; item < items[group]; ++item) {
        const auto caption = NavigationItemCaption(lang, group, item, L"");
        ASSERT_TRUE(caption.has_value());
        EXPECT_FALSE(caption->empty()) << Narrow(name) << " group " << group << " item " << item;
      }
    }
  }
}

}  // namespace
