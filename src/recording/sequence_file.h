#pragma once

#include <string>
#include <variant>
#include <vector>

#include "recording/key_sequence.h"
#include "settings/settings_files.h"

namespace tastolink {

// A piece of a bad line as a message quotes it: in UTF-8 as `files` converts the file's text, its
// control characters as their codes ("\x07").
std::string QuotedPiece(const SettingsFiles& files, std::string_view piece);

// A key sequence file read whole and checked whole, so that nothing of a bad file is sent: its
// presses, or the one text that says what is wrong ("Невозможно открыть «keys.txt»: ...",
// "Невозможно воспроизвести «keys.txt»: строка 3: ...", in English "Cannot play "keys.txt": line
// 3: ...").
std::variant<std::vector<RecordedPress>, std::string> ReadKeySequenceFile(
    SettingsFiles& files, const std::string& path, Language language = Language::Russian);

}  // namespace tastolink
