#include "settings/answers_switch.h"

#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace tastolink {
namespace {

TEST(AnswersSwitch, OnOnlyWhenItsOwnFileSaysSo) {
    FakeSettingsFiles files;
    EXPECT_FALSE(LoadAnswersSwitch(files));  // no file yet
    for (const char* damaged : {"", "0\r\n", "2\r\n", "1 ", "yes", "1\r\n1\r\n", "\xff\xfe"}) {
        files.files["answers.ini"] = damaged;
        EXPECT_FALSE(LoadAnswersSwitch(files)) << testing::PrintToString(damaged);
    }
    for (const char* on : {"1", "1\r\n", "1\n"}) {
        files.files["answers.ini"] = on;
        EXPECT_TRUE(LoadAnswersSwitch(files)) << on;
    }
}

TEST(AnswersSwitch, SavesOneLineToItsOwnFileOnly) {
    FakeSettingsFiles files;
    SaveAnswersSwitch(files, true);
    SaveAnswersSwitch(files, false);
    SaveAnswersSwitch(files, true);
    EXPECT_EQ(files.writes, (std::vector<std::string>{"answers.ini", "answers.ini", "answers.ini"}));
    EXPECT_EQ(files.files["answers.ini"], "1\r\n");
}

}  // namespace
}  // namespace tastolink
