#include "cli/command_line.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

using Parsed = std::variant<CliRequest, BadArguments>;

TEST(CommandLine, TakesOneActionWithTheOptionsThatGoWithIt) {
    CliRequest keys{CliAction::Keys, "/dev/ttyACM0", "M 5", 4294967295u, "Lab", "lab.ini", true, true, 9600};
    EXPECT_EQ(ParseCommandLine({"--gap", "4294967295", "--keys", "M 5", "--answers", "--profile", "Lab",
                                "--baud", "9600", "--phones", "lab.ini", "--port", "/dev/ttyACM0"}),
              Parsed(keys));
    CliRequest identify{CliAction::Identify, "p", "", 300, "", "phones.ini", false, false, 115200};
    EXPECT_EQ(ParseCommandLine({"--port", "p", "--identify"}), Parsed(identify));
    EXPECT_EQ(ParseCommandLine({"--list-ports"}), Parsed(CliRequest{CliAction::ListPorts}));

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{}, "nothing to do: give --play, --type, --keys, --identify or --list-ports"},
        {{"--port", "p", "--play", "a", "--keys", "5"},
         "give one of --play, --type, --keys, --identify or --list-ports, not two"},
        {{"-p", "x"}, "unknown option \"-p\""},
        {{"--port", "p", "--port", "q", "--identify"}, "--port is given twice"},
        {{"--identify", "--port"}, "--port needs a port after it"},
        {{"--type", "", "--port", "p"}, "--type needs a text after it"},
        {{"--keys", "5"}, "give --port with the phone's port"},
        {{"--identify"}, "give --port with the phone's port"},
        {{"--port", "p", "--identify", "--answers"}, "--answers goes with --play, --type or --keys only"},
        {{"--list-ports", "--baud", "9600"}, "--baud goes with --play, --type, --keys or --identify only"},
        {{"--port", "p", "--keys", "5", "--gap", "4294967296"},
         "--gap takes whole milliseconds, not \"4294967296\""},
        {{"--port", "p", "--keys", "5", "--gap", "-1"}, "--gap takes whole milliseconds, not \"-1\""},
        {{"--port", "p", "--identify", "--baud", "9601"},
         "--baud takes a serial rate such as 115200, not \"9601\""},
    };
    for (const auto& [arguments, why] : refused)
        EXPECT_EQ(ParseCommandLine(arguments), Parsed(BadArguments{why}));
}

}  // namespace
}  // namespace tastolink
