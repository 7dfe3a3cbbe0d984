#include "settings/settings_files_posix.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "shared/file_descriptor_posix.h"

namespace tastolink {
namespace {

std::string Reason(int error) { return std::strerror(error); }

[[noreturn]] void ThrowCannot(const char* what, const std::string& name, int error) {
    const std::string message = std::string(what) + " \"" + name + "\". " + Reason(error);
    if (error == ENOENT) throw SettingsFileMissing(message, Reason(error));
    throw SettingsError(message, Reason(error));
}

// Writes every byte, or gives the error that stopped it.
int WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return written < 0 ? errno : ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

class PosixGrowingFile : public GrowingFile {
public:
    explicit PosixGrowingFile(FileDescriptor file) : file_(std::move(file)) {}
    void Append(std::string_view bytes) override {
        if (const int error = WriteAll(file_.Get(), bytes)) throw SettingsError(Reason(error), Reason(error));
    }

private:
    FileDescriptor file_;
};

}  // namespace

std::string PosixSettingsFiles::Read(const std::string& name) {
    FileDescriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file) ThrowCannot("Cannot open file", name, errno);
    std::string content;
    char chunk[65536];
    for (;;) {
        const ssize_t read = ::read(file.Get(), chunk, sizeof chunk);
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) ThrowCannot("Cannot open file", name, errno);
        if (read == 0) return content;
        content.append(chunk, static_cast<std::size_t>(read));
    }
}

// The new content goes to a file of its own beside the target and is renamed over it, so that a
// failed save leaves the previous file whole.
void PosixSettingsFiles::Write(const std::string& name, std::string_view bytes) {
    const std::string temporary = name + "." + std::to_string(::getpid()) + ".tmp";
    FileDescriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file) ThrowCannot("Cannot create file", name, errno);
    int error = WriteAll(file.Get(), bytes);
    if (!error && ::fsync(file.Get()) != 0) error = errno;
    file.Reset();
    if (!error && ::rename(temporary.c_str(), name.c_str()) != 0) error = errno;
    if (!error) return;
    ::unlink(temporary.c_str());
    if (error == ENOSPC) throw SettingsError(std::string(kStreamWriteError), Reason(error));
    ThrowCannot("Cannot create file", name, error);
}

std::unique_ptr<GrowingFile> PosixSettingsFiles::Create(const std::string& name) {
    FileDescriptor file(::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file) ThrowCannot("Cannot create file", name, errno);
    return std::make_unique<PosixGrowingFile>(std::move(file));
}

std::string PosixSettingsFiles::DisplayText(std::string_view fileText) const { return std::string(fileText); }

}  // namespace tastolink
