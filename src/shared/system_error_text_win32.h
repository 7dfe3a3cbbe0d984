#pragma once

#include <windows.h>

#include <string>

namespace tastolink {

// The system's own text for an error code, in UTF-8 and trimmed as TrimSystemErrorText does;
// "ошибка <code>" for a code the system has no text for.
std::string SystemErrorText(DWORD error);

}  // namespace tastolink
