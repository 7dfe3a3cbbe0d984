#include "shared/system_error_text_win32.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

// A code of the application's own range, which the system has no text for.
TEST(SystemErrorText, NamesTheCodeWhereTheSystemHasNoText) {
    EXPECT_EQ(SystemErrorText(0x20001234), "ошибка 536875572");
}

}  // namespace
}  // namespace tastolink
