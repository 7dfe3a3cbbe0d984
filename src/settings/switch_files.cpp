#include "settings/switch_files.h"

#include <exception>
#include <string>

namespace tastolink {

bool LoadSwitch(SettingsFiles& files, const char* file) {
    std::string content;
    try {
        content = files.Read(file);
    } catch (const std::exception&) {
        return false;  // a switch of an addition never costs the user a box
    }
    return content == "1" || content == "1\r\n" || content == "1\n";
}

void SaveSwitch(SettingsFiles& files, const char* file, bool on) {
    files.Write(file, on ? "1\r\n" : "0\r\n");
}

}  // namespace tastolink
