#include "app/features/phone_profiles.h"

#include "phone/key_names.h"
#include "phone/phones_file.h"
#include "settings/chosen_profile.h"
#include "settings/phones_ini.h"

namespace tastolink {

std::optional<std::string> PhoneProfiles::Load() {
    LoadedProfiles loaded = LoadPhonesFile(files_, kPhonesFile, Language::Russian);
    profiles_ = std::move(loaded.profiles);
    current_ = 0;
    if (!Use(LoadChosenProfileName(files_))) follow_(Current());
    return loaded.problems;
}

void PhoneProfiles::Choose(const std::string& name) {
    Use(name);
    SaveChosenProfileName(files_, Current().name);
}

bool PhoneProfiles::Use(std::string_view name) {
    for (std::size_t index = 0; index < profiles_.size(); ++index) {
        if (profiles_[index].name != name) continue;
        current_ = index;
        follow_(Current());
        return true;
    }
    return false;
}

std::optional<PhoneCommand> PhoneProfiles::KeyCommand(int row, bool longPress) const {
    const auto press = ButtonPress(Current(), row, longPress);
    if (!press) return std::nullopt;
    return PhoneCommand{CommandOf(*press), KeyName(kPhoneKeyTable[row], longPress)};
}

std::vector<PhoneCommand> PhoneProfiles::Preparation() const { return PreparationCommands(Current()); }

}  // namespace tastolink
