// The current language of the user interface and the lookups every window and
// action uses for its texts. The main window owns one TLanguage and forwards its
// GetLngString, GetLngMessage, GetLngStringFromLngFile, IsRusLang and SetLanguage
// to it; all calls run on the GUI thread.
//
// Texts come from "<LangFolder>\<Name>.lng" (see TLanguageFile). A key that is
// present with an empty text falls back to the same key in the file "Russian"
// (when the current language is Russian, Ukrainian or Belorussian) or "English";
// a missing fallback file gives "[...]", an empty fallback text "[Нет перевода]"
// or "[No translation]".
//
// Keys are named in code through string literals in calls of GetLngString,
// GetLngMessage (whose key is "Msg." + name) and TranslateCaption, or wrapped in
// LngKey(L"...") where a key is kept in a table: a test reads these literals from
// the sources and checks that every shipped language file holds them.
#pragma once
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/language/LanguageFile.h"

// Marks a literal as a language key, for the check of the shipped files.
constexpr const wchar_t* LngKey(const wchar_t* key) { return key; }

class TLanguage {
 public:
  explicit TLanguage(std::filesystem::path langFolder);

  const std::filesystem::path& LangFolder() const { return folder_; }

  // Loads "<Name>.lng" from the language folder and makes it current. A missing,
  // unreadable or empty file changes nothing and gives false. The caller then
  // stores Name in the settings and translates its windows.
  bool SetLanguage(std::wstring_view name);

  // The current language's name; "Russian" until a language is loaded.
  const std::wstring& CurrentLanguage() const { return current_; }
  // Program end: no language is current any more.
  void ClearCurrentLanguage() { current_.clear(); }

  // True when the current language is exactly "Russian", "Ukrainian" or
  // "Belorussian" (these fall back to the Russian file and Russian markers).
  bool IsRusLang() const;

  // The text of Key; Default when the key is absent or gives no text.
  std::wstring GetLngString(std::wstring_view key, std::wstring_view defaultText = {}) const;
  // The same for keys written as narrow literals (keys are ASCII), as the key
  // engine names them.
  std::wstring GetLngString(std::string_view key, std::wstring_view defaultText = {}) const {
    return GetLngString(std::wstring(key.begin(), key.end()), defaultText);
  }
  // The text of "Msg." + Name, unchanged ("\n" and "%n" are the caller's); '' when absent.
  std::wstring GetLngMessage(std::wstring_view name) const;
  // The text of Key in one file: a plain name ("English", "German.lng") is looked
  // for in the language folder only, a path is used as it stands. "[...]" when the
  // file is missing or empty, the no-translation marker for an empty text, '' for
  // an absent key.
  std::wstring GetLngStringFromLngFile(std::wstring_view key, const std::filesystem::path& file) const;

  // The translator and version lines of the current language, as the settings page
  // shows them: "LngTranslated", CR, "LngVersion".
  std::wstring TranslatorInfo() const;

  // The text a window shows for Key: nothing when the key is absent (the designed
  // text stays), else its text, or for an empty text the fallback file's text.
  std::optional<std::wstring> TranslateCaption(std::wstring_view key) const;
  // Whether some key of the current file begins with Prefix (case-insensitive).
  bool HasKeyWithPrefix(std::wstring_view prefix) const { return strings_.HasKeyWithPrefix(prefix); }

  // The current language file, empty until a language is loaded.
  const TLanguageFile& Strings() const { return strings_; }

 private:
  std::wstring Fallback(std::wstring_view key) const;
  const TLanguageFile* CachedFile(const std::filesystem::path& path) const;

  std::filesystem::path folder_;
  std::wstring current_ = L"Russian";
  TLanguageFile strings_;
  // Fallback files are read once per current language, not once per lookup: the
  // notices of the key road ask for texts on every key press.
  mutable std::map<std::filesystem::path, std::optional<TLanguageFile>> cache_;
};

// The language names the settings page offers: the files of the folder whose
// names end in ".lng" in any case, without an exact ".lng" ending (a name written
// "German.LNG" is offered as it stands and cannot be loaded by that name), in
// name order; "Russian" alone when there is none.
std::vector<std::wstring> ListLanguageNames(const std::filesystem::path& langFolder);
