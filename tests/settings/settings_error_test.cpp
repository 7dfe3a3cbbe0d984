#include "settings/settings_error.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

TEST(FileErrorMessages, NameTheFullPathAndTheTrimmedReason) {
    EXPECT_EQ(
        CannotOpenFileMessage("C:\\Tastolink", "Items.itm", "The system cannot find the file specified.\r\n"),
        "Cannot open file \"C:\\Tastolink\\Items.itm\". The system cannot find the file specified");
    EXPECT_EQ(CannotCreateFileMessage("D:\\", "interval.int", "Access denied. . \t"),
              "Cannot create file \"D:\\interval.int\". Access denied");
    EXPECT_EQ(TrimSystemErrorText("No. 5 failed"), "No. 5 failed");
    EXPECT_EQ(TrimSystemErrorText(" ...\r\n"), "");
}

}  // namespace
}  // namespace tastolink
