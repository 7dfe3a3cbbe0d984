#include "cli/command_line.h"

#include <array>
#include <optional>
#include <string_view>

#include "link/serial_port_posix.h"
#include "shared/decimal_number.h"

namespace tastolink {
namespace {

constexpr unsigned Bit(CliAction action) { return 1u << static_cast<unsigned>(action); }
constexpr unsigned kSending = Bit(CliAction::Play) | Bit(CliAction::Type) | Bit(CliAction::Keys);
constexpr unsigned kWithPhone = kSending | Bit(CliAction::Identify);

struct OptionRule {
    std::string_view name;
    std::string_view value;  // what must follow it, as a message names it; empty for a switch
    unsigned actions;        // the actions it goes with; for an action's own option, that action
};

// The actions first, in the order of CliAction.
// clang-format off
constexpr OptionRule kOptions[] = {
    {"--help", "", Bit(CliAction::Help)},
    {"--version", "", Bit(CliAction::Version)},
    {"--play", "a file", Bit(CliAction::Play)},
    {"--type", "a text", Bit(CliAction::Type)},
    {"--keys", "keys", Bit(CliAction::Keys)},
    {"--identify", "", Bit(CliAction::Identify)},
    {"--list-ports", "", Bit(CliAction::ListPorts)},
    {"--port", "a port", kWithPhone | Bit(CliAction::ListPorts)},
    {"--gap", "milliseconds", Bit(CliAction::Keys)},
    {"--profile", "a profile's name", kWithPhone},
    {"--phones", "a file", kWithPhone},
    {"--answers", "", kSending},
    {"--baud", "a rate", kWithPhone},
};
// clang-format on
constexpr std::size_t kActionCount = static_cast<std::size_t>(CliAction::ListPorts) + 1;
enum Option : std::size_t { kPort = kActionCount, kGap, kProfile, kPhones, kAnswers, kBaud, kOptionCount };
static_assert(std::size(kOptions) == kOptionCount);

// "--play, --type or --keys": the actions among `actions`, Help and Version left out.
std::string ActionNames(unsigned actions) {
    std::vector<std::string_view> names;
    for (std::size_t at = static_cast<std::size_t>(CliAction::Play); at < kActionCount; ++at)
        if (actions & kOptions[at].actions) names.push_back(kOptions[at].name);
    std::string text;
    for (std::size_t at = 0; at < names.size(); ++at)
        text.append(at == 0 ? "" : at + 1 == names.size() ? " or " : ", ").append(names[at]);
    return text;
}

}  // namespace

std::variant<CliRequest, BadArguments> ParseCommandLine(const std::vector<std::string>& arguments) {
    std::array<std::optional<std::string>, kOptionCount> given;
    std::optional<CliAction> action;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& name = arguments[at];
        std::size_t option = 0;
        while (option < kOptionCount && kOptions[option].name != name) ++option;
        if (option == kOptionCount) return BadArguments{"unknown option \"" + name + "\""};
        if (given[option]) return BadArguments{name + " is given twice"};
        given[option] = "";
        if (!kOptions[option].value.empty()) {
            if (at + 1 == arguments.size() || arguments[at + 1].empty())
                return BadArguments{name + " needs " + std::string(kOptions[option].value) + " after it"};
            given[option] = arguments[++at];
        }
        if (option >= kActionCount) continue;
        if (action) return BadArguments{"give one of " + ActionNames(~0u) + ", not two"};
        action = static_cast<CliAction>(option);
    }
    if (!action) return BadArguments{"nothing to do: give " + ActionNames(~0u)};
    for (std::size_t option = kActionCount; option < kOptionCount; ++option)
        if (given[option] && !(kOptions[option].actions & Bit(*action)))
            return BadArguments{std::string(kOptions[option].name) + " goes with " +
                                ActionNames(kOptions[option].actions) + " only"};

    CliRequest request;
    request.action = *action;
    request.argument = given[static_cast<std::size_t>(*action)].value_or("");
    request.port = given[kPort].value_or("");
    if ((Bit(*action) & kWithPhone) && request.port.empty())
        return BadArguments{"give --port with the phone's port"};
    if (given[kGap]) {
        const auto ms = DecimalNumber<std::uint32_t>(*given[kGap], UINT32_MAX);
        if (!ms) return BadArguments{"--gap takes whole milliseconds, not \"" + *given[kGap] + "\""};
        request.gapMs = *ms;
    }
    if (given[kBaud]) {
        const auto rate = DecimalNumber<unsigned>(*given[kBaud], UINT32_MAX);
        if (!rate || !IsSerialSpeed(*rate))
            return BadArguments{"--baud takes a serial rate such as 115200, not \"" + *given[kBaud] + "\""};
        request.baud = *rate;
    }
    request.profile = given[kProfile].value_or("");
    request.phonesFileGiven = given[kPhones].has_value();
    request.phonesFile = given[kPhones].value_or(request.phonesFile);
    request.answers = given[kAnswers].has_value();
    return request;
}

}  // namespace tastolink
