#include "recording/unattended_run.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

TEST(UnattendedRun, TakesThePortTheFileTheProfileAndTheExitInAnyOrder) {
    EXPECT_EQ(ParseArguments({}), AskedRun{});
    EXPECT_EQ(ParseArguments({"--port", "COM5", "--play", "C:\\rig\\menu path.txt"}),
              AskedRun(UnattendedRun{"COM5", "C:\\rig\\menu path.txt", false}));
    EXPECT_EQ(ParseArguments(
                  {"--exit", "--profile", "3GPP TS 27.007", "--play", "a.txt", "--port", "\\\\.\\COM12"}),
              AskedRun(UnattendedRun{"\\\\.\\COM12", "a.txt", true, "3GPP TS 27.007"}));
    EXPECT_EQ(ParseArguments({"--identify", "--port", "COM3"}), AskedRun(IdentifyCommand{"COM3"}));
    const std::string usage =
        "нужны --port и --play или --identify: Tastolink.exe --port COM5 --play FILE [--profile ИМЯ] "
        "[--exit] "
        "или Tastolink.exe --port COM5 --identify";
    const std::string identifyAlone =
        "с --identify нужен только --port: Tastolink.exe --port COM5 --identify";
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--port", "COM5"}, usage},
        {{"--exit"}, usage},
        {{"--profile", "Обычный", "--play", "a.txt"}, usage},
        {{"--play", "a.txt", "--port"}, "после --port нужно имя порта"},
        {{"--port", "COM1", "--play", ""}, "после --play нужно имя файла"},
        {{"--port", "COM1", "--play", "a", "--profile"}, "после --profile нужно имя профиля"},
        {{"--port", "COM1", "--port", "COM2", "--play", "a"}, "--port дан дважды"},
        {{"--port", "COM1", "--identify", "--play", "a"}, identifyAlone},
        {{"--port", "COM1", "--identify", "--profile", "Обычный"}, identifyAlone},
        {{"/play", "a"}, "неизвестный параметр «/play»"},
    };
    for (const auto& [arguments, why] : refused)
        EXPECT_EQ(ParseArguments(arguments), AskedRun(BadArguments{why}));
}

}  // namespace
}  // namespace tastolink
