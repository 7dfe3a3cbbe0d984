#include "app/features/phone_profiles.h"

#include "phone/chosen_profile.h"
#include "phone/key_names.h"
#include "phone/phones_file.h"

namespace tastolink {

std::optional<std::string> PhoneProfiles::Load() {
    std::optional<std::string> problems;
    std::string bytes;
    try {
        bytes = files_.Read(kPhonesFile);
    } catch (const SettingsFileMissing&) {
        // Without the file, the built-in profiles alone.
    } catch (const SettingsError& error) {
        problems = "Невозможно прочитать «" + std::string(kPhonesFile) + "»: " + error.Reason();
    }
    PhonesFile file = ReadPhonesFile(bytes);
    profiles_ = std::move(file.profiles);
    if (!file.problems.empty()) problems = ProblemsText(file.problems, Language::Russian);
    current_ = 0;
    if (!Use(LoadChosenProfileName(files_))) follow_(Current());
    return problems;
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

std::vector<PhoneCommand> PhoneProfiles::Preparation() const {
    std::vector<PhoneCommand> lines;
    for (const std::string& line : Current().preparation) lines.push_back({line + "\r\n", line});
    return lines;
}

}  // namespace tastolink
