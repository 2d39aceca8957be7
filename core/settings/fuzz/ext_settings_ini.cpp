// Any bytes read as "stgex.ini" must give lists whose values survive a save and a
// second reading unchanged, with no line break inside a value.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/settings/ExtSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIniDocument ini = TIniDocument::Parse(bytes);
  TExtSettings ext;
  ext.ReadFrom(ini);
  ext.SplitListValues();
  // A few values read and set: each call scans the list, so all of a section of
  // a hundred thousand lines would make the harness itself quadratic.
  const std::size_t probes = std::min<std::size_t>(ext.WinAmpSettings.size(), 16);
  for (std::size_t i = 0; i < probes; ++i) {
    const std::string name = ext.WinAmpSettings[i].substr(0, ext.WinAmpSettings[i].find('='));
    GetIniStg(&ext.WinAmpSettings, name);
    SetIniStg(ext, &ext.WinAmpSettings, name, std::string(bytes.substr(0, 40)));
  }
  ext.WriteTo(ini);
  const std::string saved = ini.Bytes();
  TExtSettings reread;
  reread.ReadFrom(TIniDocument::Parse(saved));
  for (const TSettingsLines* list : {&reread.WinAmpSettings, &reread.MainSettingsEx, &reread.MediaPlayerSettings,
                                      &reread.WallpaperSettings})
    for (const std::string& line : *list)
      if (line.find_first_of("\r\n") != std::string::npos) __builtin_trap();
  // A second save of what was read changes nothing.
  TIniDocument second = TIniDocument::Parse(saved);
  reread.SplitListValues();
  reread.IgnoredProgramsInUse = ext.IgnoredProgramsInUse;
  reread.IgnoredPrograms = ext.IgnoredPrograms;
  reread.WallpaperFolders = ext.WallpaperFolders;
  reread.WriteTo(second);
  TExtSettings third;
  third.ReadFrom(TIniDocument::Parse(second.Bytes()));
  if (third.WinAmpSettings != reread.WinAmpSettings || third.MediaPlayerSettings != reread.MediaPlayerSettings)
    __builtin_trap();
  return 0;
}
