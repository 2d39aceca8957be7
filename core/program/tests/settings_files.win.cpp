// The settings files through the real Qorn.exe under wine: hand-made files read
// and written back byte for byte, a missing "stg.db" made on closing without the
// other lists lost, and damaged files that cost nothing but themselves.
// ctest-lock: main-window
// desktop-input: a first run shows Qorn's window, which takes the activation
#include <gtest/gtest.h>

#include "core/settings/SafeFile.h"
#include "core/program/tests/QornInstall.h"
#include "testing/TempDir.h"
#include "testing/WinTesting.h"

#include <cstdint>
#include <cstring>
#include <algorithm>
#include <map>
#include <utility>
#include <set>
#include <random>
#include <string>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace qorn::testing;

namespace {

const fs::path Dist = fs::path(QORN_BINARY_DIR) / "dist";

// Little-endian writers at a byte offset.
void Put32(std::string& b, std::size_t at, std::int32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
}
void Put16(std::string& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8);
}
void PutShort(std::string& b, std::size_t at, const std::string& s) {
  b[at] = static_cast<char>(s.size());
  std::memcpy(b.data() + at + 1, s.data(), s.size());
}
std::int32_t Get32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
  return static_cast<std::int32_t>(v);
}

// "stg.db" laid out by hand, every part at its documented offset, with values
// apart from the defaults and the reserved bytes filled, so that a field written
// to the wrong place, a default written over a stored value or reserved bytes not
// kept all show.
std::string GoldenSettingsFile() {
  std::string b(6136, '\0');
  const char header[] = "\x08Stg v0.1\x01\x02\x03\x04\x05\x06\x07";
  std::memcpy(b.data(), header, 16);
  constexpr std::size_t main = 16;
  const std::map<std::size_t, std::int32_t> mainFields = {
      {0, 1234},   // KeyPressCount
      {4, 0},      // optauto
      {8, 1},      // opttray
      {12, 0},     // optclose
      {16, 0},     // osdshfs
      {24, 1},     // washowosd
      {28, 1},     // osdwa
      {32, 0},     // osd2sf
      {36, 1},     // osdlim
      {40, 150},   // osdtr2
      {44, 180},   // osdtr
      {48, 500},   // osdsh2
      {52, 700},   // osdsh
      {56, 0},     // osdshw
      {60, 1},     // volshowosd
      {64, 500},   // OsdTextTop
      {68, 300},   // OsdTextLeft
      {72, 400},   // OsdVolTop
      {76, 100},   // OsdVolLeft
      {80, 46},    // OsdVolHeight
      {84, 576},   // OsdVolWidth
      {88, 10},    // osdvolstep
      {92, 2},     // osdvolspace
      {96, 2},     // CB_osd_vol_border_style
      {108, 1},    // osdkeyspressed
      {116, 1},    // optlrmodif
      {120, 1},    // optmultiact
      {128, 1},    // CB_SettingsSave: the settings live beside the program
      {132, 0},    // rbtn_locks_showastray
      {140, 1},    // rbtn_trayshowlocks_multi
      {144, 0},    // optchecknewver
  };
  for (const auto& [at, v] : mainFields) Put32(b, main + at, v);
  for (int i = 0; i < 11; ++i) Put32(b, main + 156 + 4 * i, 1000 + i);  // reserved, kept as read

  constexpr std::size_t popup = 216;
  const std::uint8_t popupBytes[13] = {20, 255, 0, 1, 3, 5, 2, 1, 4, 1, 0, 120, 100};
  std::memcpy(b.data() + popup, popupBytes, sizeof popupBytes);
  for (int i = 13; i < 20; ++i) b[popup + i] = static_cast<char>(0xA0 + i);

  constexpr std::size_t strings = 236;
  PutShort(b, strings + 0 * 256, "English");
  PutShort(b, strings + 2 * 256, "01x00112233445566778899aabbccddeeff");
  PutShort(b, strings + 3 * 256, "1.4.0");
  for (int i = 4; i < 20; ++i) PutShort(b, strings + i * 256, "kept " + std::to_string(i));

  constexpr std::size_t colors = 5356;
  for (int i = 0; i < 7; ++i) Put32(b, colors + 4 * i, 0x102030 * (i + 1));
  for (int i = 7; i < 20; ++i) Put32(b, colors + 4 * i, 0xABCD00 + i);

  // Ten fonts, all present: tag 60, colour, LOGFONTA.
  constexpr std::size_t fonts = 5436;
  const char* faces[] = {"Courier New", "Tahoma", "Arial"};
  for (int slot = 0; slot < 10; ++slot) {
    const std::size_t at = fonts + slot * 68;
    Put32(b, at, 60);
    Put32(b, at + 4, 0x0000FF00 + slot);
    Put32(b, at + 8, -(13 + slot));              // lfHeight
    Put32(b, at + 8 + 16, slot < 3 ? 700 : 400);  // lfWeight
    b[at + 8 + 20] = slot == 1 ? 1 : 0;          // lfItalic
    b[at + 8 + 23] = 1;                          // lfCharSet: DEFAULT_CHARSET
    const char* face = faces[slot % 3];
    std::memcpy(b.data() + at + 8 + 28, face, std::strlen(face));
  }
  constexpr std::size_t hotKeys = 6116;
  Put16(b, hotKeys, 0x7B | 0x4000 | 0x8000);  // Ctrl+Alt+F12: program on/off
  for (int i = 6; i < 20; ++i) b[hotKeys + i] = static_cast<char>(0x50 + i);
  return b;
}

