#include "settings/answers_switch.h"

#include <exception>
#include <string>

namespace tastolink {

bool LoadAnswersSwitch(SettingsFiles& files) {
    std::string content;
    try {
        content = files.Read(kAnswersSwitchFile);
    } catch (const std::exception&) {
        return false;  // the switch is an extra: its file never costs the user a box
    }
    return content == "1" || content == "1\r\n" || content == "1\n";
}

void SaveAnswersSwitch(SettingsFiles& files, bool on) {
    files.Write(kAnswersSwitchFile, on ? "1\r\n" : "0\r\n");
}

}  // namespace tastolink
