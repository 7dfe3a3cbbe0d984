#pragma once

#include "recording/unattended_run.h"

namespace tastolink {

// Tastolink.exe --port COM5 --identify, with no window: one "key: value" line each for the
// manufacturer, model, revision, keypad (yes or no) and the profile that matches (or none) on the
// standard output, and the exit code: 0, or 1 when the port did not open or the phone was silent.
// What went wrong goes to the standard error, in Russian as the program's other messages.
int IdentifyOnConsole(const IdentifyCommand& command);

}  // namespace tastolink
