#include "settings/chosen_profile.h"

#include <algorithm>
#include <exception>

#include "phone/phone_profile.h"
#include "shared/unicode_text.h"

namespace tastolink {

std::string LoadChosenProfileName(SettingsFiles& files) {
    std::string content;
    try {
        content = files.Read(kChosenProfileFile);
    } catch (const std::exception&) {
        return std::string(kOrdinaryProfileName);
    }
    std::string_view name(content);
    if (name.starts_with("\xEF\xBB\xBF")) name.remove_prefix(3);
    name = name.substr(0, name.find_first_of("\r\n"));
    const auto characters = CharactersOf(name);
    if (name.empty() || name.size() > 256 || !characters ||
        std::ranges::any_of(*characters, IsControlCharacter))
        return std::string(kOrdinaryProfileName);
    return std::string(name);
}

void SaveChosenProfileName(SettingsFiles& files, std::string_view name) {
    files.Write(kChosenProfileFile, std::string(name) + "\r\n");
}

}  // namespace tastolink
