#include "vcl/Exceptions.h"

#include "vcl/Win.h"

String SysErrorMessage(std::uint32_t errorCode) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
          FORMAT_MESSAGE_ARGUMENT_ARRAY,
      nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  String text;
  if (n && buffer) text.assign(buffer, n);
  if (buffer) LocalFree(buffer);
  // The system ends its texts with a full stop and a line break; the callers
  // put the text inside their own sentences.
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                           text.back() == L'.'))
    text.pop_back();
  return text;
}

std::uint32_t GetLastOSError() { return GetLastError(); }
