#pragma once

#include "settings/settings_files.h"

namespace tastolink {

// The switches of the additions to the program live in files of their own, never in the four
// settings files: "1" CR LF when on, "0" CR LF when off.
inline constexpr char kAnswersSwitchFile[] = "answers.ini";     // "Ответы телефона"
inline constexpr char kPortWatchSwitchFile[] = "ports.ini";     // "Следить за портами"
inline constexpr char kPhoneEventsSwitchFile[] = "events.ini";  // "События телефона"

// On only for a file that says so; a missing, unreadable or damaged file means off, silently.
bool LoadSwitch(SettingsFiles& files, const char* file);
// Throws SettingsError as every save does; the file is replaced whole or not at all.
void SaveSwitch(SettingsFiles& files, const char* file, bool on);

}  // namespace tastolink
