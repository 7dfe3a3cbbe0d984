#pragma once

#include <string>
#include <string_view>

#include "settings/settings_files.h"

namespace tastolink {

// The name of the profile the user chose, the first line of phone.ini, in UTF-8.
inline constexpr char kChosenProfileFile[] = "phone.ini";

// "Обычный" for a missing, unreadable or damaged file, silently: the choice of a profile never
// costs the user a box.
std::string LoadChosenProfileName(SettingsFiles& files);
// Throws SettingsError as every save does; the file is replaced whole or not at all.
void SaveChosenProfileName(SettingsFiles& files, std::string_view name);

}  // namespace tastolink
