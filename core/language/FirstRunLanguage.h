// The language of a first run. The language chooser would list the language
// files with the user's own language first and selected; until it exists that
// preselected language is taken as if the user had confirmed it.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct TLanguageCandidate {
  std::wstring Name;       // the file name without ".lng"
  std::int32_t LngID = 0;  // its "LngID"; 0 when not a number
};

// The language whose LngID is the user's interface language (the last of
// several); else "Russian" for a Russian-family interface, "English" for any
// other; else the first candidate; "Russian" when there is none.
std::wstring PickFirstRunLanguage(const std::vector<TLanguageCandidate>& candidates, std::int32_t uiLanguageId,
                                  bool uiLanguageIsRussianFamily);

// The languages of the folder that can be loaded by name (exact ".lng" ending), with their LngID.
std::vector<TLanguageCandidate> LanguageCandidates(const std::filesystem::path& langFolder);
