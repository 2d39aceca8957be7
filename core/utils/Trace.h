// The program's one trace: a line for a failure that no window reports, such as an
// action that threw on the key road. Lines go to the debugger output and, when the
// program was started with the switch /trace, to "trace.log" in the settings folder.
// Use it where a failure would otherwise vanish without a word (a catch that has to
// swallow, a step that is skipped); never for what the user is told anyway.
#pragma once
#include <filesystem>
#include <functional>
#include <string_view>

// Writes one line: "<where>: <what the current exception says>" inside a catch,
// or just the text outside one.
void Trace(std::wstring_view text);
// For a catch (...): names the exception being handled, when it has a text.
void TraceCurrentException(std::wstring_view where);

// Where lines go besides the file; the Windows program sends them to the debugger.
void SetTraceSink(std::function<void(std::wstring_view line)> sink);
// Appends every line to this file from now on; an empty path stops that.
void SetTraceFile(const std::filesystem::path& file);

#ifdef _WIN32
// The debugger output as the sink, and the file when the command line asks for it.
void StartTrace(const std::filesystem::path& settingsFolder);
#endif
