#include "settings/settings_files_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

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
        quotedPath_ = "\"" + fs::current_path().string() + "\\";  // an ASCII path: no conversion needed
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

    const fs::path previous_ = fs::current_path();
    const fs::path directory_ =
        fs::temp_directory_path() / ("tastolink-settings-" + std::to_string(GetCurrentProcessId()));
    std::string quotedPath_;
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

// Wine replaces a read-only file without complaint; the program must refuse it itself.
TEST_F(Win32SettingsFilesTest, ReadOnlyTargetIsRefusedAndKeptAndMessagesNameTheFullPath) {
    files.Write("interval.int", "250\r\n");
    ASSERT_TRUE(SetFileAttributesW(L"interval.int", FILE_ATTRIBUTE_READONLY));
    const std::string refused = ErrorOf([&] { files.Write("interval.int", "new"); });
    EXPECT_EQ(refused.rfind("Cannot create file " + quotedPath_ + "interval.int\". ", 0), 0u) << refused;
    EXPECT_EQ(files.Read("interval.int"), "250\r\n");
    EXPECT_EQ(Listing(), std::set<std::string>{"interval.int"});

    EXPECT_THROW(files.Read("Items.itm"), SettingsFileMissing);
    const std::string missing = ErrorOf([&] { files.Read("Items.itm"); });
    EXPECT_EQ(missing.rfind("Cannot open file " + quotedPath_ + "Items.itm\". ", 0), 0u) << missing;
    EXPECT_TRUE(missing.back() != '.' && static_cast<unsigned char>(missing.back()) > ' ')
        << "trimmed reason";
}

}  // namespace
}  // namespace tastolink
