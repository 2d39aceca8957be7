// Any bytes must parse into a language file whose lookups answer from its own
// lines, without reading past the input.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/language/LanguageFile.h"
#include "services/CodePage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const TLanguageFile file = TLanguageFile::Parse(bytes);
  for (const auto& [key, text] : file.Entries()) {
    const std::wstring* found = file.Find(key);
    if (found == nullptr || *found != text) __builtin_trap();
    if (key.find(L'=') != std::wstring::npos) __builtin_trap();
  }
  file.Find(L"LngCodePage");
  file.HasKeyWithPrefix(L"MainForm.");
  // The first bytes pick a code page, so every decoder sees hostile input too.
  if (size >= 2) {
    const auto cp = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    const std::uint16_t pages[] = {cp, 1251, 1252, 28591, 65001};
    for (std::uint16_t page : pages) MultiByteToWideString(bytes.substr(2), page);
  }
  return 0;
}
