#pragma once

#include "cli/command_line.h"

namespace tastolink {

// A run that talks to the phone: --play, --type, --keys or --identify. Everything given is checked
// before the port opens, so that a bad file, text or key sends nothing. The exit code: 0, 1 (the
// port did not open, a line was not written, a key was answered otherwise than OK, the phone did
// not answer, the run was stopped) or 2 (bad input).
int RunWithPhone(const CliRequest& request);

}  // namespace tastolink
