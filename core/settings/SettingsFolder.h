// The folder of all settings files, chosen once at start: beside the program in
// portable mode, else the user's application-data folder, else beside the program
// for good (a flag file makes later starts take the portable way at once).
#pragma once
#include <filesystem>
#include <optional>
#include <string>

// The portable-mode flag, relative to the program folder.
inline constexpr const wchar_t* PortableMarker = L"AppData\\portable_on";

// programFolder: the folder of the program file. appData: the user's
// application-data folder, or nullopt when the system gave none. Returns the
// settings folder (its "macros" and "profiles" subfolders exist afterwards as far
// as the disk allows).
std::filesystem::path ChooseSettingsFolder(const std::filesystem::path& programFolder,
                                           const std::optional<std::filesystem::path>& appData);

// The path as a folder text ending with a backslash.
std::wstring FolderText(const std::filesystem::path& folder);

#ifdef _WIN32
// Asks the system for the application-data folder; stores and returns SettingsFolder.
std::wstring InitSettingsPath();
#endif

// The settings folder of this run, ending with a backslash (set by InitSettingsPath).
extern std::wstring SettingsFolder;