// Paths that hold "\n" and "\N" ("D:\New", "D:\new") must read back as they are;
// only the text templates carry the escape. A section Qorn does not know stays.
// The file is laid out as Qorn writes it (a blank line after each of its
// sections but the last), so a save must give back the same bytes.
const std::string GoldenExtSettings =
    "[Other]\r\n"
    "kept=as it was\r\n"
    "[WinAmp]\r\n"
    "wapath=D:\\New Wallpapers\\winamp.exe\r\n"
    "wainfo=%artist% - %title%\\n%album%\r\n"
    "\r\n"
    "[QornMain]\r\n"
    "IgnoredPrograms=c:\\games\\new\\game.exe;c:\\tools\\noisy.exe\r\n"
    "UserPictMuteOn=D:\\new\\mute on.png\r\n"
    "\r\n"
    "[Wallpapers]\r\n"
    "WallpapersFoldersList=D:\\New Wallpapers;E:\\nature\r\n"
    "\r\n"
    "[MediaPlayers]\r\n"
    "KMPlayer_path=C:\\Program Files\\The KMPlayer\\new\\KMPlayer.exe\r\n";

std::wstring MessageBoxText(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the static text of a message box
  return text;
}

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

struct SettingsFiles : ::testing::Test {
  TempDir dir{"settings"};
  TQornInstall qorn{dir / "Qorn", Dist};
  std::map<std::string, std::string> golden;

  void SetUp() override {
    ASSERT_TRUE(TQornInstall::NoOtherQorn()) << "another Qorn is still running";
    golden["stg.db"] = GoldenSettingsFile();
    golden["stgex.ini"] = GoldenExtSettings;

    TProfileTable table;
    table.Entries[0].Name = "main";
    table.Entries[0].Kind = "main";
    table.Entries[1].Name = "main";
    table.Entries[1].Kind = "-";
    table.Entries[2].Name = "work";
    table.Entries[2].Kind = "c:\\tools\\work.exe";
    for (std::size_t i = 0; i < 3; ++i) table.Entries[i].Reserved.fill(static_cast<std::uint8_t>(0x30 + i));
    table.Count = 2;
    golden["profile.db"] = StoreProfileTable(table, 2);

    TKeyTable main;
    main.Add(KeyBinding("Next", 176, 0x99, "00000000", 35, ""));
    main.Add(KeyBinding("Mail", 180, 0xEC, "01000010", 51, RunCommandParams("\"C:\\new\\mail.exe\" -compose")));
    main.Add(PluginBinding("Remote 1", "0000000000f40bf0", 21, "5"));
    golden["profiles/main.gpf"] = StoreProfileFile(main);
    TKeyTable work;
    work.Add(KeyBinding("Save", 'S', 0x1F, "01000000", 0, ""));
    golden["profiles/work.lpf"] = StoreProfileFile(work);
  }
  void TearDown() override { qorn.Kill(); }

  void WriteAll() const {
    for (const auto& [file, bytes] : golden) qorn.WriteFile(file, bytes);
  }
  // Starts Qorn, asks it to close at once and answers every message box it shows
  // meanwhile; the texts of the boxes, in order.
  std::vector<std::wstring> RunOnce() {
    std::vector<std::wstring> boxes;
    [&] {
      ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
      EXPECT_TRUE(qorn.Running());
      qorn.RequestClose();
      boxes = AnswerBoxesUntilExit();
    }();
    return boxes;
  }
  // shot: the first box is saved under that name in the screenshot folder.
  std::vector<std::wstring> AnswerBoxesUntilExit(const std::string& shot = {}) {
    std::vector<std::wstring> texts;
    std::set<HWND> answered;
    const bool ended = WaitFor(
        [&] {
          if (HWND box = qorn.FindOwnWindow(L"#32770", L"Qorn"); box && answered.insert(box).second) {
            texts.push_back(MessageBoxText(box));
            if (!shot.empty() && texts.size() == 1) {
              WaitFor([] { return false; }, 300ms);  // drawn
              SaveWindowShot(box, ScreenshotDir() / shot);
            }
            PostMessageW(box, WM_COMMAND, IDOK, 0);
          }
          return !qorn.Running();
        },
        60s);
    EXPECT_TRUE(ended) << "Qorn did not close";
    EXPECT_EQ(qorn.WaitForExit(30s), 0);
    return texts;
  }
  // Every golden file other than `except` reads back exactly.
  void ExpectUnchangedBut(const std::string& except) const {
    for (const auto& [file, bytes] : golden)
      if (file != except) {
        EXPECT_EQ(qorn.ReadFile(file), bytes) << file << " changed";
      }
  }
};

