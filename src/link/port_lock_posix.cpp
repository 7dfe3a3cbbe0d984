#include "link/port_lock_posix.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

// "LCK..ttyACM0"; a device in a folder of /dev is named by its path there ("LCK..pts_3").
std::string LockFilePath(const std::string& devicePath, const std::string& lockFolder) {
    std::string name =
        devicePath.starts_with("/dev/") ? devicePath.substr(5) : devicePath.substr(devicePath.rfind('/') + 1);
    std::replace(name.begin(), name.end(), '/', '_');
    return lockFolder + "/LCK.." + name;
}

bool IsAlive(pid_t pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

// The process a lock file names; 0 for none or a damaged file, which holds nothing.
pid_t LockFileOwner(const std::string& lockFile) {
    std::ifstream file(lockFile);
    long pid = 0;
    if (!(file >> pid) || pid <= 0 || pid > 0x3fffffff) return 0;
    return static_cast<pid_t>(pid);
}

// The process that holds a lock on the device, as the kernel lists it ("1: FLOCK ADVISORY WRITE
// 1234 00:05:87 0 EOF", the file system's device numbers in hex); 0 for none.
pid_t KernelLockOwner(const std::string& devicePath) {
    struct stat device {};
    if (stat(devicePath.c_str(), &device) != 0) return 0;
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        if (line.find("->") != std::string::npos) continue;  // a process waiting for the lock
        std::istringstream fields(line);
        std::string field, previous;
        while (fields >> field) {
            unsigned fsMajor = 0, fsMinor = 0;
            unsigned long inode = 0;
            if (std::sscanf(field.c_str(), "%x:%x:%lu", &fsMajor, &fsMinor, &inode) == 3 &&
                fsMajor == major(device.st_dev) && fsMinor == minor(device.st_dev) &&
                inode == device.st_ino) {
                pid_t pid = 0;
                std::from_chars(previous.data(), previous.data() + previous.size(), pid);
                return pid;
            }
            previous = field;
        }
    }
    return 0;
}

std::string ProcessDescription(pid_t pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return "process " + std::to_string(pid) + (name.empty() ? "" : " (" + name + ")");
}

// Writes the lock file through a draft and a hard link, so that no process ever reads it half
// written, and takes over one whose process is gone. Gives the live process that holds it, or 0:
// then `taken` says whether this one does now (or the folder would not let it: no matter).
pid_t TakeLockFile(const std::string& lockFile, bool& taken) {
    taken = false;
    const std::string draft = lockFile + "." + std::to_string(getpid());
    FileDescriptor file(open(draft.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (!file) return 0;
    char text[16];
    const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(getpid()));
    const bool written = write(file.Get(), text, length) == length;
    file.Reset();
    pid_t holder = 0;
    for (int attempt = 0; written && attempt < 2 && !taken && holder == 0; ++attempt) {
        taken = link(draft.c_str(), lockFile.c_str()) == 0;
        if (taken || errno != EEXIST) break;
        const pid_t owner = LockFileOwner(lockFile);
        if (IsAlive(owner))
            holder = owner;
        else
            unlink(lockFile.c_str());
    }
    unlink(draft.c_str());
    return holder;
}

}  // namespace

std::string PortHolder(const std::string& devicePath, const std::string& lockFolder) {
    pid_t holder = LockFileOwner(LockFilePath(devicePath, lockFolder));
    if (!IsAlive(holder)) holder = KernelLockOwner(devicePath);
    return holder > 0 ? ProcessDescription(holder) : std::string();
}

std::variant<PortLock, PortFailure> PortLock::Take(int device, const std::string& devicePath,
                                                   const std::string& lockFolder) {
    // Any other failure of flock (a file system without it) leaves the lock file and TIOCEXCL.
    if (flock(device, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return PortFailure{PortFailure::Kind::Busy, EWOULDBLOCK, PortHolder(devicePath, lockFolder)};
    const std::string lockFile = LockFilePath(devicePath, lockFolder);
    bool taken = false;
    if (const pid_t holder = TakeLockFile(lockFile, taken))
        return PortFailure{PortFailure::Kind::Busy, EBUSY, ProcessDescription(holder)};
    return PortLock(taken ? lockFile : std::string());
}

PortLock::~PortLock() {
    if (!lockFile_.empty()) unlink(lockFile_.c_str());
}

}  // namespace tastolink
