#include "settings/settings_files_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "settings/text_encoding.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

using namespace std::string_literals;
using Names = std::set<std::wstring>;

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
        workingDirectory_ = Utf8FromWide(buffer);
    }

    void TearDown() override {
        SetCurrentDirectoryW(previous_.c_str());
        for (const std::wstring& name : Listing()) {
            const std::wstring path = directory_ + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(directory_.c_str());
    }

    Names Listing() const {
        Names names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((directory_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            if (found.cFileName != L"."s && found.cFileName != L".."s) names.insert(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }

    // A refused write names the file and leaves it, and the directory, as they were.
    void ExpectRefusedWrite(const std::string& name) {
        const std::string before = files.Read(name);
        const Names listing = Listing();
        const std::string message = ErrorOf([&] { files.Write(name, "new"); });
        EXPECT_EQ(message.rfind("Cannot create file \"" + workingDirectory_ + "\\" + name + "\". ", 0), 0u)
            << message;
        EXPECT_EQ(files.Read(name), before);
        EXPECT_EQ(Listing(), listing);
    }

    Win32SettingsFiles files;
    std::wstring previous_, directory_;
    std::string workingDirectory_;
};

TEST_F(Win32SettingsFilesTest, WriteReplacesTheFileAndRemovesWhatACrashedSaveLeft) {
    for (const wchar_t* name :
         {L"itemindex.itm.4242-0.tmp", L"itemindex.itm.mine.tmp", L"interval.int.7-1.tmp"})
        CloseHandle(CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::string bytes = "line 0\r\n\xC0\xFF\0\r"s;
    files.Write("itemindex.itm", "old\r\n");
    files.Write("itemindex.itm", bytes);
    EXPECT_EQ(files.Read("itemindex.itm"), bytes);
    EXPECT_EQ(Listing(), (Names{L"itemindex.itm", L"itemindex.itm.mine.tmp", L"interval.int.7-1.tmp"}));
}

TEST_F(Win32SettingsFilesTest, MissingFileIsToldApartAndNamesItsFullPathAndTheReason) {
    try {
        files.Read("Items.itm");
        FAIL() << "read a missing file";
    } catch (const SettingsFileMissing& error) {
        const std::string message = error.what(),
                          prefix = "Cannot open file \"" + workingDirectory_ + "\\Items.itm\". ";
        ASSERT_EQ(message.substr(0, prefix.size()), prefix);
        ASSERT_GT(message.size(), prefix.size()) << "the system's reason follows";
        EXPECT_GT(static_cast<unsigned char>(message.back()), ' ');
        EXPECT_NE(message.back(), '.');
    }
    files.Write("Items.itm", "");
    EXPECT_EQ(files.Read("Items.itm"), "");
}

TEST_F(Win32SettingsFilesTest, ReadOnlyOrHeldOpenTargetIsRefusedAndKept) {
    files.Write("interval.int", "250\r\n");
    ASSERT_TRUE(SetFileAttributesW(L"interval.int", FILE_ATTRIBUTE_READONLY));
    ExpectRefusedWrite("interval.int");

    files.Write("itemindex.itm", "old");
    HANDLE holder = CreateFileW(L"itemindex.itm", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ExpectRefusedWrite("itemindex.itm");
    CloseHandle(holder);
}

}  // namespace
}  // namespace tastolink
