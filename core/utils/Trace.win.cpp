#include "core/utils/Trace.h"

#include "vcl/Win.h"

#include <shellapi.h>

#include <string>

void StartTrace(const std::filesystem::path& settingsFolder) {
  SetTraceSink([](std::wstring_view line) { OutputDebugStringW(std::wstring(line).c_str()); });
  int count = 0;
  wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
  bool wanted = false;
  for (int i = 1; args && i < count; ++i) wanted = wanted || lstrcmpiW(args[i], L"/trace") == 0;
  if (args) LocalFree(args);
  SetTraceFile(wanted ? settingsFolder / L"trace.log" : std::filesystem::path());
}
