#include "core/language/FirstRunLanguage.h"

#include <charconv>

#include "core/language/Language.h"

std::wstring PickFirstRunLanguage(const std::vector<TLanguageCandidate>& candidates, std::int32_t uiLanguageId,
                                  bool uiLanguageIsRussianFamily) {
  if (candidates.empty()) return L"Russian";
  const TLanguageCandidate* pick = nullptr;
  for (const auto& c : candidates)
    if (uiLanguageId != 0 && c.LngID == uiLanguageId) pick = &c;
  if (!pick) {
    const std::wstring byFamily = uiLanguageIsRussianFamily ? L"Russian" : L"English";
    for (const auto& c : candidates)
      if (c.Name == byFamily) pick = &c;
  }
  return pick ? pick->Name : candidates.front().Name;
}

std::vector<TLanguageCandidate> LanguageCandidates(const std::filesystem::path& langFolder) {
  std::vector<TLanguageCandidate> out;
  std::error_code ec;
  if (!std::filesystem::is_directory(langFolder, ec)) return out;
  TLanguage reader(langFolder);
  for (const std::wstring& name : ListLanguageNames(langFolder)) {
    if (!std::filesystem::is_regular_file(langFolder / (name + L".lng"), ec)) continue;
    TLanguageCandidate c{name, 0};
    const std::wstring text = reader.GetLngStringFromLngFile(L"LngID", langFolder / (name + L".lng"));
    // A number is ASCII digits; anything else fails the parse below.
    std::string id;
    for (wchar_t ch : text) id.push_back(ch < 128 ? static_cast<char>(ch) : '?');
    std::int32_t value = 0;
    const auto [end, err] = std::from_chars(id.data(), id.data() + id.size(), value);
    if (err == std::errc() && end == id.data() + id.size()) c.LngID = value;
    out.push_back(std::move(c));
  }
  return out;
}
