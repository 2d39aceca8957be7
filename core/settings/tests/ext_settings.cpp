// The extended settings lists and the "stgex.ini" document.
#include <gtest/gtest.h>

#include "core/settings/ExtSettings.h"

TEST(GetIniStg, WholeNameBeforeTheEqualsSign) {
  const TSettingsLines list = {"wapath=C:\\x", "wainfo=a", "KMPlayer_path=D:\\k.exe", "wainfo=b", "broken",
                               "empty="};
  struct Case { const char* name; const char* expected; };
  const Case cases[] = {
      {"wa", ""},                        // a prefix of a name is not that name
      {"wapath", "C:\\x"},
      {"wainfo", "b"},                   // the last line of the name wins
      {"WAPATH", ""},                    // names are case-sensitive
      {"KMPlayer", ""},
      {"KMPlayer_path", "D:\\k.exe"},
      {"broken", ""},                    // a line without "=" holds no value
      {"empty", ""},
      {"missing", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(GetIniStg(&list, c.name), c.expected) << c.name;
  EXPECT_EQ(GetIniStg(nullptr, "wapath"), "") << "an absent list";
}

TEST(GetIniStg, OnlyTextTemplatesTurnBackslashNIntoLineBreaks) {
  const TSettingsLines list = {
      "wapath=D:\\New Music\\winamp.exe",
      "UserPictMuteOn=C:\\nice\\on.png",
      "WallpapersFoldersList=D:\\New Wallpapers;E:\\Nature",
      "IgnoredPrograms=c:\\n.exe;c:\\games\\x.exe",
      "KMPlayer_path=C:\\Program Files\\NKMPlayer\\k.exe",
      "wainfo=%title%\\n%artist%\\N%album%",
      "wanotaginfo=line1\\nline2",
  };
  struct Case { const char* name; const char* expected; };
  const Case cases[] = {
      {"wapath", "D:\\New Music\\winamp.exe"},
      {"UserPictMuteOn", "C:\\nice\\on.png"},
      {"WallpapersFoldersList", "D:\\New Wallpapers;E:\\Nature"},
      {"IgnoredPrograms", "c:\\n.exe;c:\\games\\x.exe"},
      {"KMPlayer_path", "C:\\Program Files\\NKMPlayer\\k.exe"},
      {"wainfo", "%title%\r\n%artist%\r\n%album%"},
      {"wanotaginfo", "line1\r\nline2"},
  };
  for (const Case& c : cases) EXPECT_EQ(GetIniStg(&list, c.name), c.expected) << c.name;
}

TEST(SetIniStg, ReplacesEveryLineOfTheNameOrAppends) {
  TExtSettings ext;
  int notified = 0;
  ext.OnValueSet = [&] { ++notified; };
  TSettingsLines list = {"wainfo=a", "wainfo2=keep", "wapath=C:\\x", "wainfo=b"};
  SetIniStg(ext, &list, "wainfo", "c");
  EXPECT_EQ(list, (TSettingsLines{"wainfo=c", "wainfo2=keep", "wapath=C:\\x", "wainfo=c"}));
  SetIniStg(ext, &list, "loadifneed", "1");
  EXPECT_EQ(list.back(), "loadifneed=1");
  SetIniStg(ext, nullptr, "wapath", "D:\\y");
  EXPECT_EQ(notified, 3) << "the Save button is enabled even for an absent list";
}

TEST(SetIniStg, ValuesRoundTripExactly) {
  TExtSettings ext;
  TSettingsLines list;
  struct Case { const char* name; const char* value; };
  const Case cases[] = {
      {"wainfo", "%title%\r\n%artist%"},
      {"wanotaginfo", "one\r\ntwo\r\nthree"},
      {"wapath", "D:\\New Wallpapers\\no\\winamp.exe"},
      {"WallpapersFoldersList", "D:\\New;N:\\nature"},
      {"Foobar2000_path", "C:\\a=b\\foobar.exe"},  // "=" inside a value
  };
  for (const Case& c : cases) SetIniStg(ext, &list, c.name, c.value);
  for (const Case& c : cases) EXPECT_EQ(GetIniStg(&list, c.name), c.value) << c.name;
  EXPECT_EQ(list[0], "wainfo=%title%\\n%artist%") << "a template is stored as one line";
  for (const std::string& line : list) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
}

TEST(IniDocument, ReadsSectionsAsThePlatformReaderDoes) {
  const std::string file =
      "; written by hand\r\n"
      "[winamp]\r\n"
      "wapath = C:\\Winamp\\winamp.exe  \r\n"
      "; a comment\r\n"
      "\r\n"
      "loadifneed=1\n"          // a line ended without CR
      "WAPATH=second\r\n"       // the same name again (names ignore case in the file)
      "flagonly\r\n"
      "=novalue\r\n"
      "[QornMain]\r\n"
      "IgnoredPrograms=a.exe;b.exe\r\n"
      "[Other]\r\n"
      "x=1";
  const TIniDocument ini = TIniDocument::Parse(file);
  EXPECT_EQ(ini.ReadSection("WinAmp"),
            (TSettingsLines{"wapath=C:\\Winamp\\winamp.exe", "loadifneed=1", "flagonly="}));
  EXPECT_EQ(ini.ReadSection("QornMain"), TSettingsLines{"IgnoredPrograms=a.exe;b.exe"});
  EXPECT_EQ(ini.ReadSection("Other"), TSettingsLines{"x=1"});
  EXPECT_TRUE(ini.ReadSection("MediaPlayers").empty());
}

TEST(IniDocument, WritingASectionKeepsTheOthers) {
  TIniDocument ini = TIniDocument::Parse("[Other]\r\nkeep=me\r\n\r\n[WinAmp]\r\nold=1\r\n[Tail]\r\nt=2\r\n");
  ini.WriteSection("WinAmp", {"wapath=C:\\w.exe", "noequals", "=nameless", "wainfo=a\r\nb", "WAPATH=D:\\v.exe"});
  EXPECT_EQ(ini.Bytes(),
            "[Other]\r\nkeep=me\r\n\r\n[Tail]\r\nt=2\r\n\r\n"
            "[WinAmp]\r\nwapath=D:\\v.exe\r\nwainfo=a\\nb\r\n");
  const TIniDocument again = TIniDocument::Parse(ini.Bytes());
  EXPECT_EQ(again.ReadSection("WinAmp"), (TSettingsLines{"wapath=D:\\v.exe", "wainfo=a\\nb"}));
  EXPECT_EQ(again.ReadSection("Other"), TSettingsLines{"keep=me"});
}

TEST(ExtSettings, SaveWritesTheFourSectionsWithTheJoinedLists) {
  TExtSettings ext;
  ext.WinAmpSettings = {"wapath=C:\\w.exe"};
  ext.MediaPlayerSettings = {"KMPlayer_path=C:\\k.exe"};
  ext.MainSettingsEx = {"UserPictMuteOn=C:\\on.png", "IgnoredPrograms=stale"};
  ext.IgnoredProgramsInUse = true;
  ext.IgnoredPrograms = {"c:\\a.exe", "", "c:\\b.exe"};
  ext.WallpaperFolders = {"D:\\New Wallpapers", "E:\\x"};
  TIniDocument ini;
  ext.WriteTo(ini);
  EXPECT_EQ(ini.Bytes(),
            "[WinAmp]\r\nwapath=C:\\w.exe\r\n\r\n"
            "[QornMain]\r\nUserPictMuteOn=C:\\on.png\r\nIgnoredPrograms=c:\\a.exe;c:\\b.exe\r\n\r\n"
            "[Wallpapers]\r\nWallpapersFoldersList=D:\\New Wallpapers;E:\\x\r\n\r\n"
            "[MediaPlayers]\r\nKMPlayer_path=C:\\k.exe\r\n");

  TExtSettings loaded;
  loaded.ReadFrom(TIniDocument::Parse(ini.Bytes()));
  loaded.SplitListValues();
  EXPECT_TRUE(loaded.IgnoredProgramsInUse);
  EXPECT_EQ(loaded.IgnoredPrograms, (std::vector<std::string>{"c:\\a.exe", "c:\\b.exe"}));
  EXPECT_EQ(loaded.WallpaperFolders, (std::vector<std::string>{"D:\\New Wallpapers", "E:\\x"}));
  EXPECT_EQ(GetIniStg(&loaded.WinAmpSettings, "wapath"), "C:\\w.exe");
}

TEST(ExtSettings, IgnoredProgramsNotInUseAreSavedEmpty) {
  TExtSettings ext;
  ext.IgnoredPrograms = {"c:\\a.exe"};
  TIniDocument ini;
  ext.WriteTo(ini);
  TExtSettings loaded;
  loaded.ReadFrom(TIniDocument::Parse(ini.Bytes()));
  EXPECT_EQ(GetIniStg(&loaded.MainSettingsEx, "IgnoredPrograms"), "");
  loaded.SplitListValues();
  EXPECT_FALSE(loaded.IgnoredProgramsInUse);
  EXPECT_TRUE(loaded.IgnoredPrograms.empty());
}
