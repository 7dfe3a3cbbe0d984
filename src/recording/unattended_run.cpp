#include "recording/unattended_run.h"

#include <string_view>

namespace tastolink {
namespace {

struct ValueOption {
    std::string_view name;
    std::string_view wanted;  // what must follow it
    std::string UnattendedRun::*field;
};
constexpr ValueOption kValueOptions[] = {
    {"--port", "нужно имя порта", &UnattendedRun::port},
    {"--play", "нужно имя файла", &UnattendedRun::file},
    {"--type", "нужен текст", &UnattendedRun::text},
    {"--profile", "нужно имя профиля", &UnattendedRun::profile},
};

constexpr std::string_view kUsage =
    "Tastolink.exe --port COM5 --play FILE | --type TEXT [--profile ИМЯ] [--exit] или Tastolink.exe --port "
    "COM5 "
    "--identify";

}  // namespace

AskedRun ParseArguments(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::monostate{};
    UnattendedRun run;
    bool identify = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--exit" || argument == "--identify") {
            (argument == "--exit" ? run.exitWhenDone : identify) = true;
            continue;
        }
        const ValueOption* option = nullptr;
        for (const ValueOption& known : kValueOptions)
            if (argument == known.name) option = &known;
        if (!option) return BadArguments{"неизвестный параметр «" + argument + "»"};
        if (at + 1 == arguments.size() || arguments[at + 1].empty())
            return BadArguments{"после " + argument + " " + std::string(option->wanted)};
        std::string& value = run.*option->field;
        if (!value.empty()) return BadArguments{argument + " дан дважды"};
        value = arguments[++at];
    }
    if (identify && (!run.file.empty() || !run.text.empty() || !run.profile.empty() || run.exitWhenDone))
        return BadArguments{"с --identify нужен только --port: Tastolink.exe --port COM5 --identify"};
    if (run.port.empty() || (!identify && run.file.empty() == run.text.empty()))
        return BadArguments{"нужны --port и одно из --play, --type, --identify: " + std::string(kUsage)};
    if (identify) return IdentifyCommand{run.port};
    return run;
}

}  // namespace tastolink
