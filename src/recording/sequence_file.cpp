#include "recording/sequence_file.h"

#include <cstdio>

namespace tastolink {
namespace {

// clang-format off
constexpr Wording kCannotOpen{"Невозможно открыть «{}»: {}", "Cannot open \"{}\": {}"};
constexpr Wording kCannotPlay{"Невозможно воспроизвести «{}»: {}", "Cannot play \"{}\": {}"};
constexpr Wording kLine{"строка {}: {}", "line {}: {}"};
// clang-format on

}  // namespace

std::string QuotedPiece(const SettingsFiles& files, std::string_view piece) {
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
}

std::variant<std::vector<RecordedPress>, std::string> ReadKeySequenceFile(SettingsFiles& files,
                                                                          const std::string& path,
                                                                          Language language) {
    std::string bytes;
    try {
        bytes = files.Read(path);
    } catch (const SettingsError& error) {
        return Worded(kCannotOpen, language, {path, error.Reason()});
    }
    const auto quote = [&files](std::string_view piece) { return QuotedPiece(files, piece); };
    auto parsed = ParseKeySequence(bytes, quote, language);
    if (const auto* error = std::get_if<SequenceError>(&parsed)) {
        const std::string what =
            error->line ? Worded(kLine, language, {std::to_string(error->line), error->what}) : error->what;
        return Worded(kCannotPlay, language, {path, what});
    }
    return std::move(std::get<std::vector<RecordedPress>>(parsed));
}

}  // namespace tastolink
