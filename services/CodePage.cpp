#include "services/CodePage.h"

#ifndef _WIN32

#include "vcl/CodePageTables.h"
#include "vcl/System.h"

// The native build has no system conversion: it uses the library's own tables, and
// like Windows it converts nothing with a code page it does not know.
bool IsCodePageSupported(std::uint16_t codePage) {
  return codePage == CodePageUtf8 || vcl::detail::HighHalfTable(codePage) != nullptr;
}

std::wstring MultiByteToWideString(std::string_view text, std::uint16_t codePage) {
  if (text.empty() || !IsCodePageSupported(codePage)) return {};
  return CodePageToString(text, codePage);
}

#endif
