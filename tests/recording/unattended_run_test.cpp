#include "recording/unattended_run.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

using Parsed = std::variant<std::monostate, UnattendedRun, BadArguments>;

TEST(UnattendedRun, TakesThePortAFileOrATextTheProfileAndTheExitInAnyOrder) {
    EXPECT_EQ(ParseArguments({}), Parsed{});
    EXPECT_EQ(ParseArguments({"--port", "COM5", "--play", "C:\\rig\\menu path.txt"}),
              Parsed(UnattendedRun{.port = "COM5", .file = "C:\\rig\\menu path.txt"}));
    EXPECT_EQ(
        ParseArguments({"--exit", "--type", "Привет, мир", "--port", "\\\\.\\COM12", "--profile", "Nokia"}),
        Parsed(UnattendedRun{
            .port = "\\\\.\\COM12", .text = "Привет, мир", .profile = "Nokia", .exitWhenDone = true}));
    const std::string usage =
        "нужны --port и одно из --play, --type: Tastolink.exe --port COM5 --play FILE | --type TEXT "
        "[--profile NAME] [--exit]";
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--port", "COM5"}, usage},
        {{"--exit"}, usage},
        {{"--type", "да", "--port", "COM1", "--play", "a.txt"}, usage},
        {{"--play", "a.txt", "--port"}, "после --port нужно имя порта"},
        {{"--port", "COM1", "--play", ""}, "после --play нужно имя файла"},
        {{"--port", "COM1", "--type", ""}, "после --type нужен текст"},
        {{"--port", "COM1", "--type", "a", "--profile"}, "после --profile нужно имя профиля"},
        {{"--port", "COM1", "--port", "COM2", "--play", "a"}, "--port дан дважды"},
        {{"/play", "a"}, "неизвестный параметр «/play»"},
    };
    for (const auto& [arguments, why] : refused)
        EXPECT_EQ(ParseArguments(arguments), Parsed(BadArguments{why}));
}

}  // namespace
}  // namespace tastolink
