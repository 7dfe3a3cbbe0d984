#include "settings/settings_files_win32.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

#include "settings/settings_error.h"
#include "shared/handles_win32.h"
#include "shared/system_error_text_win32.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

std::string WorkingDirectory() {
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    std::wstring directory(length, L'\0');
    length = GetCurrentDirectoryW(length, directory.data());
    directory.resize(length);
    return Utf8FromWide(directory);
}

[[noreturn]] void ThrowCannotOpen(const std::string& name, DWORD error) {
    const std::string reason = SystemErrorText(error);
    std::string message = CannotOpenFileMessage(WorkingDirectory(), name, reason);
    if (error == ERROR_FILE_NOT_FOUND) throw SettingsFileMissing(message, reason);
    throw SettingsError(message, reason);
}

[[noreturn]] void ThrowCannotCreate(const std::string& name, DWORD error) {
    const std::string reason = SystemErrorText(error);
    throw SettingsError(CannotCreateFileMessage(WorkingDirectory(), name, reason), reason);
}

// A temporary file is named "<target>.<process id>-<counter>.tmp".
bool IsTemporaryFileName(std::wstring_view name, std::wstring_view target) {
    if (name.size() <= target.size() + 5 || !name.starts_with(target) || !name.ends_with(L".tmp"))
        return false;
    name = name.substr(target.size(), name.size() - target.size() - 4);
    const std::size_t dash = name.find(L'-');
    auto digits = [](std::wstring_view part) {
        return !part.empty() && part.find_first_not_of(L"0123456789") == std::wstring_view::npos;
    };
    return name[0] == L'.' && dash != std::wstring_view::npos && digits(name.substr(1, dash - 1)) &&
           digits(name.substr(dash + 1));
}

// Removes the temporary files that a save cut short (a crash, a power cut) left next to the
// target. One that another running copy of the program is still writing is open without
// sharing, so it can't be deleted and stays.
void RemoveStaleTemporaryFiles(const std::wstring& target) {
    WIN32_FIND_DATAW found;
    const SearchHandle search(FindFirstFileW((target + L".*.tmp").c_str(), &found));
    if (!search) return;
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring directory = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring_view targetName = std::wstring_view(target).substr(directory.size());
    do {
        if (IsTemporaryFileName(found.cFileName, targetName))
            DeleteFileW((directory + found.cFileName).c_str());
    } while (FindNextFileW(search.Get(), &found));
}

// The new content goes to a file of its own next to the target, so that a failed save
// leaves the previous file whole. It is removed unless it has replaced the target.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::wstring& target) {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter++) + L".tmp";
            handle_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
            if (handle_) return;
            error_ = GetLastError();
            if (error_ != ERROR_FILE_EXISTS && error_ != ERROR_ALREADY_EXISTS) break;
        }
        path_.clear();
    }
    ~TemporaryFile() {
        handle_.Reset();
        if (!path_.empty()) DeleteFileW(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool created() const { return !path_.empty(); }
    DWORD error() const { return error_; }

    // False unless every byte reached the disk.
    bool WriteAll(std::string_view bytes) {
        while (!bytes.empty()) {
            DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
            DWORD written = 0;
            if (!WriteFile(handle_.Get(), bytes.data(), chunk, &written, nullptr) || written == 0)
                return false;
            bytes.remove_prefix(written);
        }
        return FlushFileBuffers(handle_.Get()) != 0;
    }

    // Closes the file and moves it over the target; the error code on failure.
    DWORD Replace(const std::wstring& target) {
        handle_.Reset();
        if (!MoveFileExW(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return GetLastError();
        path_.clear();
        return ERROR_SUCCESS;
    }

private:
    std::wstring path_;
    FileHandle handle_;
    DWORD error_ = ERROR_SUCCESS;
};

class Win32GrowingFile : public GrowingFile {
public:
    explicit Win32GrowingFile(HANDLE file) : file_(file) {}
    void Append(std::string_view bytes) override {
        DWORD written = 0;
        if (WriteFile(file_.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size())
            return;
        // A disk that fills up takes part of the piece, or none, and says nothing.
        const std::string reason = SystemErrorText(written == 0 ? GetLastError() : ERROR_DISK_FULL);
        throw SettingsError(reason, reason);
    }

private:
    FileHandle file_;
};

}  // namespace

std::unique_ptr<GrowingFile> Win32SettingsFiles::Create(const std::string& name) {
    HANDLE file = CreateFileW(WideFromUtf8(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) ThrowCannotCreate(name, GetLastError());
    return std::make_unique<Win32GrowingFile>(file);
}

std::string Win32SettingsFiles::Read(const std::string& name) {
    const FileHandle file(CreateFileW(WideFromUtf8(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowCannotOpen(name, GetLastError());
    std::string content;
    char chunk[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr)) ThrowCannotOpen(name, GetLastError());
        if (read == 0) break;
        content.append(chunk, read);
    }
    return content;
}

void Win32SettingsFiles::Write(const std::string& name, std::string_view bytes) {
    const std::wstring target = WideFromUtf8(name);
    // Windows refuses to replace a read-only file, but Wine does not: refuse it here on both.
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ThrowCannotCreate(name, ERROR_ACCESS_DENIED);

    RemoveStaleTemporaryFiles(target);
    TemporaryFile temporary(target);
    if (!temporary.created()) ThrowCannotCreate(name, temporary.error());
    if (!temporary.WriteAll(bytes)) throw SettingsError(std::string(kStreamWriteError));
    if (DWORD error = temporary.Replace(target); error != ERROR_SUCCESS) ThrowCannotCreate(name, error);
}

std::string Win32SettingsFiles::DisplayText(std::string_view fileText) const {
    return Utf8FromWide(WideFromAnsi(fileText));
}

}  // namespace tastolink
