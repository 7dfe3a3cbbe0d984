#pragma once

#include <string>
#include <variant>
#include <vector>

#include "recording/key_sequence.h"
#include "settings/settings_files.h"

namespace tastolink {

// A key sequence file read whole and checked whole, so that nothing of a bad file is sent: its
// presses, or the one text that says what is wrong ("Невозможно открыть «keys.txt»: ...",
// "Невозможно воспроизвести «keys.txt»: строка 3: ...").
std::variant<std::vector<RecordedPress>, std::string> ReadKeySequenceFile(SettingsFiles& files,
                                                                          const std::string& path);

}  // namespace tastolink
