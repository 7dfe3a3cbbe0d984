#include "link/serial_port_posix.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>
#include <utility>

#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

// A phone that never stops sending still lets each Read return, to be handed on.
constexpr std::size_t kMostBytesPerRead = 64 * 1024;

bool IsDeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV || error == EBADF || error == EPIPE;
}

PortFailure FailureOfOpen(int error, const std::string& devicePath, const std::string& lockFolder) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
            return {PortFailure::Kind::Absent, error, {}};
        case EBUSY:
        case EACCES:
        case EPERM:
            return {PortFailure::Kind::Busy, error, PortHolder(devicePath, lockFolder)};
        case EISDIR:
            return {PortFailure::Kind::NotADevice, error, {}};
        default:
            return {PortFailure::Kind::Other, error, {}};
    }
}

std::optional<speed_t> SpeedOf(unsigned baud) {
    // clang-format off
    static constexpr std::pair<unsigned, speed_t> kSpeeds[] = {
        {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},
        {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400}, {460800, B460800},
        {921600, B921600}, {1000000, B1000000}, {2000000, B2000000}, {3000000, B3000000}, {4000000, B4000000}};
    // clang-format on
    for (const auto& [rate, speed] : kSpeeds)
        if (rate == baud) return speed;
    return std::nullopt;
}

// Raw 8N1, no flow control of either kind: a phone's modem port answers nothing to XOFF, and an
// RTS/CTS line that no cable wires would stall every write.
int SetLine(int device, speed_t speed) {
    termios line{};
    if (tcgetattr(device, &line) != 0) return errno;
    cfmakeraw(&line);
    line.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_iflag &= ~(IXON | IXOFF | IXANY);
    // With O_NONBLOCK a read of nothing is then EAGAIN, and 0 means the line hung up.
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    if (cfsetispeed(&line, speed) != 0 || cfsetospeed(&line, speed) != 0) return errno;
    return tcsetattr(device, TCSANOW, &line) == 0 ? 0 : errno;
}

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort(FileDescriptor device, PortLock lock, FileDescriptor stopIn, FileDescriptor stopOut)
        : lock_(std::move(lock)),
          device_(std::move(device)),
          stopIn_(std::move(stopIn)),
          stopOut_(std::move(stopOut)) {}

    ~PosixSerialPort() override {
        // A pseudo-terminal keeps the exclusive mode past the close while its other end is open.
        ioctl(device_.Get(), TIOCNXCL);
        // A write returns once the kernel holds the line, so the last one may still be going out:
        // it gets the write bound to leave. What is left then is thrown away, since a close with
        // output queued waits for it to drain (up to 30 s on a serial port whose phone stalled).
        // Nothing queued, nothing is flushed: a pseudo-terminal counts none while its last line is
        // still on the way to the other end, and a flush would lose it there.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteBoundMs);
        int queued = 0;
        while (ioctl(device_.Get(), TIOCOUTQ, &queued) == 0 && queued > 0 &&
               std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (queued > 0) tcflush(device_.Get(), TCOFLUSH);
    }

    WriteOutcome Write(std::string_view bytes) override {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWriteBoundMs);
        while (!bytes.empty()) {
            const ssize_t written = write(device_.Get(), bytes.data(), bytes.size());
            if (written > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(written));
                continue;
            }
            if (written < 0 && errno == EINTR) continue;
            if (written < 0 && errno != EAGAIN)
                return IsDeviceGone(errno) ? WriteOutcome::Lost : WriteOutcome::Failed;
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd device{device_.Get(), POLLOUT, 0};
            const int ready = left.count() > 0 ? poll(&device, 1, static_cast<int>(left.count())) : 0;
            if (ready == 0) {
                // What is left of a line that failed must not reach the phone later, inside the next.
                tcflush(device_.Get(), TCOFLUSH);
                return WriteOutcome::Failed;
            }
            if (ready > 0 && (device.revents & (POLLHUP | POLLERR | POLLNVAL))) return WriteOutcome::Lost;
        }
        return WriteOutcome::Written;
    }

    ReadOutcome Read(std::string& into) override {
        for (;;) {
            pollfd waits[] = {{stopIn_.Get(), POLLIN, 0}, {device_.Get(), POLLIN, 0}};
            if (poll(waits, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return ReadOutcome::Lost;
            }
            char stop;
            if ((waits[0].revents & POLLIN) && read(stopIn_.Get(), &stop, 1) == 1)
                return ReadOutcome::Stopped;
            std::size_t appended = 0;
            bool ended = false;  // the line hung up or failed
            while (appended < kMostBytesPerRead) {
                char buffer[4096];
                const ssize_t got =
                    read(device_.Get(), buffer, std::min(sizeof buffer, kMostBytesPerRead - appended));
                if (got > 0) {
                    into.append(buffer, static_cast<std::size_t>(got));
                    appended += static_cast<std::size_t>(got);
                } else if (got < 0 && errno == EINTR) {
                    continue;
                } else {
                    ended = got == 0 || errno != EAGAIN;
                    break;
                }
            }
            // Bytes that came before the loss are handed on first; the next Read reports it.
            if (appended > 0) return ReadOutcome::Received;
            if (ended || (waits[1].revents & (POLLHUP | POLLERR | POLLNVAL))) return ReadOutcome::Lost;
        }
    }

    void StopReading() override {
        const char stop = 1;
        // A full pipe already holds more stops than any reader will wait for.
        [[maybe_unused]] const ssize_t ignored = write(stopOut_.Get(), &stop, 1);
    }

    void DiscardReceived() override { tcflush(device_.Get(), TCIFLUSH); }

private:
    PortLock lock_;  // released after the device is closed
    FileDescriptor device_;
    FileDescriptor stopIn_, stopOut_;  // one byte in this pipe for each StopReading not yet answered
};

}  // namespace

