#include "link/port_names.h"

#include <charconv>

#include "shared/ascii_text.h"

namespace tastolink {

bool SamePortName(std::string_view one, std::string_view other) { return EqualIgnoringAsciiCase(one, other); }

std::optional<unsigned> ComPortNumber(std::string_view name) {
    if (name.size() < 4 || !EqualIgnoringAsciiCase(name.substr(0, 3), "COM")) return std::nullopt;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(name.data() + 3, name.data() + name.size(), number);
    if (error != std::errc() || end != name.data() + name.size()) return std::nullopt;
    return number;
}

}  // namespace tastolink
