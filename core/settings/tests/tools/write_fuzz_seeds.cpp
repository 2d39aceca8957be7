// write_fuzz_seeds ROOT: writes the seeds of the settings fuzz targets with the
// program's own writers, so they are what Qorn itself saves: profile files of
// keyboard and remote bindings, a full profile table, single binding records, a
// large "stgex.ini" and a macro file. Run by hand when a format changes; the
// files are kept in the checkout beside the targets (FOLDER/fuzz/NAME.seeds/).
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/keys/KeyRecord.h"
#include "core/settings/ExtSettings.h"
#include "core/settings/Profiles.h"
#include "services/MacroFile.h"

namespace {
namespace fs = std::filesystem;

void Write(const fs::path& file, std::string_view bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::printf("%s: %zu bytes\n", file.string().c_str(), bytes.size());
}

TKeyRecord Binding(std::string_view name, std::uint8_t vk, std::int32_t msg, std::string_view modifiers,
                   TActionCode action, std::string_view params) {
  TKeyRecord r;
  r.Name = name;
  r.Vk = vk;
  r.Code2 = vk == 1 ? 1 : 0x22;
  r.Msg = msg;
  r.Modifiers = modifiers;
  r.ActionCode = action;
  r.Params = params;
  return r;
}

std::vector<TKeyRecord> Bindings() {
  std::vector<TKeyRecord> all = {
      Binding("Play", 179, 256, "00000000", 12, ""),
      Binding("Mail", 180, 256, "10000000", 72, "exefile:c:\\m.exe;exefile|"),
      Binding("Volume up", 175, 257, "00100100", 31, "k:5|click:1|"),
      Binding("Calculator", 183, 260, "00011000", 72, "exefile:C:\\Windows\\calc.exe;params:/s|"),
  };
  TKeyRecord remote = Binding("Remote OK", 1, 0, "00000000", 40, "x:1|");
  remote.PluginKeyName = "KEY_OK";
  remote.OsdText = "OK from the remote";
  remote.RepeatRate = 5;
  all.push_back(remote);
  TKeyRecord off = Binding("Switched off", 120, 256, "01000000", 3, "");
  off.Disabled = 1;
  all.push_back(off);
  return all;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_fuzz_seeds CHECKOUT\n");
    return 2;
  }
  const fs::path root = argv[1];
  const fs::path settings = root / "core/settings/fuzz";
  const std::vector<TKeyRecord> bindings = Bindings();

  static TKeyTable table;  // large: kept out of the stack
  table.Clear();
  for (const TKeyRecord& r : bindings) table.Add(r);
  Write(settings / "profile_file.seeds/six-bindings.gpf", StoreProfileFile(table));
  table.Clear();
  table.Add(bindings[4]);
  Write(settings / "profile_file.seeds/remote-button.lpf", StoreProfileFile(table));

  for (const TKeyRecord& r : bindings) {
    const auto bytes = r.Bytes();
    std::string name = r.Name.str();
    for (char& c : name) c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    Write(root / "core/keys/fuzz/keyrecord.seeds" / (name + ".rec"),
          std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  TProfileTable profiles;
  profiles.Entries[0].Name = "Main";
  profiles.Entries[0].Kind = "Main";
  for (std::size_t i = 1; i <= TProfileTable::MaxProfiles; ++i) {
    const bool global = i % 3 != 0;
    profiles.Entries[i].Name = global ? "Profile " + std::to_string(i) : "Game " + std::to_string(i);
    profiles.Entries[i].Kind = global ? std::string(GlobalProfileKind)
                                      : "c:\\games\\game" + std::to_string(i) + "\\game.exe";
  }
  profiles.Count = TProfileTable::MaxProfiles;
  Write(settings / "profile_table.seeds/full-table.db", StoreProfileTable(profiles, profiles.Count));

  // Every section with some lines, the two lists split and joined, and a text
  // template with line breaks. Kept small: the fuzzer grows inputs up to its
  // -max_len itself, and each run of a 40 KB input costs tens of milliseconds.
  TExtSettings ext;
  for (int i = 0; i < 40; ++i) {
    StoreIniValue(&ext.WinAmpSettings, "wavalue" + std::to_string(i), std::to_string(i * 7));
    StoreIniValue(&ext.MediaPlayerSettings, "Player" + std::to_string(i) + "_path",
                  "C:\\Program Files\\Player " + std::to_string(i) + "\\player.exe");
    StoreIniValue(&ext.WallpaperSettings, "wp" + std::to_string(i), "D:\\pictures\\" + std::to_string(i) + ".jpg");
    ext.IgnoredPrograms.push_back("c:\\tools\\tool" + std::to_string(i) + ".exe");
    ext.WallpaperFolders.push_back("E:\\wallpapers\\set " + std::to_string(i));
  }
  StoreIniValue(&ext.WinAmpSettings, "wainfo", "%artist% - %title%\n%album%\n%year%");
  ext.IgnoredProgramsInUse = true;
  TIniDocument ini = TIniDocument::Parse("");
  ext.WriteTo(ini);
  Write(settings / "ext_settings_ini.seeds/forty-lines-a-section.ini", ini.Bytes());

  std::vector<TMacroEvent> events;
  for (std::uint32_t i = 0; i < 6; ++i) {
    events.push_back({MacroKeyDown, 0x1E00 + 65 + i, 0, 100 * i, 0});
    events.push_back({MacroKeyDown + 1, 0x1E00 + 65 + i, 0, 100 * i + 40, 0});
  }
  events.push_back({0x200, 640, 480, 900, 0});  // a mouse move
  events.push_back({0x201, 640, 480, 950, 0});  // a left button press
  std::string macro;
  for (const std::wstring& line : WriteMacroLines(events)) {
    for (wchar_t c : line) macro += static_cast<char>(c);
    macro += '\n';
  }
  Write(root / "services/fuzz/macro_file.seeds/keys-and-mouse.mcr", macro);
  return 0;
}
