#include "link/serial_port_posix.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <optional>
#include <thread>

#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Reading = std::pair<ReadOutcome, std::string>;

// The call runs on a thread of its own, so that a port that hangs fails its test (the result is
// nothing after a few seconds) instead of holding up the run.
template <class Result>
std::future<Result> Started(std::function<Result()> call) {
    std::packaged_task<Result()> task(std::move(call));
    std::future<Result> result = task.get_future();
    std::thread(std::move(task)).detach();
    return result;
}

template <class Result>
std::optional<Result> Within(std::future<Result> result) {
    if (result.wait_for(5s) != std::future_status::ready) return std::nullopt;
    return result.get();
}

std::optional<Reading> ReadOnce(std::shared_ptr<SerialPort> port) {
    return Within(Started<Reading>([port] {
        Reading reading;
        reading.first = port->Read(reading.second);
        return reading;
    }));
}

std::optional<WriteOutcome> WriteOnce(std::shared_ptr<SerialPort> port, std::string line) {
    return Within(Started<WriteOutcome>([port, line] { return port->Write(line); }));
}

PortFailure FailureOf(PortOpening opening) {
    if (auto* failure = std::get_if<PortFailure>(&opening)) return *failure;
    return {PortFailure::Kind::Other, -1, "it opened"};
}

// The port under test opens the slave end of a pseudo-terminal; the test plays the phone on the
// master end. Lock files go to a folder that does not exist, as on a machine without one.
struct PosixSerialPortTest : testing::Test {
    void SetUp() override {
        int master = -1, slave = -1;
        ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
        phone.Reset(master);
        slavePath = ttyname(slave);
        close(slave);
    }

    std::shared_ptr<SerialPort> Open(const std::string& lockFolder = "/nonexistent") {
        PortOpening opening = PosixSerialPortOpener(115200, lockFolder).Open(slavePath);
        if (auto* port = std::get_if<std::unique_ptr<SerialPort>>(&opening)) return std::move(*port);
        ADD_FAILURE() << "the port did not open";
        return nullptr;
    }

