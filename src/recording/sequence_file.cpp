#include "recording/sequence_file.h"

#include <cstdio>

namespace tastolink {

std::variant<std::vector<RecordedPress>, std::string> ReadKeySequenceFile(SettingsFiles& files,
                                                                          const std::string& path) {
    std::string bytes;
    try {
        bytes = files.Read(path);
    } catch (const SettingsError& error) {
        return "Невозможно открыть «" + path + "»: " + error.Reason();
    }
    // A piece of a bad line as the box quotes it: the file's code page, its control characters as
    // their codes.
    const auto quote = [&files](std::string_view piece) {
        std::string shown;
        for (char byte : piece) {
            if (static_cast<unsigned char>(byte) < 0x20) {
                char code[8];
                std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(byte));
                shown += code;
            } else {
                shown += files.DisplayText(std::string_view(&byte, 1));
            }
        }
        return shown;
    };
    auto parsed = ParseKeySequence(bytes, quote);
    if (const auto* error = std::get_if<SequenceError>(&parsed)) {
        const std::string where = error->line ? "строка " + std::to_string(error->line) + ": " : "";
        return "Невозможно воспроизвести «" + path + "»: " + where + error->what;
    }
    return std::move(std::get<std::vector<RecordedPress>>(parsed));
}

}  // namespace tastolink
