#pragma once

#include <string>
#include <utility>
#include <variant>

#include "link/serial_port.h"

namespace tastolink {

// Where serial ports' UUCP lock files live (/var/lock leads there on today's systems).
inline constexpr const char* kLockFolder = "/run/lock";

// A serial port held by this process, with two locks. flock on the open device is the kernel's:
// it belongs to the device itself, so that a /dev/serial/by-id link and the device it leads to
// are one lock, and it goes when its process dies, so that it never goes stale. The UUCP lock
// file ("LCK..ttyACM0" with the process id in ten digits) is for the older tools that look for
// one (cu, minicom); where the folder is missing or not ours to write, flock alone holds the port.
class PortLock {
public:
    // Locks the device open as `device`, whose real path (links resolved) is `devicePath`. A port
    // that another process holds is Busy, with that process named.
    static std::variant<PortLock, PortFailure> Take(int device, const std::string& devicePath,
                                                    const std::string& lockFolder);
    PortLock(PortLock&& other) noexcept : lockFile_(std::exchange(other.lockFile_, {})) {}
    PortLock& operator=(PortLock&&) = delete;
    // Removes the lock file; the flock goes with the device's descriptor.
    ~PortLock();

private:
    explicit PortLock(std::string lockFile) : lockFile_(std::move(lockFile)) {}
    std::string lockFile_;  // empty where flock alone holds the port
};

// Who holds the port at `devicePath`, as a Busy failure names it: "process 1234 (tastolink)";
// empty when nobody is known to (a port refused for its permissions).
std::string PortHolder(const std::string& devicePath, const std::string& lockFolder);

}  // namespace tastolink
