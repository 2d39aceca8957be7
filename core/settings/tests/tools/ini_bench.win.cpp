// Benchmark (run by hand, not a test): a "stgex.ini" of 100 000 keys in one
// section, read and saved by the settings store, then the real Qorn.exe started
// and closed on it. Usage: ini_bench [dist folder] [keys]; prints milliseconds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/program/tests/QornInstall.h"
#include "core/settings/SettingsStore.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {
double Ms(Clock::time_point from) { return std::chrono::duration<double, std::milli>(Clock::now() - from).count(); }

std::string BigIni(int keys) {
  std::string ini = "[MediaPlayers]\r\n";
  for (int i = 0; i < keys; ++i) ini += "Player" + std::to_string(i) + "_path=C:\\p\\" + std::to_string(i) + "\r\n";
  return ini;
}
}  // namespace

int main(int argc, char** argv) {
  const fs::path dist = argc > 1 && *argv[1] ? fs::path(argv[1]) : fs::path(argv[0]).parent_path().parent_path() / "dist";
  const int keys = argc > 2 ? std::atoi(argv[2]) : 100000;
  const std::string ini = BigIni(keys);
  const fs::path root = fs::temp_directory_path() / ("qorn-inibench-" + std::to_string(GetCurrentProcessId()));
  std::printf("stgex.ini: %d keys, %zu bytes\n", keys, ini.size());

  {
    const fs::path folder = root / "store";
    fs::create_directories(folder);
    {
      std::FILE* f = _wfopen((folder / "stgex.ini").c_str(), L"wb");
      std::fwrite(ini.data(), 1, ini.size(), f);
      std::fclose(f);
    }
    TSettingsRecords records;
    TExtSettings ext;
    TSilentSettingsReporter quiet;
    TSettingsStore store(folder, records, ext, quiet);
    auto t = Clock::now();
    store.LoadMainSetingsFromFile();
    std::printf("store: load %.1f ms (%zu lines)\n", Ms(t), ext.MediaPlayerSettings.size());
    t = Clock::now();
    store.saveprogramsetting(0);
    std::printf("store: save %.1f ms\n", Ms(t));
  }

  {
    qorn::testing::TQornInstall qorn(root / "Qorn", dist);
    qorn.WriteFile("stgex.ini", ini);
    TSettingsRecords saved;
    FillEmptyFontSlots(saved.Fonts);
    qorn.WriteSettings(saved);  // not a first run: no language chooser, no help
    for (int run = 0; run < 2; ++run) {
      auto t = Clock::now();
      if (!qorn.Start(std::chrono::seconds(300))) {
        std::printf("Qorn.exe did not start\n");
        return 1;
      }
      const double start = Ms(t);
      t = Clock::now();
      const long code = qorn.Close(std::chrono::seconds(300));
      std::printf("Qorn.exe run %d: start %.0f ms, close %.0f ms (exit %ld)\n", run + 1, start, Ms(t), code);
    }
    std::printf("stgex.ini after: %zu bytes\n", qorn.ReadFile("stgex.ini").size());
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}