TEST_F(SettingsFiles, HandMadeFilesReadBackExactly) {
  WriteAll();
  // Dated back, so that a close that saved nothing cannot pass for a faithful save.
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
  for (const char* file : {"stg.db", "stgex.ini", "profile.db"}) fs::last_write_time(qorn.Settings() / file, old);
  EXPECT_TRUE(RunOnce().empty()) << "well-formed files give no message";
  for (const char* file : {"stg.db", "stgex.ini", "profile.db"})
    EXPECT_GT(fs::last_write_time(qorn.Settings() / file), old) << file << " was not saved on closing";
  ExpectUnchangedBut("");
}

TEST_F(SettingsFiles, AMissingSettingsFileIsMadeOnClosingAndTheListsStay) {
  golden.erase("stg.db");
  WriteAll();
  RunOnce();
  const std::string stg = qorn.ReadFile("stg.db");
  ASSERT_EQ(stg.size(), 6136u) << "all ten fonts are written";
  EXPECT_EQ(stg.substr(0, 9), std::string("\x08Stg v0.1"));
  EXPECT_EQ(Get32(stg, 16 + 88), 25) << "osdvolstep keeps its default";
  ExpectUnchangedBut("stg.db");
}

TEST_F(SettingsFiles, HalfWrittenFilesOfAnInterruptedSaveAreNotRead) {
  WriteAll();
  // A save that died after writing its temporary files and before replacing.
  for (const char* file : {"stg.db", "stgex.ini", "profile.db"}) {
    const std::string& whole = golden[file];
    qorn.WriteFile(SafeFileTemporaryPath(file).string(), whole.substr(0, whole.size() / 2));
  }
  RunOnce();
  ExpectUnchangedBut("");
  for (const char* file : {"stg.db", "stgex.ini", "profile.db"})
    EXPECT_FALSE(qorn.Exists(SafeFileTemporaryPath(file).string())) << "the next save finished what was left";
}

