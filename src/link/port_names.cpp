#include "link/port_names.h"

#include <charconv>

namespace tastolink {

std::string UpperPortName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool SamePortName(std::string_view one, std::string_view other) {
    return UpperPortName(one) == UpperPortName(other);
}

std::optional<unsigned> ComPortNumber(std::string_view name) {
    if (name.size() < 4 || UpperPortName(name.substr(0, 3)) != "COM") return std::nullopt;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(name.data() + 3, name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size()) return std::nullopt;
    return number;
}

}  // namespace tastolink
