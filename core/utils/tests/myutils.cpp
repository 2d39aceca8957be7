#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/utils/myUtils.h"

TEST(SplitString, KeepsEmptyPieces) {
  struct Case { std::wstring text, sep; std::vector<std::wstring> pieces; };
  const Case cases[] = {
      {L"a;;b", L";", {L"a", L"", L"b"}},
      {L"abc", L";", {L"abc"}},
      {L"", L";", {L""}},
      {L";", L";", {L"", L""}},
      {L"a||b", L"||", {L"a", L"b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitString(c.text, c.sep), c.pieces) << c.text;
}

TEST(SecondsToHMS, WritesTwoDigitFields) {
  struct Case { long long s; bool force; std::wstring text; };
  const Case cases[] = {
      {59, false, L"00:59"}, {3600, false, L"01:00:00"}, {5, true, L"00:00:05"},
      {61, false, L"01:01"}, {36000 + 61, false, L"10:01:01"}, {-1, false, L"--:--"},
  };
  for (const auto& c : cases) EXPECT_EQ(SecondsToHMS(c.s, c.force), c.text) << c.s;
}

TEST(WinVersion, CodesNamesAndTests) {
  struct Case { bool nt; unsigned major, minor; const wchar_t* csd; int code; const wchar_t* name; };
  const Case cases[] = {
      {true, 3, 51, L"", 5, L"Win NT"},          {true, 4, 0, L"", 6, L"Win NT"},
      {true, 5, 0, L"", 7, L"Windows 2000"},     {true, 5, 1, L"", 9, L"Windows XP"},
      {true, 5, 2, L"", 10, L"Windows 2003"},    {true, 6, 0, L"", 11, L"Windows Vista"},
      {true, 6, 1, L"", 12, L"Windows 7"},       {true, 6, 2, L"", 13, L"Windows 8"},
      {true, 6, 3, L"", 14, L"Windows 8.1"},     {true, 6, 4, L"", 16, L"Windows 10++"},
      {true, 10, 0, L"", 15, L"Windows 10"},     {true, 10, 1, L"", 16, L"Windows 10++"},
      {true, 11, 0, L"", 16, L"Windows 10++"},   {true, 7, 0, L"", 0, L"Unknown"},
      {false, 4, 0, L"", 1, L"Win 9x"},          {false, 4, 0, L"B", 2, L"Win 9x"},
      {false, 4, 10, L"", 3, L"Win 9x"},         {false, 4, 10, L"A", 4, L"Win 9x"},
      {false, 4, 90, L"", 8, L"Win 9x"},         {false, 4, 50, L"", 0, L"Unknown"},
  };
  for (const auto& c : cases) {
    TWinVersionInfo v;
    v.nt = c.nt;
    v.major = c.major;
    v.minor = c.minor;
    v.servicePack = c.csd;
    EXPECT_EQ(WinVersionCode(v), c.code) << c.major << "." << c.minor;
    EXPECT_EQ(WinVersionName(WinVersionCode(v)), c.name) << c.major << "." << c.minor;
  }
  TWinVersionInfo w2k{true, 5, 0, 2195, L"Service Pack 4", 1}, w7{true, 6, 1, 7601, L"", 3};
  EXPECT_FALSE(WinVersionAtLeast(w2k, L"XP"));
  EXPECT_TRUE(WinVersionAtLeast(w2k, L"2K"));
  EXPECT_TRUE(WinVersionAtLeast(w7, L"XP"));
  EXPECT_TRUE(WinVersionAtLeast(w7, L"Seven"));
  EXPECT_FALSE(WinVersionAtLeast(w7, L"W10"));
  EXPECT_FALSE(WinVersionAtLeast(w7, L"Win7")) << "unknown names are false";
  EXPECT_EQ(WinVersionString(w2k, true), L"5.0.2195 Service Pack 4, Workstation");
  EXPECT_EQ(WinVersionString(w7, true), L"6.1.7601 , Server");
  EXPECT_EQ(WinVersionString({true, 10, 0, 0x12345678, L"", 1}, false), L"10.0.22136");
}

TEST(ExpandEnvVars, ReplacesSetNamesAndKeepsTheRest) {
  const std::map<std::wstring, std::wstring> env = {{L"WINDIR", L"C:\\Windows"}, {L"E", L""}};
  auto lookup = [&](const std::wstring& n) -> std::optional<std::wstring> {
    auto it = env.find(n);
    return it == env.end() ? std::nullopt : std::optional<std::wstring>(it->second);
  };
  struct Case { std::wstring in, out; };
  const Case cases[] = {
      {L"%WINDIR%\\x", L"C:\\Windows\\x"},
      {L"50%", L"50%"},
      {L"http://h/a%20b%20c", L"http://h/a%20b%20c"},
      {L"%UNSET%", L"%UNSET%"},
      {L"%UNSET%WINDIR%", L"%UNSETC:\\Windows"},
      {L"50%%WINDIR%", L"50%C:\\Windows"},
      {L"[%E%]", L"[]"},
      {L"%%", L"%%"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandEnvVarsWith(c.in, lookup), c.out) << c.in;
}

TEST(KeyPressCounterText, GroupsThousands) {
  EXPECT_EQ(KeyPressCounterText(999), L"999");
  EXPECT_EQ(KeyPressCounterText(1000), L"1.000");
  EXPECT_EQ(KeyPressCounterText(100005), L"100.005");
  EXPECT_EQ(KeyPressCounterText(1234567), L"1.234.567");
  EXPECT_EQ(KeyPressCounterText(0), L"0");
}

TEST(InstallationId, IsTheMd5OfTheJoinedProperties) {
  const std::string id = MakeInstallationId("PC", "user", "00000-111", "1234", "01/01/20");
  EXPECT_EQ(id, "01xe7242742e955c3e4466499203bc88241");
  EXPECT_EQ(id.size(), 35u);
}

namespace {

// A minimal NE module whose non-resident name table starts with its description.
std::string NeModule(const std::string& description) {
  std::string f(0x80, '\0');
  f[0] = 'M';
  f[1] = 'Z';
  f[0x3C] = 0x40;  // the NE header at 0x40
  f[0x40] = 'N';
  f[0x41] = 'E';
  f[0x40 + 0x2C] = 0x70;  // non-resident names at 0x70
  f[0x70] = static_cast<char>(description.size());
  f.resize(0x71);
  return f + description;
}

}  // namespace

TEST(ProgramDescription, ReadsNeAndRefusesDamagedFiles) {
  const auto ne = ReadProgramDescription(NeModule("Old Tool"));
  ASSERT_TRUE(ne);
  EXPECT_EQ(*ne, u"Old Tool");
  std::string cut = NeModule("Old Tool");
  cut.resize(cut.size() - 3);
  EXPECT_FALSE(ReadProgramDescription(cut)) << "the length byte runs past the end";
  std::string badOffset = NeModule("x");
  badOffset[0x3C] = 0x20;  // header offsets between 1 and 63 are refused
  EXPECT_FALSE(ReadProgramDescription(badOffset));
  EXPECT_FALSE(ReadProgramDescription("MZ"));
  EXPECT_FALSE(ReadProgramDescription(""));
  std::string farAway = NeModule("x");
  farAway[0x3F] = 0x7F;  // e_lfanew far past the end
  EXPECT_FALSE(ReadProgramDescription(farAway));
}
