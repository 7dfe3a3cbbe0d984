#include "shared/system_error_text.h"

namespace tastolink {

std::string TrimSystemErrorText(std::string_view systemText) {
    std::size_t end = systemText.size();
    // Control characters count as blanks: the system's texts end in ".\r\n".
    while (end > 0 && (static_cast<unsigned char>(systemText[end - 1]) <= ' ' || systemText[end - 1] == '.'))
        --end;
    return std::string(systemText.substr(0, end));
}

}  // namespace tastolink
