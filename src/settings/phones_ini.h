#pragma once

#include <optional>
#include <string>
#include <vector>

#include "phone/phone_profile.h"
#include "settings/settings_files.h"
#include "shared/wording.h"

namespace tastolink {

// The profiles of the phones file `name` as both front ends start with them, and the one text
// that names what is wrong with it (the file can't be read, or lines are bad), or nothing. A
// missing file gives the built-in profiles alone, without a word unless it `mustExist`.
struct LoadedProfiles {
    std::vector<PhoneProfile> profiles;
    std::optional<std::string> problems;
};
LoadedProfiles LoadPhonesFile(SettingsFiles& files, const std::string& name, Language language,
                              bool mustExist = false);

}  // namespace tastolink
