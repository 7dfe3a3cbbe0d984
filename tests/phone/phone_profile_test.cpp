#include "phone/phone_profile.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

// By row: the name of the button in phones.ini and its keys in "3GPP TS 27.007".
// clang-format off
constexpr std::pair<const char*, const char*> kGoldenButtons[] = {
    {"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}, {"5", "5"}, {"6", "6"}, {"7", "7"}, {"8", "8"},
    {"9", "9"}, {"0", "0"}, {"star", "*"}, {"hash", "#"}, {"left", "<"}, {"right", ">"}, {"up", "^"},
    {"down", "V"}, {"centre", ""}, {"soft1", "["}, {"soft2", "]"}, {"end", "E"}, {"send", "S"},
    {"menu", "M"}, {"volume_up", "U"}, {"volume_down", "D"}, {"camera", ""}, {"smart", ""},
};
// clang-format on

TEST(PhoneProfile, TheStandardProfileSendsTheStandardsKeysAndDisablesTheRest) {
    const PhoneProfile standard = BuiltInProfiles().at(1);
    ASSERT_EQ(standard.name, "3GPP TS 27.007");
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const auto [name, keys] = kGoldenButtons[row];
        EXPECT_EQ(RowNamed(name), row) << name;
        const auto expected =
            *keys ? std::optional("AT+CKPD=\"" + std::string(keys) + "\"\r\n") : std::nullopt;
        EXPECT_EQ(KeypadCommand(standard, row), expected) << name;
    }
    EXPECT_EQ(RowNamed("centre "), -1);
    EXPECT_EQ(LongPressCommand(standard, 14), "AT+CKPD=\"^\",20\r\n");
    EXPECT_EQ(LongPressCommand(standard, 16), std::nullopt);
    // A row past the table is no button, whatever the profile holds after its codes.
    PhoneProfile prepared = standard;
    prepared.preparation = {"AT+CMEC=2"};
    EXPECT_EQ(KeypadCommand(prepared, kPhoneKeyCount), std::nullopt);
}

}  // namespace
}  // namespace tastolink
