#include "link/serial_port_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <thread>

#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Reading = std::pair<ReadOutcome, std::string>;

// The call runs on a thread of its own, so that a port that hangs fails its test (nothing comes
// within a few seconds) instead of holding up the run.
template <class Call>
auto Started(Call call) {
    std::packaged_task<decltype(call())()> task(std::move(call));
    auto result = task.get_future();
    std::thread(std::move(task)).detach();
    return result;
}

template <class Result>
std::optional<Result> Within(std::future<Result> result) {
    if (result.wait_for(5s) != std::future_status::ready) return std::nullopt;
    return result.get();
}

auto Reads(std::shared_ptr<SerialPort> port) {
    return Started([port] {
        Reading reading;
        reading.first = port->Read(reading.second);
        return reading;
    });
}

PortFailure FailureOf(PortOpening opening) {
    if (auto* failure = std::get_if<PortFailure>(&opening)) return *failure;
    return {PortFailure::Kind::Other, -1, "it opened"};
}

const std::string kNoLockFolder = "/nonexistent";

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

    std::shared_ptr<SerialPort> Open(const std::string& lockFolder = kNoLockFolder) {
        PortOpening opening = PosixSerialPortOpener(115200, lockFolder).Open(slavePath);
        if (auto* port = std::get_if<std::unique_ptr<SerialPort>>(&opening)) return std::move(*port);
        ADD_FAILURE() << "the port did not open";
        return nullptr;
    }

    FileDescriptor phone;
    std::string slavePath;
    const std::string holder = "process " + std::to_string(getpid()) + " (tastolink_host_)";
};

// An XOFF from the phone neither vanishes nor stops the port's output; CR LF pass unchanged.
TEST_F(PosixSerialPortTest, TheLineIsRawBothWays) {
    auto port = Open();
    ASSERT_EQ(write(phone.Get(), "\x13\r\nRING\r\n", 9), 9);
    EXPECT_EQ(Within(Reads(port)), Reading(ReadOutcome::Received, "\x13\r\nRING\r\n"));
    EXPECT_EQ(Within(Started([port] { return port->Write("AT+CKPD=\"5\"\r\n"); })), WriteOutcome::Written);
    pollfd end{phone.Get(), POLLIN, 0};
    char line[16] = {};
    ASSERT_GT(poll(&end, 1, 5000), 0);
    EXPECT_EQ(read(phone.Get(), line, sizeof line), 13);
    EXPECT_STREQ(line, "AT+CKPD=\"5\"\r\n");
}

// A command line closes its port right after its last line: the line still reaches the phone
// whole. Only what a stalled phone left queued is thrown away at the close. The phone holds its
// end open, as the virtual phone does.
TEST_F(PosixSerialPortTest, ALineWrittenJustBeforeTheCloseStillReachesThePhone) {
    const FileDescriptor phoneHoldsItsEnd(open(slavePath.c_str(), O_RDWR | O_NOCTTY));
    int lost = 0;
    for (int run = 0; run < 200; ++run) {
        EXPECT_EQ(Open()->Write("AT+CKPD=\"5\"\r\n"), WriteOutcome::Written);
        pollfd end{phone.Get(), POLLIN, 0};
        char line[16];
        lost += !(poll(&end, 1, 200) > 0 && read(phone.Get(), line, sizeof line) == 13);
    }
    EXPECT_EQ(lost, 0);
}

TEST_F(PosixSerialPortTest, EachStopEndsOneReadWhetherItWaitsOrComesLater) {
    auto port = Open();
    auto waiting = Reads(port);
    std::this_thread::sleep_for(50ms);  // to stop a Read that waits; one that starts later ends alike
    port->StopReading();
    EXPECT_EQ(Within(std::move(waiting)), Reading(ReadOutcome::Stopped, ""));
    port->StopReading();
    port->StopReading();
    ASSERT_EQ(write(phone.Get(), "OK", 2), 2);
    for (const Reading& expected : {Reading(ReadOutcome::Stopped, ""), Reading(ReadOutcome::Stopped, ""),
                                    Reading(ReadOutcome::Received, "OK")})
        EXPECT_EQ(Within(Reads(port)), expected);
}

