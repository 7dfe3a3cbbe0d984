#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keypad_line.h"
#include "link/phone_key_table.h"

namespace tastolink::virtual_phone {
namespace {

using Lines = std::vector<std::string>;

TEST(VirtualPhoneLines, EveryRowsCommandPressesThatRow) {
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const std::string line = KeypadCommand(kPhoneKeyTable[row]);
        EXPECT_EQ(RowOfLine(line), row) << line;
        EXPECT_EQ(RowOfLine(line.substr(0, line.size() - 2) + "\n"), row) << "LF alone ends a line too";
    }
}

class VirtualPhoneBadLine : public testing::TestWithParam<std::string> {};

TEST_P(VirtualPhoneBadLine, PressesNothing) { EXPECT_EQ(RowOfLine(GetParam()), std::nullopt); }

INSTANTIATE_TEST_SUITE_P(
    NotAKeypadCommand, VirtualPhoneBadLine,
    testing::Values(std::string("AT+CKPD=\"5\""),           // no line end
                    std::string("AT+CKPD=\"5\"\r"),         // CR without LF
                    std::string("AT+CKPD=\"5\"\r\r\n"),     // the CR doubled by a cooked terminal
                    std::string("AT+CKPD=\"5\" \r\n"),      // trailing blank
                    std::string(" AT+CKPD=\"5\"\r\n"),      // leading blank
                    std::string("at+ckpd=\"5\"\r\n"),       // the program sends upper case only
                    std::string("AT+CKPD=5\r\n"),           // quotes missing
                    std::string("AT+CKPD=\"5\r\n"),         // closing quote missing
                    std::string("AT+CKPD=\"\r\n"),          // opening quote only
                    std::string("AT+CKPD=\"\"\r\n"),        // no code
                    std::string("AT+CKPD=\"12\"\r\n"),      // two keys in one line
                    std::string("AT+CKPD=\":\"\r\n"),       // colon without its key
                    std::string("AT+CKPD=\":Z\"\r\n"),      // colon code of no row
                    std::string("AT+CKPD=\"u\"\r\n"),       // codes are case-sensitive
                    std::string("AT+CKPD=\"5\"\r\nX\r\n"),  // two lines glued together
                    std::string("AT+CKPD=\"\0\"\r\n", 14),  // NUL as the code
                    std::string("\r\n"), std::string("")));

TEST(VirtualPhoneLines, SplitsAtLineFeedKeepingEveryByte) {
    LineSplitter splitter;
    EXPECT_EQ(splitter.Feed("AT+CKPD=\"1\"\r"), Lines{});
    EXPECT_EQ(splitter.Feed("\nAT+CKPD=\":T\"\nAT+CK"), (Lines{"AT+CKPD=\"1\"\r\n", "AT+CKPD=\":T\"\n"}));
    EXPECT_EQ(splitter.Pending(), "AT+CK");
    EXPECT_EQ(splitter.Feed("PD=\"#\"\r\n\r\n"), (Lines{"AT+CKPD=\"#\"\r\n", "\r\n"}));
    EXPECT_EQ(splitter.Pending(), "");
}

TEST(VirtualPhoneLines, TakesAnEndlessLineInBoundedPieces) {
    LineSplitter splitter;
    const Lines lines = splitter.Feed(std::string(kLongestLine * 2 + 3, 'A'));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), kLongestLine);
    EXPECT_EQ(lines[1].size(), kLongestLine);
    EXPECT_EQ(splitter.Pending(), "AAA");
}

TEST(VirtualPhoneLines, NamesNumberKeysByTheirSignAndOthersByTheLabelWithoutDots) {
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[4]), "5");
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[9]), "0");
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[10]), "*");
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[11]), "#");
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[14]), "Вверх");
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[16]), "Центр");  // code ":0" is not the number key 0
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[17]), "Soft-Левая");
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[22]), "Звук выше");
    EXPECT_EQ(ShownKeyName(kPhoneKeyTable[25]), "Smart-кнопка");
    for (const PhoneKey& key : kPhoneKeyTable) {
        EXPECT_FALSE(ShownKeyName(key).empty());
        EXPECT_FALSE(ShownKeyName(key).ends_with('.')) << key.label;
    }
}

TEST(VirtualPhoneLines, LogLineCarriesTimeRawBytesAndRowNumber) {
    EXPECT_EQ(LogLine(12345, "AT+CKPD=\":1\"\r\n", 24), "12345 41542b434b50443d223a31220d0a 25");
    EXPECT_EQ(LogLine(7, "\x01\xff\n", std::nullopt), "7 01ff0a -");
}

TEST(VirtualPhoneLines, PrintableEscapesControlBytesAndQuotes) {
    EXPECT_EQ(Printable("AT+CKPD=\"5\"\r\n"), "AT+CKPD=\\\"5\\\"\\r\\n");
    EXPECT_EQ(Printable(std::string("a\0\\\x7f\xd0", 5)), "a\\x00\\\\\\x7f\\xd0");
}

}  // namespace
}  // namespace tastolink::virtual_phone