    // What reaches the phone, until `size` bytes or a second without any.
    std::string Received(std::size_t size) {
        std::string bytes;
        pollfd end{phone.Get(), POLLIN, 0};
        char buffer[256];
        while (bytes.size() < size && poll(&end, 1, 1000) > 0) {
            const ssize_t got = read(phone.Get(), buffer, sizeof buffer);
            if (got <= 0) break;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
        return bytes;
    }

    FileDescriptor phone;
    std::string slavePath;
};

// Raw both ways: an XOFF from the phone neither vanishes nor stops the port's output, and CR LF
// pass unchanged.
TEST_F(PosixSerialPortTest, TheLineIsRawBothWays) {
    auto port = Open();
    ASSERT_TRUE(port);
    ASSERT_EQ(write(phone.Get(), "\x13\r\nRING\r\n", 9), 9);
    EXPECT_EQ(ReadOnce(port), Reading(ReadOutcome::Received, "\x13\r\nRING\r\n"));
    EXPECT_EQ(WriteOnce(port, "AT+CKPD=\"5\"\r\n"), WriteOutcome::Written);
    EXPECT_EQ(Received(13), "AT+CKPD=\"5\"\r\n");
}

TEST_F(PosixSerialPortTest, EachStopEndsOneReadWhetherItWaitsOrComesLater) {
    auto port = Open();
    ASSERT_TRUE(port);
    auto waiting = Started<Reading>([port] {
        Reading reading;
        reading.first = port->Read(reading.second);
        return reading;
    });
    std::this_thread::sleep_for(50ms);  // to stop a Read that waits; one that starts later ends alike
    port->StopReading();
    EXPECT_EQ(Within(std::move(waiting)), Reading(ReadOutcome::Stopped, ""));
    port->StopReading();
    port->StopReading();
    ASSERT_EQ(write(phone.Get(), "OK", 2), 2);
    EXPECT_EQ(ReadOnce(port), Reading(ReadOutcome::Stopped, ""));
    EXPECT_EQ(ReadOnce(port), Reading(ReadOutcome::Stopped, ""));
    EXPECT_EQ(ReadOnce(port), Reading(ReadOutcome::Received, "OK"));
}

// Nobody reads the master end: the pseudo-terminal's buffer fills, as a stalled phone's would.
TEST_F(PosixSerialPortTest, AStalledPhoneFailsAWriteInsteadOfHoldingIt) {
    auto port = Open();
    ASSERT_TRUE(port);
    const std::string line(1024, '5');
    EXPECT_EQ(Within(Started<WriteOutcome>([port, line] {
                  for (int lines = 0; lines < 4096; ++lines)
                      if (const WriteOutcome outcome = port->Write(line); outcome != WriteOutcome::Written)
                          return outcome;
                  return WriteOutcome::Written;
              })),
              WriteOutcome::Failed);
}

TEST_F(PosixSerialPortTest, APhoneGoneIsLostToReadAndWrite) {
    auto port = Open();
    ASSERT_TRUE(port);
    phone.Reset();
    EXPECT_EQ(WriteOnce(port, "AT\r\n"), WriteOutcome::Lost);
    EXPECT_EQ(ReadOnce(port), Reading(ReadOutcome::Lost, ""));
}

// A link to the device (as in /dev/serial/by-id) is the same port; the lock goes at the close.
TEST_F(PosixSerialPortTest, APortHeldIsBusyWithItsHolderNamedUntilItCloses) {
    const fs::path link = fs::temp_directory_path() / ("tastolink-by-id-" + std::to_string(getpid()));
    fs::create_symlink(slavePath, link);
    auto port = Open();
    const PortFailure busy = FailureOf(PosixSerialPortOpener(115200, "/nonexistent").Open(link));
    EXPECT_EQ(busy.kind, PortFailure::Kind::Busy);
    EXPECT_EQ(busy.holder, "process " + std::to_string(getpid()) + " (tastolink_host_)");
    port.reset();
    EXPECT_TRUE(Open());
    fs::remove(link);
}

// "LCK..pts_3" for /dev/pts/3, the process id in ten columns: a live process's refuses the
// port, a gone one's is taken over, and ours goes at the close.
TEST_F(PosixSerialPortTest, ALockFileOfALiveProcessHoldsThePortAndOneOfAGoneProcessIsTakenOver) {
    const fs::path folder = fs::temp_directory_path() / ("tastolink-locks-" + std::to_string(getpid()));
    fs::create_directory(folder);
    const fs::path lockFile = folder / ("LCK..pts_" + slavePath.substr(std::string("/dev/pts/").size()));
    auto lockFileOf = [](pid_t pid) {
        char text[16];
        std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
        return std::string(text);
    };
    std::ofstream(lockFile) << lockFileOf(getpid());
    const PortFailure busy = FailureOf(PosixSerialPortOpener(115200, folder).Open(slavePath));
    EXPECT_EQ(busy.kind, PortFailure::Kind::Busy);
    EXPECT_EQ(busy.holder, "process " + std::to_string(getpid()) + " (tastolink_host_)");

    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    std::ofstream(lockFile) << lockFileOf(gone);
    auto port = Open(folder);
    std::ifstream taken(lockFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(taken), {}), lockFileOf(getpid()));
    port.reset();
    EXPECT_FALSE(fs::exists(lockFile));
    fs::remove_all(folder);
}

TEST_F(PosixSerialPortTest, WhatIsNoPortOrCannotBeSetIsRefusedWithItsReason) {
    const fs::path file = fs::temp_directory_path() / ("tastolink-not-a-port-" + std::to_string(getpid()));
    std::ofstream(file) << "keep";
    const std::pair<std::string, PortFailure::Kind> cases[] = {
        {"/nonexistent/ttyACM0", PortFailure::Kind::Absent},
        {file, PortFailure::Kind::NotADevice},
        {"/dev/null", PortFailure::Kind::NotADevice},
        {"/", PortFailure::Kind::NotADevice}};
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(FailureOf(PosixSerialPortOpener().Open(name)).kind, kind) << name;
    EXPECT_EQ(FailureOf(PosixSerialPortOpener(12345, "/nonexistent").Open(slavePath)).kind,
              PortFailure::Kind::Refused);
    fs::remove(file);
}

}  // namespace
}  // namespace tastolink
