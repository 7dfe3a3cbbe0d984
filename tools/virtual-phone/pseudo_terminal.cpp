#include "pseudo_terminal.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace tastolink::virtual_phone {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) Fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) Fail("grantpt/unlockpt");
    const char* name = ptsname(master_);
    if (name == nullptr) Fail("ptsname");
    slavePath_ = name;
    slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (slave_ < 0) Fail("open " + slavePath_);
    // An unconfigured pty is a cooked terminal: it would turn CR LF into CR CR LF, echo
    // our replies back to us and stop on XOFF. Raw mode passes every byte unchanged.
    termios mode{};
    if (tcgetattr(slave_, &mode) != 0) Fail("tcgetattr");
    cfmakeraw(&mode);
    mode.c_cc[VMIN] = 1;
    mode.c_cc[VTIME] = 0;
    if (tcsetattr(slave_, TCSANOW, &mode) != 0) Fail("tcsetattr");
    // A phone without flow control never waits for the PC: a reply that does not fit is lost.
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) Fail("fcntl O_NONBLOCK");
}

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
}

PortLink::PortLink(std::string path, std::string target)
    : path_(std::move(path)), target_(std::move(target)) {
    Make();
}

PortLink::~PortLink() {
    if (PointsAtTarget()) unlink(path_.c_str());
}

bool PortLink::Restore() {
    if (PointsAtTarget()) return false;
    Make();
    return true;
}

bool PortLink::PointsAtTarget() const {
    char buffer[4096];
    const ssize_t length = readlink(path_.c_str(), buffer, sizeof buffer);
    return length >= 0 && std::string(buffer, static_cast<std::size_t>(length)) == target_;
}

void PortLink::Make() {
    // Made beside the old link and renamed over it, so the name never dangles in between.
    const std::string temporary = path_ + ".virtual-phone." + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target_.c_str(), temporary.c_str()) != 0) Fail("symlink " + temporary);
    if (rename(temporary.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
        Fail("rename " + temporary + " to " + path_);
    }
}

}  // namespace tastolink::virtual_phone
