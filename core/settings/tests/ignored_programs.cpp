// The ignored-programs list: what may be an entry, deleting down to empty, the
// lookup without regard to letter case, and the entries through "stgex.ini".
#include <gtest/gtest.h>

#include <cctype>

#include "core/settings/IgnoredPrograms.h"

namespace {

std::wstring AsciiFold(std::string_view path) {
  std::wstring folded;
  for (char c : path) folded += static_cast<wchar_t>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

TExtSettings Reloaded(TExtSettings& ext) {
  TIniDocument ini;
  ext.WriteTo(ini);
  TExtSettings loaded;
  loaded.ReadFrom(TIniDocument::Parse(ini.Bytes()));
  loaded.SplitListValues();
  return loaded;
}

}  // namespace

TEST(IgnoredPrograms, APathWithTheSeparatorIsRefusedAndNothingChanges) {
  struct Case {
    const char* path;
    TIgnoredPathRefusal expected;
  } cases[] = {
      {"C:\\Games\\Game.exe", TIgnoredPathRefusal::None},
      {"D:\\Tools & more\\a=b (x86)\\t.exe", TIgnoredPathRefusal::None},
      {"C:\\Games;Old\\game.exe", TIgnoredPathRefusal::HasSeparator},
      {"C:\\games\\game.exe;", TIgnoredPathRefusal::HasSeparator},
      {";", TIgnoredPathRefusal::HasSeparator},
      {"", TIgnoredPathRefusal::Empty},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    TExtSettings ext;
    TIgnoredPrograms list(ext);
    EXPECT_EQ(list.Add(c.path), c.expected);
    const bool added = c.expected == TIgnoredPathRefusal::None;
    EXPECT_EQ(list.InUse(), added);
    EXPECT_EQ(list.Entries().size(), added ? 1u : 0u);
  }
}

TEST(IgnoredPrograms, EntriesComeBackFromStgexIniAsTheyWereAdded) {
  TExtSettings ext;
  ext.MainSettingsEx = {"UserPictMuteOn=C:\\on.png"};
  TIgnoredPrograms list(ext);
  const std::vector<std::string> paths = {"C:\\Games\\New Game\\Game.exe", "c:\\tools\\noisy.exe",
                                          "C:\\Games\\New Game\\Game.exe"};
  for (const auto& path : paths) ASSERT_EQ(list.Add(path), TIgnoredPathRefusal::None);
  ASSERT_EQ(list.Add("C:\\a;b\\two.exe"), TIgnoredPathRefusal::HasSeparator);

  TIniDocument ini;
  ext.WriteTo(ini);
  EXPECT_NE(ini.Bytes().find("IgnoredPrograms=C:\\Games\\New Game\\Game.exe;c:\\tools\\noisy.exe;"
                             "C:\\Games\\New Game\\Game.exe\r\n"),
            std::string::npos)
      << ini.Bytes();
  TExtSettings loaded = Reloaded(ext);
  EXPECT_TRUE(loaded.IgnoredProgramsInUse);
  EXPECT_EQ(loaded.IgnoredPrograms, paths);
  EXPECT_EQ(GetIniStg(&loaded.MainSettingsEx, "UserPictMuteOn"), "C:\\on.png");
}

TEST(IgnoredPrograms, DeletingTheLastEntryTakesTheListOutOfUse) {
  TExtSettings ext;
  TIgnoredPrograms list(ext);
  ASSERT_EQ(list.Add("c:\\a.exe"), TIgnoredPathRefusal::None);
  ASSERT_EQ(list.Add("c:\\b.exe"), TIgnoredPathRefusal::None);
  ASSERT_EQ(list.Add("c:\\a.exe"), TIgnoredPathRefusal::None);

  for (int outside : {-1, 3}) EXPECT_FALSE(list.Delete(outside)) << outside;
  EXPECT_EQ(list.Entries().size(), 3u);
  // One copy of a path listed twice goes; the other still counts.
  ASSERT_TRUE(list.Delete(0));
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"c:\\b.exe", "c:\\a.exe"}));
  EXPECT_TRUE(list.Contains("c:\\a.exe", AsciiFold));
  ASSERT_TRUE(list.Delete(1));
  EXPECT_TRUE(list.InUse());
  ASSERT_TRUE(list.Delete(0));
  EXPECT_FALSE(list.InUse());
  EXPECT_FALSE(list.Delete(0));

  // Saved out of use, the key is empty, and a reload finds nothing to ignore.
  TExtSettings loaded = Reloaded(ext);
  EXPECT_EQ(GetIniStg(&loaded.MainSettingsEx, "IgnoredPrograms"), "");
  EXPECT_FALSE(loaded.IgnoredProgramsInUse);
}

TEST(IgnoredPrograms, TheLookupIgnoresLetterCase) {
  TExtSettings ext;
  ext.MainSettingsEx = {"IgnoredPrograms=C:\\Games\\Game.EXE;d:\\x.exe"};
  ext.SplitListValues();
  const TIgnoredPrograms list(ext);
  struct Case {
    const char* foreground;
    bool ignored;
  } cases[] = {
      {"c:\\games\\game.exe", true},  // the engine asks in lower case
      {"C:\\GAMES\\GAME.EXE", true}, {"D:\\X.exe", true}, {"c:\\games\\game.exe.bak", false},
      {"c:\\games\\game", false},    {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(list.Contains(c.foreground, AsciiFold), c.ignored) << c.foreground;

  // Entries left over while the list is out of use ignore nothing.
  ext.IgnoredProgramsInUse = false;
  EXPECT_FALSE(list.Contains("d:\\x.exe", AsciiFold));
}
