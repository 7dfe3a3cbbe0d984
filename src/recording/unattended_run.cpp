#include "recording/unattended_run.h"

#include <string_view>

namespace tastolink {
namespace {

// The arguments that take a value, and what must follow them.
struct ValueOption {
    std::string_view name;
    std::string UnattendedRun::*value;
    std::string_view wanted;
};
constexpr ValueOption kValueOptions[] = {
    {"--port", &UnattendedRun::port, "нужно имя порта"},
    {"--play", &UnattendedRun::file, "нужно имя файла"},
    {"--type", &UnattendedRun::text, "нужен текст"},
    {"--profile", &UnattendedRun::profile, "нужно имя профиля"},
};

}  // namespace

std::variant<std::monostate, UnattendedRun, BadArguments> ParseArguments(
    const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::monostate{};
    UnattendedRun run;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--exit") {
            run.exitWhenDone = true;
            continue;
        }
        const ValueOption* option = nullptr;
        for (const ValueOption& known : kValueOptions)
            if (known.name == argument) option = &known;
        if (!option) return BadArguments{"неизвестный параметр «" + argument + "»"};
        if (at + 1 == arguments.size() || arguments[at + 1].empty())
            return BadArguments{"после " + argument + " " + std::string(option->wanted)};
        // An empty value is refused above: a value that is not empty was given before.
        std::string& value = run.*(option->value);
        if (!value.empty()) return BadArguments{argument + " дан дважды"};
        value = arguments[++at];
    }
    if (run.port.empty() || run.file.empty() == run.text.empty())
        return BadArguments{
            "нужны --port и одно из --play, --type: Tastolink.exe --port COM5 --play FILE | --type TEXT "
            "[--profile NAME] [--exit]"};
    return run;
}

}  // namespace tastolink
