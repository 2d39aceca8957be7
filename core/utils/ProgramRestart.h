// Ending this process when its main thread is lost (inside a plug-in that never
// returns), and the handshake that lets a fresh start wait for it first: the
// fresh start gets "--after <process id>" and takes over the single-instance
// mutex only once that process is gone.
#pragma once
#include <optional>
#include <string_view>

// Ends this process at once with exit code 0 (after a close whose saving is done).
[[noreturn]] void EndThisProcessNow();
// Starts the program again with "--after <this process id>", then ends this one.
[[noreturn]] void RestartThisProgram();

// The process id of "--after <id>" in a command line, if any.
std::optional<unsigned long> PredecessorOnCommandLine(std::wstring_view commandLine);
// Waits (bounded) for that process to end.
void WaitForPredecessor(unsigned long processId);