// Nobody reads the master end: the pseudo-terminal's buffer fills, as a stalled phone's would.
TEST_F(PosixSerialPortTest, AStalledPhoneFailsAWriteInsteadOfHoldingIt) {
    auto port = Open();
    EXPECT_EQ(Within(Started([port] {
                  WriteOutcome outcome = WriteOutcome::Written;
                  for (int lines = 0; lines < 4096 && outcome == WriteOutcome::Written; ++lines)
                      outcome = port->Write(std::string(1024, '5'));
                  return outcome;
              })),
              WriteOutcome::Failed);
}

TEST_F(PosixSerialPortTest, APhoneGoneIsLostToReadAndWrite) {
    auto port = Open();
    phone.Reset();
    EXPECT_EQ(Within(Started([port] { return port->Write("AT\r\n"); })), WriteOutcome::Lost);
    EXPECT_EQ(Within(Reads(port)), Reading(ReadOutcome::Lost, ""));
}

// A link to the device (as in /dev/serial/by-id) is the same port; the lock goes at the close.
TEST_F(PosixSerialPortTest, APortHeldIsBusyWithItsHolderNamedUntilItCloses) {
    const fs::path link = fs::temp_directory_path() / ("tastolink-by-id-" + std::to_string(getpid()));
    fs::create_symlink(slavePath, link);
    auto port = Open();
    const PortFailure busy = FailureOf(PosixSerialPortOpener(115200, kNoLockFolder).Open(link));
    EXPECT_EQ(std::pair(busy.kind, busy.holder), std::pair(PortFailure::Kind::Busy, holder));
    port.reset();
    EXPECT_TRUE(Open());
    fs::remove(link);
}

// "LCK..pts_3" for /dev/pts/3, with the process id in ten columns.
TEST_F(PosixSerialPortTest, ALiveProcesssLockFileHoldsThePortAndAGoneOnesIsTakenOver) {
    const fs::path folder = fs::temp_directory_path() / ("tastolink-locks-" + std::to_string(getpid()));
    fs::create_directory(folder);
    const fs::path lockFile = folder / ("LCK..pts_" + slavePath.substr(std::string("/dev/pts/").size()));
    auto lockOf = [](pid_t pid) {
        char text[16];
        return std::string(text, std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid)));
    };
    std::ofstream(lockFile) << lockOf(getpid());
    const PortFailure busy = FailureOf(PosixSerialPortOpener(115200, folder).Open(slavePath));
    EXPECT_EQ(std::pair(busy.kind, busy.holder), std::pair(PortFailure::Kind::Busy, holder));

    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    waitpid(gone, nullptr, 0);
    std::ofstream(lockFile) << lockOf(gone);
    auto port = Open(folder);
    std::ifstream taken(lockFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(taken), {}), lockOf(getpid()));
    port.reset();
    EXPECT_FALSE(fs::exists(lockFile));
    fs::remove_all(folder);
}

TEST_F(PosixSerialPortTest, WhatIsNoPortOrCannotBeSetIsRefusedWithItsReason) {
    const std::string keys = fs::temp_directory_path() / ("tastolink-keys-" + std::to_string(getpid()));
    std::ofstream(keys) << "0 M\n";
    const std::pair<std::string, PortFailure::Kind> cases[] = {
        {"/nonexistent/ttyACM0", PortFailure::Kind::Absent},
        {keys, PortFailure::Kind::NotADevice},
        {"/dev/null", PortFailure::Kind::NotADevice},
        {"/", PortFailure::Kind::NotADevice}};
    for (const auto& [name, kind] : cases)
        EXPECT_EQ(FailureOf(PosixSerialPortOpener().Open(name)).kind, kind) << name;
    EXPECT_EQ(FailureOf(PosixSerialPortOpener(12345, kNoLockFolder).Open(slavePath)).kind,
              PortFailure::Kind::Refused);
    fs::remove(keys);
}

}  // namespace
}  // namespace tastolink