bool IsSerialSpeed(unsigned baud) { return SpeedOf(baud).has_value(); }

PortOpening PosixSerialPortOpener::Open(const std::string& portName) {
    const std::optional<speed_t> speed = SpeedOf(baud_);
    if (!speed) return PortFailure{PortFailure::Kind::Refused, EINVAL, {}};
    int stop[2];
    if (pipe2(stop, O_NONBLOCK | O_CLOEXEC) != 0) return PortFailure{PortFailure::Kind::Other, errno, {}};
    FileDescriptor stopIn(stop[0]), stopOut(stop[1]);
    // The locks belong to the device, not to the link that names it.
    char* resolved = realpath(portName.c_str(), nullptr);
    if (!resolved) return FailureOfOpen(errno, portName, lockFolder_);
    const std::string devicePath = resolved;
    std::free(resolved);

    FileDescriptor device(open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (!device) return FailureOfOpen(errno, devicePath, lockFolder_);
    // A file typed by mistake would be overwritten by command lines: only terminals are ports.
    if (!isatty(device.Get())) return PortFailure{PortFailure::Kind::NotADevice, ENOTTY, {}};
    auto locking = PortLock::Take(device.Get(), devicePath, lockFolder_);
    if (auto* failure = std::get_if<PortFailure>(&locking)) return *failure;
    if (const int error = SetLine(device.Get(), *speed))
        return PortFailure{PortFailure::Kind::Refused, error, {}};
    if (ioctl(device.Get(), TIOCEXCL) != 0) return PortFailure{PortFailure::Kind::Refused, errno, {}};
    // What the phone said before the port was ours answers nothing the program sent.
    tcflush(device.Get(), TCIFLUSH);
    return std::make_unique<PosixSerialPort>(std::move(device), std::move(std::get<PortLock>(locking)),
                                             std::move(stopIn), std::move(stopOut));
}

}  // namespace tastolink
