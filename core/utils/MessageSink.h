// For the program's own tests under wine: when the environment variable
// QORN_MESSAGE_SINK names a file, every message box of the program is appended
// to that file (caption, a tab, the text with line breaks as "\n", UTF-8, one
// line each) and answered with its first button instead of being shown, so a
// test sees what the user would have read and the program never waits for a
// click. Without the variable nothing changes.
#pragma once

// Installs the sink as the dialog service when the variable is set; the other
// dialogs stay the system's own. Call once at start, before any window exists.
void InstallMessageSinkFromEnvironment();
