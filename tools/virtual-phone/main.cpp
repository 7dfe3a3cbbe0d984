// virtual-phone: a phone on a pseudo-terminal for testing Tastolink under Wine.
//
//   virtual-phone [--link PATH] [--log FILE] [--ready-file FILE]
//
// Answers every command line with OK (or ERROR for a line that is not a keypad command of
// the phone key table), shows each press with its time and a running count, and with --log
// writes one line per received line: monotonic ms, the bytes in hex, the row or "-".
// --link PATH points a symbolic link (such as $WINEPREFIX/dosdevices/com1) at the port.
// --ready-file FILE is written, holding the port's path, once the port is ready.
// Ends on SIGTERM or SIGINT, removing its link and ready file.

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "keypad_line.h"
#include "pseudo_terminal.h"

namespace tastolink::virtual_phone {
namespace {

struct Options {
    std::string link;
    std::string log;
    std::string readyFile;
};

constexpr char kUsage[] = "usage: virtual-phone [--link PATH] [--log FILE] [--ready-file FILE]\n";

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        std::string* value = name == "--link"         ? &options.link
                             : name == "--log"        ? &options.log
                             : name == "--ready-file" ? &options.readyFile
                                                      : nullptr;
        if (value == nullptr || i + 1 == argc) return std::nullopt;
        *value = argv[++i];
    }
    return options;
}

// The signal handler only writes a byte here; the main loop polls the other end.
int stopPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const int savedErrno = errno;
    [[maybe_unused]] ssize_t written = write(stopPipe[1], "x", 1);
    errno = savedErrno;
}

void InstallStopHandlers() {
    if (pipe(stopPipe) != 0) throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    // A reader of our output that went away must not end the phone.
    signal(SIGPIPE, SIG_IGN);
}

std::int64_t MonotonicMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::string WallClock() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms));
    return text;
}

void WriteReadyFile(const std::string& path, const std::string& portPath) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << portPath << '\n';
        if (!file.flush()) throw std::runtime_error("cannot write " + temporary);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot rename " + temporary + ": " + std::strerror(errno));
}

class Phone {
public:
    Phone(const PseudoTerminal& terminal, const std::string& logPath) : terminal_(terminal) {
        if (!logPath.empty()) {
            log_.open(logPath, std::ios::trunc);
            if (!log_) throw std::runtime_error("cannot open " + logPath);
        }
    }

    // Reads what the port has; false when the master end failed for good.
    bool ReadAvailable() {
        char buffer[4096];
        for (;;) {
            const ssize_t count = read(terminal_.Master(), buffer, sizeof buffer);
            if (count > 0) {
                for (const std::string& line : splitter_.Feed(std::string_view(buffer, count))) Answer(line);
                continue;
            }
            // EIO only while no slave descriptor is open, which our own one prevents.
            if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR || errno == EIO))
                return true;
            return count != 0;
        }
    }

private:
    void Answer(const std::string& line) {
        const std::optional<int> row = RowOfLine(line);
        if (log_.is_open()) log_ << LogLine(MonotonicMs(), line, row) << std::endl;
        if (row) {
            ++presses_;
            std::cout << WallClock() << "  #" << presses_ << "  " << ShownKeyName(kPhoneKeyTable[*row])
                      << std::endl;
        } else {
            std::cout << WallClock() << "  not a keypad command: \"" << Printable(line) << '"' << std::endl;
        }
        Reply(row ? kReplyOk : kReplyError);
    }

    void Reply(std::string_view reply) {
        // Nobody may be reading the replies (the program opens the port write-only): once the
        // terminal's buffer is full they are dropped, as on a line without flow control.
        const ssize_t written = write(terminal_.Master(), reply.data(), reply.size());
        if (written < static_cast<ssize_t>(reply.size()) && !replyDropNoted_) {
            replyDropNoted_ = true;
            std::cout << WallClock() << "  (replies are being dropped: nobody reads them)" << std::endl;
        }
    }

    const PseudoTerminal& terminal_;
    std::ofstream log_;
    LineSplitter splitter_;
    long presses_ = 0;
    bool replyDropNoted_ = false;
};

int Run(const Options& options) {
    InstallStopHandlers();
    PseudoTerminal terminal;
    Phone phone(terminal, options.log);
    std::unique_ptr<PortLink> link;
    if (!options.link.empty()) link = std::make_unique<PortLink>(options.link, terminal.SlavePath());
    if (!options.readyFile.empty()) WriteReadyFile(options.readyFile, terminal.SlavePath());
    std::cout << "ready " << terminal.SlavePath();
    if (link) std::cout << " linked as " << options.link;
    std::cout << std::endl;

    constexpr int kLinkCheckMs = 100;
    int status = 0;
    for (;;) {
        pollfd fds[2] = {{terminal.Master(), POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
        const int ready = poll(fds, 2, kLinkCheckMs);
        if (ready < 0 && errno != EINTR) {
            std::cerr << "virtual-phone: poll: " << std::strerror(errno) << '\n';
            status = 1;
            break;
        }
        if (fds[1].revents != 0) break;
        if ((fds[0].revents & POLLIN) && !phone.ReadAvailable()) {
            std::cerr << "virtual-phone: the pseudo-terminal failed: " << std::strerror(errno) << '\n';
            status = 1;
            break;
        }
        if (link && link->Restore())
            std::cout << WallClock() << "  " << options.link << " had been replaced; linked it again"
                      << std::endl;
    }
    if (!options.readyFile.empty()) std::remove(options.readyFile.c_str());
    std::cout << "stopped" << std::endl;
    return status;
}

}  // namespace
}  // namespace tastolink::virtual_phone

int main(int argc, char** argv) {
    const auto options = tastolink::virtual_phone::ParseOptions(argc, argv);
    if (!options) {
        std::cerr << tastolink::virtual_phone::kUsage;
        return 2;
    }
    try {
        return tastolink::virtual_phone::Run(*options);
    } catch (const std::exception& error) {
        std::cerr << "virtual-phone: " << error.what() << '\n';
        return 1;
    }
}
