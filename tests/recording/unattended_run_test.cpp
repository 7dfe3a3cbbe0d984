#include "recording/unattended_run.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

TEST(UnattendedRun, TakesThePortAFileOrATextTheProfileAndTheExitInAnyOrder) {
    EXPECT_EQ(ParseArguments({}), AskedRun{});
    EXPECT_EQ(ParseArguments({"--port", "COM5", "--play", "C:\\rig\\menu path.txt"}),
              AskedRun(UnattendedRun{.port = "COM5", .file = "C:\\rig\\menu path.txt"}));
    EXPECT_EQ(
        ParseArguments({"--exit", "--type", "Привет, мир", "--port", "\\\\.\\COM12", "--profile", "Nokia"}),
        AskedRun(UnattendedRun{
            .port = "\\\\.\\COM12", .text = "Привет, мир", .profile = "Nokia", .exitWhenDone = true}));
    EXPECT_EQ(ParseArguments({"--identify", "--port", "COM3"}), AskedRun(IdentifyCommand{"COM3"}));
    const std::string usage =
        "нужны --port и одно из --play, --type, --identify: Tastolink.exe --port COM5 --play FILE | --type "
        "TEXT [--profile ИМЯ] [--exit] или Tastolink.exe --port COM5 --identify";
    const std::string identifyAlone =
        "с --identify нужен только --port: Tastolink.exe --port COM5 --identify";
    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--port", "COM5"}, usage},
        {{"--exit"}, usage},
        {{"--profile", "Обычный", "--play", "a.txt"}, usage},
        {{"--type", "да", "--port", "COM1", "--play", "a.txt"}, usage},
        {{"--play", "a.txt", "--port"}, "после --port нужно имя порта"},
        {{"--port", "COM1", "--play", ""}, "после --play нужно имя файла"},
        {{"--port", "COM1", "--type", ""}, "после --type нужен текст"},
        {{"--port", "COM1", "--type", "a", "--profile"}, "после --profile нужно имя профиля"},
        {{"--port", "COM1", "--port", "COM2", "--play", "a"}, "--port дан дважды"},
        {{"--port", "COM1", "--identify", "--play", "a"}, identifyAlone},
        {{"--port", "COM1", "--identify", "--profile", "Обычный"}, identifyAlone},
        {{"--port", "COM1", "--identify", "--exit"}, identifyAlone},
        {{"/play", "a"}, "неизвестный параметр «/play»"},
    };
    for (const auto& [arguments, why] : refused)
        EXPECT_EQ(ParseArguments(arguments), AskedRun(BadArguments{why}));
}

}  // namespace
}  // namespace tastolink
