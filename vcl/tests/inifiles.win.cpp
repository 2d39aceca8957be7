#include <gtest/gtest.h>

#include "testing/TempDir.h"
#include "vcl/IniFiles.h"
#include "vcl/SysUtils.h"

namespace {

using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

std::vector<String> Lines(const TStrings& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

TEST(IniFiles, ReadsWhatIsThereAndDefaultsTheRest) {
  TempDir dir("ini");
  WriteFileBytes(dir / "skin.ini",
                 "[Background]\r\nWidth=320\r\nHex=$1F\r\nCHex=0x10\r\nBad=12px\r\nName = Blue sky \r\n"
                 "Flag=1\r\n[Labels]\r\nCount=3\r\n");
  const TIniFile ini((dir / "skin.ini").wstring());
  struct IntCase {
    const wchar_t *section, *ident;
    int expected;
  };
  const IntCase ints[] = {{L"Background", L"Width", 320}, {L"background", L"WIDTH", 320}, {L"Background", L"Hex", 31},
                          {L"Background", L"CHex", 16},   {L"Background", L"Bad", -999},   {L"Background", L"None", -999},
                          {L"Nowhere", L"Width", -999},   {L"Labels", L"Count", 3}};
  for (const auto& c : ints)
    EXPECT_EQ(ini.ReadInteger(c.section, c.ident, -999), c.expected) << StringToUtf8(c.ident);
  EXPECT_EQ(ini.ReadString(L"Background", L"Name", L"x"), L"Blue sky") << "blanks around the value are dropped";
  EXPECT_EQ(ini.ReadString(L"Background", L"Missing", L"dflt"), L"dflt");
  EXPECT_TRUE(ini.ReadBool(L"Background", L"Flag", false));
  EXPECT_TRUE(ini.ReadBool(L"Background", L"Missing", true));
  EXPECT_EQ(ini.ReadString(L"A", L"B", L""), L"");
}

TEST(IniFiles, WriteThenReadBackAndEraseSections) {
  TempDir dir("ini");
  const String file = (dir / "stgex.ini").wstring();
  TIniFile ini(file);
  ini.EraseSection(L"WinAmp");  // nothing to erase in a new file: no error
  ini.WriteString(L"WinAmp", L"wapath", L"C:\\Program Files\\Winamp\\winamp.exe");
  ini.WriteString(L"WinAmp", L"wainfo", L"%artist% - %title%\\n%album%");
  ini.WriteInteger(L"QornMain", L"count", -12);
  ini.WriteBool(L"QornMain", L"flag", true);
  ini.UpdateFile();
  const std::string bytes = ReadFileBytes(dir / "stgex.ini");
  EXPECT_NE(bytes.find("wapath=C:\\Program Files\\Winamp\\winamp.exe"), std::string::npos) << bytes;

  const TIniFile other(file);
  EXPECT_EQ(other.ReadString(L"WinAmp", L"wainfo", L""), L"%artist% - %title%\\n%album%");
  EXPECT_EQ(other.ReadInteger(L"QornMain", L"count", 0), -12);
  EXPECT_TRUE(other.ReadBool(L"QornMain", L"flag", false));

  TStringList values;
  values.Add(L"stale");
  other.ReadSectionValues(L"WinAmp", values);
  EXPECT_EQ(Lines(values), (std::vector<String>{L"wapath=C:\\Program Files\\Winamp\\winamp.exe",
                                                L"wainfo=%artist% - %title%\\n%album%"}));
  TStringList names;
  other.ReadSection(L"QornMain", names);
  EXPECT_EQ(Lines(names), (std::vector<String>{L"count", L"flag"}));
  TStringList sections;
  other.ReadSections(sections);
  EXPECT_EQ(Lines(sections), (std::vector<String>{L"WinAmp", L"QornMain"}));

  ini.DeleteKey(L"QornMain", L"count");
  EXPECT_EQ(other.ReadInteger(L"QornMain", L"count", 7), 7);
  ini.EraseSection(L"WinAmp");
  other.ReadSectionValues(L"WinAmp", values);
  EXPECT_EQ(values.Count(), 0);
  EXPECT_TRUE(other.ReadBool(L"QornMain", L"flag", false)) << "the other section stays";
}

TEST(IniFiles, LongValuesAndLongSectionsComeBackWhole) {
  TempDir dir("ini");
  TIniFile ini((dir / "long.ini").wstring());
  const String longValue(10000, L'v');
  ini.WriteString(L"S", L"long", longValue);
  EXPECT_EQ(ini.ReadString(L"S", L"long", L""), longValue);
  for (int i = 0; i < 600; ++i) ini.WriteString(L"Many", Format(L"key%d", {i}), Format(L"value number %d", {i}));
  TStringList values;
  ini.ReadSectionValues(L"Many", values);
  ASSERT_EQ(values.Count(), 600) << "a section past the first buffer";
  EXPECT_EQ(values[599], L"key599=value number 599");
  TStringList names;
  ini.ReadSection(L"Many", names);
  EXPECT_EQ(names.Count(), 600);
}

TEST(IniFiles, DuplicateNamesKeepTheirLines) {
  TempDir dir("ini");
  WriteFileBytes(dir / "dup.ini", "[WinAmp]\r\nwainfo=a\r\nwainfo=b\r\n");
  const TIniFile ini((dir / "dup.ini").wstring());
  TStringList values;
  ini.ReadSectionValues(L"WinAmp", values);
  EXPECT_EQ(Lines(values), (std::vector<String>{L"wainfo=a", L"wainfo=b"}));
  EXPECT_EQ(ini.ReadString(L"WinAmp", L"wainfo", L""), L"a") << "a lookup gives the first";
}

TEST(IniFiles, WritingWhereNoFileCanBeRaises) {
  TempDir dir("ini");
  TIniFile ini((dir / "no-such-folder" / "x.ini").wstring());
  try {
    ini.WriteString(L"S", L"k", L"v");
    FAIL() << "no error";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), L"Unable to write to " + ini.FileName());
  }
}

}  // namespace
