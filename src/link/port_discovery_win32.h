#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "link/port_list.h"

namespace tastolink {

// The port selector's entries from what the system has now: its ports from the registry
// (HARDWARE\DEVICEMAP\SERIALCOMM) and their devices' names from SetupAPI (the Ports class).
std::vector<PortEntry> DiscoverPorts(std::span<const std::string_view> fixedPorts);

}  // namespace tastolink
