#include "recording/unattended_run.h"

namespace tastolink {

std::variant<std::monostate, UnattendedRun, BadArguments> ParseArguments(
    const std::vector<std::string>& arguments) {
    if (arguments.empty()) return std::monostate{};
    UnattendedRun run;
    bool port = false, play = false;
    for (std::size_t at = 0; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (argument == "--exit") {
            run.exitWhenDone = true;
            continue;
        }
        if (argument != "--port" && argument != "--play")
            return BadArguments{"неизвестный параметр «" + argument + "»"};
        if (at + 1 == arguments.size() || arguments[at + 1].empty())
            return BadArguments{"после " + argument + " нужно " +
                                (argument == "--port" ? "имя порта" : "имя файла")};
        bool& given = argument == "--port" ? port : play;
        if (given) return BadArguments{argument + " дан дважды"};
        given = true;
        (argument == "--port" ? run.port : run.file) = arguments[++at];
    }
    if (!port || !play)
        return BadArguments{"нужны и --port, и --play: Tastolink.exe --port COM5 --play FILE [--exit]"};
    return run;
}

}  // namespace tastolink
