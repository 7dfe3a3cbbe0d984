#include "link/port_list.h"

#include <algorithm>

#include "link/port_names.h"
#include "shared/ascii_text.h"

namespace tastolink {
namespace {

// COM ports by number, then other names by name.
bool ListedBefore(const std::string& one, const std::string& other) {
    const auto a = ComPortNumber(one), b = ComPortNumber(other);
    if (a && b) return *a < *b;
    if (a || b) return a.has_value();
    return AsciiUppercase(one) < AsciiUppercase(other);
}

// The registry's texts may end in blanks or zero bytes.
std::string_view Trimmed(std::string_view text) {
    const std::size_t end = text.find_last_not_of(std::string_view(" \t\0", 3));
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

}  // namespace

std::string DeviceName(std::string_view friendlyName, std::string_view port) {
    friendlyName = Trimmed(friendlyName);
    const std::string suffix = " (" + AsciiUppercase(port) + ")";
    if (AsciiUppercase(friendlyName).ends_with(suffix)) friendlyName.remove_suffix(suffix.size());
    return std::string(friendlyName);
}

std::vector<PortEntry> PortEntries(std::span<const std::string_view> fixedPorts,
                                   const std::vector<std::string>& systemPorts,
                                   const std::vector<PortDevice>& devices) {
    std::vector<std::string> present;
    for (const std::string& port : systemPorts)
        if (!Trimmed(port).empty()) present.emplace_back(Trimmed(port));
    auto deviceOf = [&](const std::string& port) {
        for (const PortDevice& device : devices)
            if (SamePortName(Trimmed(device.port), port)) return DeviceName(device.friendlyName, port);
        return std::string();
    };
    auto isPresent = [&](std::string_view port) {
        return std::any_of(present.begin(), present.end(),
                           [&](const std::string& p) { return SamePortName(p, port); });
    };
    std::vector<PortEntry> entries;
    for (std::string_view port : fixedPorts)
        entries.push_back(
            {std::string(port), isPresent(port) ? deviceOf(std::string(port)) : "", isPresent(port)});
    std::sort(present.begin(), present.end(), ListedBefore);
    for (const std::string& port : present) {
        const bool listed = std::any_of(entries.begin(), entries.end(), [&](const PortEntry& entry) {
            return SamePortName(entry.name, port);
        });
        if (!listed) entries.push_back({port, deviceOf(port), true});
    }
    return entries;
}

}  // namespace tastolink
