// tastolink: the command line for Linux test rigs, over the core that Tastolink.exe uses.
#include <algorithm>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/help_text.h"
#include "cli/output.h"
#include "cli/phone_run.h"
#include "link/port_discovery_posix.h"

namespace {

using namespace tastolink;

int ListPorts(const std::string& named) {
    std::vector<SerialPortInfo> ports = ListSerialPorts();
    if (!named.empty()) {
        SerialPortInfo port = DescribeSerialPort(named);
        if (std::ranges::none_of(ports,
                                 [&port](const SerialPortInfo& listed) { return listed.path == port.path; }))
            ports.push_back(std::move(port));
    }
    for (const SerialPortInfo& port : ports) PrintLine(PortLine(port));
    return kEverythingWritten;
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = ParseCommandLine(std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    if (const auto* bad = std::get_if<BadArguments>(&parsed)) {
        PrintError(bad->why + "\n(tastolink --help tells how to call it)");
        return kBadFileOrArguments;
    }
    const CliRequest& request = std::get<CliRequest>(parsed);
    switch (request.action) {
        case CliAction::Help:
            PrintLine(kHelpText.substr(0, kHelpText.size() - 1));
            return kEverythingWritten;
        case CliAction::Version:
            PrintLine("tastolink " TASTOLINK_VERSION);
            return kEverythingWritten;
        case CliAction::ListPorts:
            return ListPorts(request.port);
        default:
            return RunWithPhone(request);
    }
}