TEST_F(SettingsFiles, ASaveThatCannotBeWrittenIsReportedAndLosesNothing) {
  WriteAll();
  // Where the save writes first, a folder: the write fails as on a full disk.
  fs::create_directories(qorn.Settings() / SafeFileTemporaryPath("stg.db"));
  ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
  qorn.RequestClose();
  HWND box = nullptr;
  EXPECT_TRUE(WaitFor([&] { return (box = qorn.FindOwnWindow(L"#32770", L"Qorn")) != nullptr; }, 20s))
      << "the failed save was not reported";
  if (box) {
    EXPECT_EQ(MessageBoxText(box), L"Error #101: Can not save setting.");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  EXPECT_EQ(qorn.WaitForExit(30s), 0);
  ExpectUnchangedBut("");
}

// A damaged file: Qorn starts, takes what it can, and loses nothing of the rest.
struct Damage {
  const char* file;
  std::string (*bytes)(const std::string& golden);
};

std::string Garbage(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (auto& c : s) c = static_cast<char>(rng());
  return s;
}

TEST_F(SettingsFiles, DamagedFilesCostNothingElse) {
  const Damage cases[] = {
      {"stg.db", [](const std::string& g) { return g.substr(0, 100); }},
      {"stg.db", [](const std::string& g) { return g + Garbage(5000, 1); }},
      {"stg.db", [](const std::string&) { return Garbage(6136, 2); }},
      {"stg.db", [](const std::string&) { return std::string(3, '\xFF'); }},
      {"profiles/main.gpf", [](const std::string& g) { return g.substr(0, 613 * 2 + 300); }},
      {"profiles/main.gpf", [](const std::string&) { return Garbage(613 * 300, 3); }},
      {"profile.db", [](const std::string&) { return Garbage(303 * 70 + 7, 4); }},
      {"stgex.ini", [](const std::string&) { return Garbage(4000, 5); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    WriteAll();
    const std::string damaged = c.bytes(golden[c.file]);
    qorn.WriteFile(c.file, damaged);
    const auto boxes = RunOnce();
    if (damaged.size() == 100) {
      // Shown again for its screenshot.
      qorn.WriteFile(c.file, damaged);
      qorn.Remove("stg.db.bad");
      ASSERT_TRUE(qorn.Start());
      qorn.RequestClose();
      AnswerBoxesUntilExit("settings-damaged.png");
    }
    ExpectUnchangedBut(c.file);
    if (std::string(c.file) != "stgex.ini") {
      // Every one of these is damaged: its original is kept beside it and the user told once.
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_TRUE(Contains(boxes[0], L"damaged")) << boxes[0];
      EXPECT_EQ(qorn.ReadFile(std::string(c.file) + ".bad"), damaged);
      qorn.Remove(std::string(c.file) + ".bad");
    }
    if (std::string(c.file) == "stg.db") {
      const std::string stg = qorn.ReadFile("stg.db");
      EXPECT_GE(stg.size(), 5496u) << "the settings were not written whole";
      EXPECT_EQ(stg.substr(0, 9), std::string("\x08Stg v0.1"));
    }
    if (damaged.size() == 100) {
      // What the short file held is kept; the rest are the defaults.
      const std::string stg = qorn.ReadFile("stg.db");
      EXPECT_EQ(Get32(stg, 16), 1234) << "KeyPressCount";
      EXPECT_EQ(Get32(stg, 16 + 80), 46) << "OsdVolHeight";
      EXPECT_EQ(Get32(stg, 16 + 88), 25) << "osdvolstep is beyond the file: default";
    }
    if (damaged.size() > 6136 && std::string(c.file) == "stg.db") {
      EXPECT_EQ(qorn.ReadFile("stg.db").substr(0, 6136), golden["stg.db"]) << "the records of an oversized file";
    }
  }
}

// Files that a backup or sync program holds open without sharing all through the
// run: each is named once, Qorn runs on defaults for it, a close asked for while
// the first box is open happens once the boxes are answered, and no file is
// written over.
TEST_F(SettingsFiles, FilesHeldOpenAreToldOnceAndNeverWrittenOver) {
  // The profile file is read twice at start (the live table and the key list):
  // one box all the same. It is held alone, as a held table loads no profile.
  const std::vector<std::vector<const char*>> rounds = {{"stg.db", "stgex.ini", "profile.db"}, {"profiles/main.gpf"}};
  for (const auto& held : rounds) {
    SCOPED_TRACE(held.front());
    WriteAll();
    std::vector<HANDLE> handles;
    for (const char* file : held) {
      handles.push_back(
          CreateFileW((qorn.Settings() / file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_NE(handles.back(), INVALID_HANDLE_VALUE) << file;
    }
    const auto release = [&] {
      for (HANDLE& h : handles)
        if (h != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(h, INVALID_HANDLE_VALUE));
    };
    ASSERT_TRUE(qorn.Start()) << "Qorn did not start";
    EXPECT_TRUE(WaitFor([&] { return qorn.FindOwnWindow(L"#32770", L"Qorn") != nullptr; }, 40s)) << "nothing was told";
    qorn.RequestClose();  // while the settings still load
    const std::vector<std::wstring> boxes = AnswerBoxesUntilExit(held.size() > 1 ? "settings-unreadable.png" : "");
    release();
    EXPECT_EQ(boxes.size(), held.size()) << "one box per file";
    for (const char* file : held) {
      const std::wstring name = fs::path(file).filename().wstring();
      const auto n = std::count_if(boxes.begin(), boxes.end(), [&](const std::wstring& b) {
        return Contains(b, L"could not read") && Contains(b, L"\\" + name + L"\"");
      });
      EXPECT_EQ(n, 1) << file;
    }
    ExpectUnchangedBut("");
  }
}

// A "stgex.ini" beyond 16 MiB is read and written whole: its last section is there
// after a save, and the file is the same bytes.
TEST_F(SettingsFiles, AHugeExtendedSettingsFileSurvivesASave) {
  std::string big = "[Big]\r\n";
  for (int i = 0; big.size() < (17u << 20); ++i) big += "line" + std::to_string(i) + "=" + std::string(200, 'v') + "\r\n";
  golden["stgex.ini"] = big + GoldenExtSettings;
  WriteAll();
  EXPECT_TRUE(RunOnce().empty());
  const std::string after = qorn.ReadFile("stgex.ini");
  EXPECT_EQ(after.size(), golden["stgex.ini"].size());
  EXPECT_TRUE(after == golden["stgex.ini"]) << "the file changed";
}

}  // namespace
