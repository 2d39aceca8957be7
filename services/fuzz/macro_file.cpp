// Macro files come from the user's settings folder: any text must read back to
// events or raise the file's errors, and what reads back writes and reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "services/MacroFile.h"
#include "vcl/SysUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> lines(1);
  for (std::size_t i = 0; i < size && lines.size() < 200; ++i) {
    if (data[i] == '\n') lines.emplace_back();
    else lines.back() += static_cast<wchar_t>(data[i]);
  }
  try {
    const auto events = ReadMacroLines(lines);
    if (ReadMacroLines(WriteMacroLines(events)) != events) std::abort();
  } catch (const EConvertError&) {
  } catch (const EMacroFileError&) {
  }
  return 0;
}
