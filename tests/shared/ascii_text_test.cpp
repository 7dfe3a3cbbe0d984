#include "shared/ascii_text.h"

#include <gtest/gtest.h>

namespace tastolink {

TEST(AsciiText, TrimsOnlySpacesAndTabs) {
    EXPECT_EQ(TrimmedBlanks(" \t a \tb\t "), "a \tb");
    EXPECT_EQ(TrimmedBlanks("\r\na\n"), "\r\na\n");
    EXPECT_EQ(TrimmedBlanks(" \t "), "");
}

TEST(AsciiText, IgnoresTheCaseOfLatinLettersOnly) {
    EXPECT_TRUE(EqualIgnoringAsciiCase("At+cMec", "aT+CmEC"));
    EXPECT_FALSE(EqualIgnoringAsciiCase("@[\\]^_", "`{|}~\x7F"));
    EXPECT_FALSE(EqualIgnoringAsciiCase("Ü", "ü"));
    EXPECT_FALSE(EqualIgnoringAsciiCase("AT", "AT "));
    EXPECT_EQ(AsciiUppercase("com7 `az{ Ёё"), "COM7 `AZ{ Ёё");
}

}  // namespace tastolink
