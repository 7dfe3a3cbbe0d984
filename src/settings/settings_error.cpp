#include "settings/settings_error.h"

namespace tastolink {
namespace {

std::string FileMessage(std::string_view action, std::string_view workingDirectory, std::string_view name,
                        std::string_view systemText) {
    std::string message(action);
    message += " \"";
    message += FullPathOf(workingDirectory, name);
    message += "\". ";
    message += TrimSystemErrorText(systemText);
    return message;
}

}  // namespace

std::string FullPathOf(std::string_view workingDirectory, std::string_view name) {
    std::string path(workingDirectory);
    // A drive's root already ends in a backslash ("C:\").
    if (path.empty() || path.back() != '\\') path += '\\';
    path += name;
    return path;
}

std::string CannotOpenFileMessage(std::string_view workingDirectory, std::string_view name,
                                  std::string_view systemText) {
    return FileMessage("Cannot open file", workingDirectory, name, systemText);
}

std::string CannotCreateFileMessage(std::string_view workingDirectory, std::string_view name,
                                    std::string_view systemText) {
    return FileMessage("Cannot create file", workingDirectory, name, systemText);
}

std::string NotAValidIntegerMessage(std::string_view text) {
    std::string message = "'";
    message += text;
    message += "' is not a valid integer value";
    return message;
}

}  // namespace tastolink
