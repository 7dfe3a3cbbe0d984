#include "recording/unattended_run.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

using Parsed = std::variant<std::monostate, UnattendedRun, BadArguments>;

TEST(UnattendedRun, TakesThePortTheFileAndTheExitInAnyOrder) {
    EXPECT_EQ(ParseArguments({}), Parsed{});
    EXPECT_EQ(ParseArguments({"--port", "COM5", "--play", "C:\\rig\\menu path.txt"}),
              Parsed(UnattendedRun{"COM5", "C:\\rig\\menu path.txt", false}));
    EXPECT_EQ(ParseArguments({"--exit", "--play", "a.txt", "--port", "\\\\.\\COM12"}),
              Parsed(UnattendedRun{"\\\\.\\COM12", "a.txt", true}));
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--port", "COM5"}, "нужны и --port, и --play: Tastolink.exe --port COM5 --play FILE [--exit]"},
        {{"--exit"}, "нужны и --port, и --play: Tastolink.exe --port COM5 --play FILE [--exit]"},
        {{"--play", "a.txt", "--port"}, "после --port нужно имя порта"},
        {{"--port", "COM1", "--play", ""}, "после --play нужно имя файла"},
        {{"--port", "COM1", "--port", "COM2", "--play", "a"}, "--port дан дважды"},
        {{"/play", "a"}, "неизвестный параметр «/play»"},
    };
    for (const auto& [arguments, why] : refused)
        EXPECT_EQ(ParseArguments(arguments), Parsed(BadArguments{why}));
}

}  // namespace
}  // namespace tastolink
