#include "settings/settings_files_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "settings/text_encoding.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// Each test runs in a fresh directory of its own, made the working directory.
class Win32SettingsFilesTest : public testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(directory_);
        fs::current_path(directory_);
        workingDirectory_ = Utf8FromWide(fs::current_path().wstring());
    }
    void TearDown() override {
        fs::current_path(previous_);
        for (const auto& entry : fs::directory_iterator(directory_))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(directory_);
    }

    std::set<std::string> Listing() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory_))
            names.insert(entry.path().filename().string());
        return names;
    }

    // A refused write names the file and leaves it, and the directory, as they were.
    void ExpectRefusedWrite(const std::string& name) {
        const std::string before = files.Read(name);
        const auto listing = Listing();
        const std::string message = ErrorOf([&] { files.Write(name, "new"); });
        EXPECT_EQ(message.rfind("Cannot create file \"" + workingDirectory_ + "\\" + name + "\". ", 0), 0u)
            << message;
        EXPECT_EQ(files.Read(name), before);
        EXPECT_EQ(Listing(), listing);
    }

    const fs::path previous_ = fs::current_path();
    const fs::path directory_ =
        fs::temp_directory_path() / ("tastolink-settings-" + std::to_string(GetCurrentProcessId()));
    std::string workingDirectory_;
    Win32SettingsFiles files;
};

TEST_F(Win32SettingsFilesTest, WriteReplacesTheFileAndRemovesWhatACrashedSaveLeft) {
    for (const char* name : {"itemindex.itm.4242-0.tmp", "itemindex.itm.mine.tmp", "interval.int.7-1.tmp"})
        std::ofstream{name};
    const std::string bytes = "line 0\r\n\xC0\xFF\0\r"s;
    files.Write("itemindex.itm", "old\r\n");
    files.Write("itemindex.itm", bytes);
    EXPECT_EQ(files.Read("itemindex.itm"), bytes);
    EXPECT_EQ(Listing(),
              (std::set<std::string>{"itemindex.itm", "itemindex.itm.mine.tmp", "interval.int.7-1.tmp"}));
}

TEST_F(Win32SettingsFilesTest, MissingFileIsToldApartAndNamesItsFullPathAndTheReason) {
    EXPECT_THROW(files.Read("Items.itm"), SettingsFileMissing);
    const std::string message = ErrorOf([&] { files.Read("Items.itm"); });
    const std::string prefix = "Cannot open file \"" + workingDirectory_ + "\\Items.itm\". ";
    EXPECT_EQ(message.rfind(prefix, 0), 0u) << message;
    EXPECT_GT(message.size(), prefix.size()) << "the system's reason follows";
    EXPECT_TRUE(message.back() != '.' && static_cast<unsigned char>(message.back()) > ' ') << message;
}

TEST_F(Win32SettingsFilesTest, ReadOnlyOrHeldOpenTargetIsRefusedAndKept) {
    files.Write("interval.int", "250\r\n");
    ASSERT_TRUE(SetFileAttributesW(L"interval.int", FILE_ATTRIBUTE_READONLY));
    ExpectRefusedWrite("interval.int");

    files.Write("itemindex.itm", "");
    HANDLE holder = CreateFileW(L"itemindex.itm", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ExpectRefusedWrite("itemindex.itm");
    CloseHandle(holder);
}

}  // namespace
}  // namespace tastolink
