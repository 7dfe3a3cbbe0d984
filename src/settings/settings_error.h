#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "shared/system_error_text.h"

namespace tastolink {

// A failure of a file operation. what() is the exact UTF-8 text the user sees for a settings
// file; the front end adds the closing full stop when it shows it. Reason() is the system's own
// words alone, for a message of another file ("Невозможно открыть «keys.txt»: <reason>").
class SettingsError : public std::runtime_error {
public:
    explicit SettingsError(const std::string& message, std::string reason = {})
        : std::runtime_error(message), reason_(std::move(reason)) {}
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// A file that could not be read because it does not exist: a save may then create it
// without overwriting anything.
struct SettingsFileMissing : SettingsError {
    using SettingsError::SettingsError;
};

inline constexpr std::string_view kStreamWriteError = "Stream write error";
inline constexpr std::string_view kUnableToInsertLine = "Unable to insert a line";
inline constexpr std::string_view kTextExceedsMemoCapacity = "Text exceeds memo capacity";
inline constexpr std::string_view kNotEnoughTimers = "Not enough timers available";

// The path shown to the user: the working directory, a backslash, the file's name.
std::string FullPathOf(std::string_view workingDirectory, std::string_view name);

// Cannot open file "<full path>". <system text, trimmed>
std::string CannotOpenFileMessage(std::string_view workingDirectory, std::string_view name,
                                  std::string_view systemText);
// Cannot create file "<full path>". <system text, trimmed>
std::string CannotCreateFileMessage(std::string_view workingDirectory, std::string_view name,
                                    std::string_view systemText);

// '<text>' is not a valid integer value
std::string NotAValidIntegerMessage(std::string_view text);

}  // namespace tastolink
