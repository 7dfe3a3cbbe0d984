#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tastolink {

// The ports the port selector always offers.
inline constexpr std::array<std::string_view, 5> kPortNames{"COM1", "COM2", "COM3", "COM4", "COM5"};

// Port names are the system's, which ignores case: COM7 and com7 are one port.
bool SamePortName(std::string_view one, std::string_view other);
// The number of "COM<n>" in any case, or nothing for another name.
std::optional<unsigned> ComPortNumber(std::string_view name);

}  // namespace tastolink
