#pragma once

#include "settings/settings_files.h"

namespace tastolink {

// The switch "Ответы телефона" lives in a file of its own, never in the four settings files:
// "1" CR LF when on, "0" CR LF when off.
inline constexpr char kAnswersSwitchFile[] = "answers.ini";

// On only for a file that says so; a missing, unreadable or damaged file means off, silently.
bool LoadAnswersSwitch(SettingsFiles& files);
// Throws SettingsError as every save does; the file is replaced whole or not at all.
void SaveAnswersSwitch(SettingsFiles& files, bool on);

}  // namespace tastolink
