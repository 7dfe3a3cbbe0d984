// What the Linux port costs on the road of a key: a line from Write to the phone's end, an answer
// from the phone's end to the reader, opening and closing a port with its locks, and listing the
// machine's ports. The phone is the master end of a pseudo-terminal.
#include <benchmark/benchmark.h>
#include <pty.h>
#include <unistd.h>

#include <filesystem>
#include <variant>

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

}  // namespace
}  // namespace tastolink
