#include "phone/phone_key_table.h"

#include <gtest/gtest.h>

#include <tuple>

#include "phone/key_names.h"
#include "phone/phone_profile.h"

namespace tastolink {

// The 26 rows in scan order: ComboBox numbers, SpeedButton number and the bytes sent under
// "Обычный", which are the program's of old.
// clang-format off
constexpr std::tuple<int, int, int, const char*> kGoldenRows[] = {
    {1, 11, 8, "AT+CKPD=\"1\"\r\n"},     {2, 12, 9, "AT+CKPD=\"2\"\r\n"},
    {3, 13, 10, "AT+CKPD=\"3\"\r\n"},    {4, 14, 11, "AT+CKPD=\"4\"\r\n"},
    {5, 15, 12, "AT+CKPD=\"5\"\r\n"},    {6, 16, 13, "AT+CKPD=\"6\"\r\n"},
    {7, 17, 14, "AT+CKPD=\"7\"\r\n"},    {8, 18, 15, "AT+CKPD=\"8\"\r\n"},
    {9, 19, 16, "AT+CKPD=\"9\"\r\n"},    {10, 20, 18, "AT+CKPD=\"0\"\r\n"},
    {21, 31, 17, "AT+CKPD=\"*\"\r\n"},   {22, 32, 19, "AT+CKPD=\"#\"\r\n"},
    {23, 33, 4, "AT+CKPD=\":L\"\r\n"},   {24, 34, 6, "AT+CKPD=\":R\"\r\n"},
    {25, 35, 2, "AT+CKPD=\":X\"\r\n"},   {26, 36, 7, "AT+CKPD=\":C\"\r\n"},
    {27, 37, 5, "AT+CKPD=\":0\"\r\n"},   {28, 38, 1, "AT+CKPD=\"[\"\r\n"},
    {29, 39, 3, "AT+CKPD=\"]\"\r\n"},    {30, 40, 21, "AT+CKPD=\"E\"\r\n"},
    {41, 42, 20, "AT+CKPD=\"S\"\r\n"},   {43, 44, 22, "AT+CKPD=\"M\"\r\n"},
    {46, 47, 23, "AT+CKPD=\"U\"\r\n"},   {48, 49, 24, "AT+CKPD=\"D\"\r\n"},
    {50, 51, 26, "AT+CKPD=\":1\"\r\n"},  {52, 53, 25, "AT+CKPD=\":T\"\r\n"},
};
// clang-format on

TEST(PhoneKeyTable, EachRowSendsItsLineFromItsButtonAndSelectors) {
    ASSERT_EQ(std::size(kGoldenRows), static_cast<std::size_t>(kPhoneKeyCount));
    const PhoneProfile ordinary = BuiltInProfiles().at(0);
    ASSERT_EQ(ordinary.name, "Обычный");
    EXPECT_TRUE(ordinary.preparation.empty());
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const auto [mainSelector, altSelector, keypadButton, line] = kGoldenRows[row];
        EXPECT_EQ(KeypadCommand(ordinary, row), line) << "row " << row + 1;
        EXPECT_EQ(kPhoneKeyTable[row].mainSelector, mainSelector) << "row " << row + 1;
        EXPECT_EQ(kPhoneKeyTable[row].altSelector, altSelector) << "row " << row + 1;
        EXPECT_EQ(RowOfKeypadButton(keypadButton), row) << "SpeedButton" << keypadButton;
    }
    EXPECT_EQ(RowOfKeypadButton(0), -1);
    EXPECT_EQ(RowOfKeypadButton(27), -1);
}

// The status line names a key by its own sign where it has one, else by its row; a code no row
// sends is named as it is written.
TEST(PhoneKeyTable, KeysAreNamedAsTheStatusLineShowsThemAndHeldLong) {
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[4]), "AT+CKPD=\"5\",20\r\n");
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[25]), "AT+CKPD=\":T\",20\r\n");
    EXPECT_EQ(KeyName(kPhoneKeyTable[10]), "*");
    EXPECT_EQ(KeyName(kPhoneKeyTable[19], true), "Красная долго");
    EXPECT_EQ(KeyNameOfCode(":L"), "Влево");
    EXPECT_EQ(KeyNameOfCode("0", true), "0 долго");
    EXPECT_EQ(KeyNameOfCode("^"), "^");
    const auto standardCodes = BuiltInProfiles().at(1).codes;
    EXPECT_EQ(KeyNameOfCode("^", standardCodes), "Вверх");
    EXPECT_EQ(KeyNameOfCode(":X", standardCodes), ":X");
}

}  // namespace tastolink
