// The Qorn side of the remote-to-program test: a portable Qorn with the infrared
// plug-in enabled and two remote buttons bound to code 51 (start the marker
// program), started under wine while the driving script presses the buttons on
// a real lircd. It reports what the bound buttons started.
//   lirc_qorn.exe <folder> <dist folder> <marker program>
// The steps meet through files in the folder: "started" once Qorn's window is up;
// on "lock" (after the first press has run) the session is locked, then "locked";
// on "unlock" it is unlocked, then "unlocked"; "done" after the last press, or
// "abort" when the script gives up. Exit code 0 when exactly the expected programs ran.
#include "core/program/tests/QornInstall.h"
#include "vcl/Win.h"

#include <wtsapi32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::vector<std::string> Lines(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

template <class F>
bool WaitUntil(F cond, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!cond()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

int Fail(const char* what) {
  std::printf("lirc_qorn: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const fs::path folder = argv[1];
  const fs::path marker = folder / "marker.txt";
  qorn::testing::TQornInstall qorn(folder / "Qorn", argv[2]);
  fs::copy_file(argv[3], qorn.Root() / "programs_marker.exe");
  std::string runMarker = "\"";
  runMarker += (qorn.Root() / "programs_marker.exe").string();
  runMarker += "\" ";

  TSettingsRecords settings;
  settings.Main.optchecknewver = 0;
  settings.Main.optauto = 0;
  settings.Main.CB_SettingsSave = 1;
  settings.Strings.LanguageName = "English";
  settings.Strings.InstallationId = "01x0123456789abcdef0123456789abcdef";
  CreateDefaultFonts(settings.Fonts);
  qorn.WriteSettings(settings);
  qorn.WritePluginsDb({{"Ranlowe IRKeys", true}});
  using qorn::testing::PluginBinding;
  using qorn::testing::RunCommandParams;
  qorn.WriteProfiles("remote", {{"remote", "-",
                                 {PluginBinding("Remote 1", "0000000000f40bf0", 51, RunCommandParams(runMarker + "remote-1")),
                                  PluginBinding("Remote 2", "0000000000f40bf1", 51, RunCommandParams(runMarker + "remote-2")),
                                  PluginBinding("Remote 3", "0000000000f40bf2", 51, RunCommandParams(runMarker + "while-locked"))}}});

  // Qorn and the programs it starts inherit where the marker goes.
  SetEnvironmentVariableA("QORN_MARKER_FILE", marker.string().c_str());
  if (!qorn::testing::TQornInstall::NoOtherQorn()) return Fail("another Qorn is running");
  if (!qorn.Start()) return Fail("Qorn did not start");
  std::ofstream(folder / "started").put('1');

  const auto step = [&](const char* signal) {
    return WaitUntil([&] { return fs::exists(folder / signal) || fs::exists(folder / "abort"); }, 240s) &&
           !fs::exists(folder / "abort");
  };
  const auto session = [&](WPARAM change) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(qorn.Window(), WM_WTSSESSION_CHANGE, change, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
  };
  if (!step("lock")) return Fail("the first press never came");
  WaitUntil([&] { return !Lines(marker).empty(); }, 20s);
  if (!session(WTS_SESSION_LOCK)) return Fail("Qorn did not take the lock");
  std::ofstream(folder / "locked").put('1');
  if (!step("unlock")) return Fail("the press while locked never came");
  std::this_thread::sleep_for(1000ms);  // what the locked press would have started
  if (!session(WTS_SESSION_UNLOCK)) return Fail("Qorn did not take the unlock");
  std::ofstream(folder / "unlocked").put('1');
  if (!step("done")) return Fail("the last presses never came");
  // A button passes its first event and, while held, its repeats from the sixth on
  // (KEY_1 00-02: once; KEY_2 00-07: three times); while the session is locked the
  // plug-in is off, and once it is unlocked it hears the server again.
  const std::vector<std::string> want = {"remote-1", "remote-2", "remote-2", "remote-2"};
  WaitUntil([&] { return Lines(marker).size() >= want.size(); }, 20s);
  std::this_thread::sleep_for(1500ms);  // a repeat that slipped through would start one more
  std::vector<std::string> got = Lines(marker);
  const long closed = qorn.Close();
  std::sort(got.begin(), got.end());
  // Every button Qorn heard counts once, bound or not: KEY_1, KEY_4 and KEY_2's three.
  TSettingsRecords saved;
  LoadSettingsFile(qorn.ReadFile("stg.db"), saved);
  const bool counted = saved.Main.KeyPressCount == 5;
  std::printf("key presses counted: %d (expected 5)\n", saved.Main.KeyPressCount);
  std::printf("started:");
  for (const auto& g : got) std::printf(" %s", g.c_str());
  std::printf("\nexpected:");
  for (const auto& w : want) std::printf(" %s", w.c_str());
  std::printf("\nQorn closed with %ld\n", closed);
  return (got == want && closed == 0 && counted) ? 0 : 1;
}
