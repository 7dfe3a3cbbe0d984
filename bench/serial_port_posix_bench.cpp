// What the Linux port costs on the road of a key: a line from Write to the phone's end, an answer
// from the phone's end to the reader, opening and closing a port with its locks, listing the
// machine's ports, and how late the command line's one thread sends a press against its due time.
// The phone is the master end of a pseudo-terminal.
#include <benchmark/benchmark.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <variant>

#include "link/phone_session.h"
#include "link/port_discovery_posix.h"
#include "link/serial_port_posix.h"
#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

struct Phone {
    Phone() {
        int master = -1, slave = -1;
        if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) return;
        end.Reset(master);
        portName = ttyname(slave);
        close(slave);
    }
    std::unique_ptr<SerialPort> Open(const std::string& lockFolder) {
        PortOpening opening = PosixSerialPortOpener(115200, lockFolder).Open(portName);
        auto* port = std::get_if<std::unique_ptr<SerialPort>>(&opening);
        return port ? std::move(*port) : nullptr;
    }
    FileDescriptor end;
    std::string portName;
};

void LineToPhone(benchmark::State& state) {
    Phone phone;
    auto port = phone.Open("/nonexistent");
    if (!port) return state.SkipWithError("no pseudo-terminal");
    char line[16];
    for (auto _ : state) {
        if (port->Write("AT+CKPD=\"5\"\r\n") != WriteOutcome::Written)
            return state.SkipWithError("not written");
        for (ssize_t got = 0; got < 13;)
            got += std::max<ssize_t>(0, read(phone.end.Get(), line, sizeof line));
    }
}
BENCHMARK(LineToPhone)->UseRealTime();

void AnswerToReader(benchmark::State& state) {
    Phone phone;
    auto port = phone.Open("/nonexistent");
    if (!port) return state.SkipWithError("no pseudo-terminal");
    std::string answer;
    for (auto _ : state) {
        if (write(phone.end.Get(), "\r\nOK\r\n", 6) != 6)
            return state.SkipWithError("the phone's end refused");
        for (answer.clear(); answer.size() < 6;)
            if (port->Read(answer) != ReadOutcome::Received) return state.SkipWithError("not received");
    }
}
BENCHMARK(AnswerToReader)->UseRealTime();

// With the UUCP lock file written and removed each time, in a folder of the bench's own.
void OpenAndClose(benchmark::State& state) {
    Phone phone;
    const auto lockFolder =
        std::filesystem::temp_directory_path() / ("tastolink-bench-locks-" + std::to_string(getpid()));
    std::filesystem::create_directory(lockFolder);
    for (auto _ : state)
        if (!phone.Open(lockFolder)) return state.SkipWithError("did not open");
    std::filesystem::remove_all(lockFolder);
}
BENCHMARK(OpenAndClose);

void ListPorts(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ListSerialPorts());
}
BENCHMARK(ListPorts);

// Twenty presses 2 ms apart, each due time counted from the start as --play counts them: how
// long after it each went out, in microseconds (the median, the 99th percentile, the worst).
void PressLateness(benchmark::State& state) {
    Phone phone;
    PosixSerialPortOpener opener(115200, "/nonexistent");
    PhoneSession session(opener);
    if (!session.Conversation().Open(phone.portName)) return state.SkipWithError("did not open");
    const PhoneCommand press = PhoneCommand::OfLine("AT+CKPD=\"5\"");
    std::vector<double> lateUs;
    char drained[256];
    for (auto _ : state) {
        const auto start = PhoneSession::Clock::now();
        for (int at = 1; at <= 20; ++at) {
            const auto due = start + std::chrono::milliseconds(2 * at);
            session.WaitUntil(due);
            lateUs.push_back(
                std::chrono::duration<double, std::micro>(PhoneSession::Clock::now() - due).count());
            session.Conversation().Send(press);
            [[maybe_unused]] const ssize_t read = ::read(phone.end.Get(), drained, sizeof drained);
        }
    }
    std::sort(lateUs.begin(), lateUs.end());
    state.counters["late_us_median"] = lateUs[lateUs.size() / 2];
    state.counters["late_us_p99"] = lateUs[lateUs.size() * 99 / 100];
    state.counters["late_us_worst"] = lateUs.back();
}
BENCHMARK(PressLateness)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

}  // namespace
}  // namespace tastolink
