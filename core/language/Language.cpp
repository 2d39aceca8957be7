#include "core/language/Language.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace {

constexpr std::wstring_view kLngExt = L".lng";

bool EndsWith(std::wstring_view s, std::wstring_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

TLanguage::TLanguage(std::filesystem::path langFolder) : folder_(std::move(langFolder)) {}

bool TLanguage::SetLanguage(std::wstring_view name) {
  if (name.empty()) return false;
  auto file = TLanguageFile::Load(folder_ / (std::wstring(name) + std::wstring(kLngExt)));
  if (!file) return false;
  strings_ = std::move(*file);
  current_ = std::wstring(name);
  // The fallback files may have changed since the last language was chosen.
  cache_.clear();
  return true;
}

bool TLanguage::IsRusLang() const {
  return current_ == L"Russian" || current_ == L"Ukrainian" || current_ == L"Belorussian";
}

const TLanguageFile* TLanguage::CachedFile(const std::filesystem::path& path) const {
  auto it = cache_.find(path);
  if (it == cache_.end()) it = cache_.emplace(path, TLanguageFile::Load(path)).first;
  return it->second ? &*it->second : nullptr;
}

std::wstring TLanguage::GetLngStringFromLngFile(std::wstring_view key,
                                                const std::filesystem::path& file) const {
  std::filesystem::path path = file;
  // A bare name never resolves against the current directory, only the language folder.
  if (!file.has_parent_path()) {
    std::wstring name = file.wstring();
    if (!EndsWith(name, kLngExt)) name += kLngExt;
    path = folder_ / name;
  }
  const TLanguageFile* source = CachedFile(path);
  if (source == nullptr) return L"[...]";
  const std::wstring* text = source->Find(key);
  if (text == nullptr) return {};
  if (text->empty()) return IsRusLang() ? L"[Нет перевода]" : L"[No translation]";
  return *text;
}

std::wstring TLanguage::Fallback(std::wstring_view key) const {
  return GetLngStringFromLngFile(key, IsRusLang() ? L"Russian" : L"English");
}

std::wstring TLanguage::GetLngString(std::wstring_view key, std::wstring_view defaultText) const {
  std::wstring result;
  if (const std::wstring* text = strings_.Find(key)) result = text->empty() ? Fallback(key) : *text;
  if (result.empty()) return std::wstring(defaultText);
  return result;
}

std::wstring TLanguage::GetLngMessage(std::wstring_view name) const {
  const std::wstring key = L"Msg." + std::wstring(name);
  const std::wstring* text = strings_.Find(key);
  if (text == nullptr) return {};
  return text->empty() ? Fallback(key) : *text;
}

std::wstring TLanguage::TranslatorInfo() const {
  return GetLngString(L"LngTranslated") + L"\r" + GetLngString(L"LngVersion");
}

std::optional<std::wstring> TLanguage::TranslateCaption(std::wstring_view key) const {
  const std::wstring* text = strings_.Find(key);
  if (text == nullptr) return std::nullopt;
  if (!text->empty()) return *text;
  std::wstring fallback = Fallback(key);
  // A key the fallback file lacks would blank the designed caption.
  if (fallback.empty()) return std::nullopt;
  return fallback;
}

std::vector<std::wstring> ListLanguageNames(const std::filesystem::path& langFolder) {
  std::vector<std::wstring> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(langFolder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (it->is_directory(typeEc)) continue;
    std::wstring name = it->path().filename().wstring();
    if (name.size() < kLngExt.size()) continue;
    if (LngFoldKey(name.substr(name.size() - kLngExt.size())) != kLngExt) continue;
    if (EndsWith(name, kLngExt)) name.resize(name.size() - kLngExt.size());
    if (name.empty()) continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(),
            [](const std::wstring& a, const std::wstring& b) { return LngFoldKey(a) < LngFoldKey(b); });
  if (names.empty()) names.emplace_back(L"Russian");
  return names;
}
