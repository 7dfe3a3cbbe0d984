#include "settings/phones_ini.h"

#include "phone/phones_file.h"
#include "settings/settings_error.h"

namespace tastolink {
namespace {

constexpr Wording kCannotRead{"Невозможно прочитать «{}»: {}", "Cannot read \"{}\": {}"};

}  // namespace

LoadedProfiles LoadPhonesFile(SettingsFiles& files, const std::string& name, Language language,
                              bool mustExist) {
    std::string bytes;
    std::optional<std::string> problems;
    try {
        bytes = files.Read(name);
    } catch (const SettingsError& error) {
        const bool missing = dynamic_cast<const SettingsFileMissing*>(&error) != nullptr;
        if (!missing || mustExist) problems = Worded(kCannotRead, language, {name, error.Reason()});
    }
    PhonesFile file = ReadPhonesFile(bytes);
    if (!file.problems.empty()) problems = ProblemsText(file.problems, language, name);
    return {std::move(file.profiles), std::move(problems)};
}

}  // namespace tastolink
