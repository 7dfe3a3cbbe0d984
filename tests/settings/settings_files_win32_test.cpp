#include "settings/settings_files_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "settings_test_support.h"

namespace tastolink {
namespace {

using namespace std::string_literals;

std::string Utf8(const std::wstring& wide) {
    int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(length, '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, text.data(), length, nullptr, nullptr);
    text.resize(length - 1);
    return text;
}

std::string SystemText(DWORD error) {
    wchar_t buffer[512] = {};
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, buffer, 512,
                   nullptr);
    return Utf8(buffer);
}

// Each test runs in a fresh directory of its own, made the working directory.
class Win32SettingsFilesTest : public testing::Test {
protected:
    void SetUp() override {
        wchar_t buffer[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, buffer);
        previous_ = buffer;
        GetTempPathW(MAX_PATH, buffer);
        directory_ = buffer + L"tastolink-settings-"s + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(GetTickCount64());
        ASSERT_TRUE(CreateDirectoryW(directory_.c_str(), nullptr));
        ASSERT_TRUE(SetCurrentDirectoryW(directory_.c_str()));
        GetCurrentDirectoryW(MAX_PATH, buffer);
        workingDirectory_ = Utf8(buffer);
    }

    void TearDown() override {
        SetCurrentDirectoryW(previous_.c_str());
        for (const std::wstring& name : Listing()) {
            std::wstring path = directory_ + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(directory_.c_str());
    }

    std::vector<std::wstring> Listing() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((directory_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (found.cFileName != L"."s && found.cFileName != L".."s) names.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    Win32SettingsFiles files;
    std::wstring previous_, directory_;
    std::string workingDirectory_;
};

TEST_F(Win32SettingsFilesTest, WriteReplacesTheFileAndReadReturnsEveryByte) {
    const std::string first = "old\r\n"s, second = "line 0\r\n\xC0\xFF\0\r"s;
    files.Write("itemindex.itm", first);
    files.Write("itemindex.itm", second);
    EXPECT_EQ(files.Read("itemindex.itm"), second);
    EXPECT_EQ(Listing(), std::vector<std::wstring>{L"itemindex.itm"});
    files.Write("itemindex.itm", "");
    EXPECT_EQ(files.Read("itemindex.itm"), "");
}

TEST_F(Win32SettingsFilesTest, MissingFileNamesItsFullPathAndTheReason) {
    const std::string message = ErrorOf([&] { files.Read("Items.itm"); });
    const std::string prefix = "Cannot open file \"" + workingDirectory_ + "\\Items.itm\". ";
    ASSERT_EQ(message.substr(0, prefix.size()), prefix);
    ASSERT_GT(message.size(), prefix.size()) << "the system's reason follows";
    EXPECT_NE(message.back(), '.');
    EXPECT_GT(static_cast<unsigned char>(message.back()), ' ');
}

TEST_F(Win32SettingsFilesTest, ReadOnlyTargetIsRefusedAndKept) {
    files.Write("interval.int", "250\r\n");
    ASSERT_TRUE(SetFileAttributesW(L"interval.int", FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(ErrorOf([&] { files.Write("interval.int", "100\r\n"); }),
              CannotCreateFileMessage(workingDirectory_, "interval.int", SystemText(ERROR_ACCESS_DENIED)));
    EXPECT_EQ(files.Read("interval.int"), "250\r\n");
    EXPECT_EQ(Listing(), std::vector<std::wstring>{L"interval.int"});
}

TEST_F(Win32SettingsFilesTest, TargetHeldOpenIsRefusedAndKept) {
    files.Write("itemindex.itm", "old");
    HANDLE holder = CreateFileW(L"itemindex.itm", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::string message = ErrorOf([&] { files.Write("itemindex.itm", "new"); });
    CloseHandle(holder);

    const std::string prefix = "Cannot create file \"" + workingDirectory_ + "\\itemindex.itm\". ";
    EXPECT_EQ(message.substr(0, prefix.size()), prefix);
    EXPECT_EQ(files.Read("itemindex.itm"), "old");
    EXPECT_EQ(Listing(), std::vector<std::wstring>{L"itemindex.itm"});
}

}  // namespace
}  // namespace tastolink
