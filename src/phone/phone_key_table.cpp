#include "phone/phone_key_table.h"

#include "phone/keypad_press.h"

namespace tastolink {
namespace {

// How many rows name `number` as their keypad button, or as one of their selectors.
constexpr int RowsWithButton(int number) {
    int rows = 0;
    for (const PhoneKey& key : kPhoneKeyTable) rows += key.keypadButton == number;
    return rows;
}
constexpr int RowsWithSelector(int number) {
    int rows = 0;
    for (const PhoneKey& key : kPhoneKeyTable)
        rows += (key.mainSelector == number) + (key.altSelector == number);
    return rows;
}
constexpr bool EachButtonOnce() {
    for (int button = 1; button <= kPhoneKeyCount; ++button)
        if (RowsWithButton(button) != 1) return false;
    return true;
}
constexpr bool EachSelectorOnce() {
    for (int number = 1; number <= kSelectorCount; ++number)
        if (RowsWithSelector(number) != (number == kPortSelectorNumber ? 0 : 1)) return false;
    return true;
}
static_assert(EachButtonOnce(), "each SpeedButton1..26 belongs to exactly one row");
static_assert(EachSelectorOnce(), "each ComboBox1..53 but the port selector belongs to exactly one row");

}  // namespace

std::string KeypadCommand(const PhoneKey& key) { return CommandOf({0, std::string(key.code), std::nullopt}); }

std::string LongPressCommand(const PhoneKey& key) {
    return CommandOf({0, std::string(key.code), kLongPressTenths});
}

std::string_view RowName(const PhoneKey& key) {
    std::string_view name = key.label;
    while (name.ends_with('.')) name.remove_suffix(1);
    return name;
}

int RowNamed(std::string_view fileName) {
    for (int row = 0; row < kPhoneKeyCount; ++row)
        if (kPhoneKeyTable[row].fileName == fileName) return row;
    return -1;
}

int RowOfKeypadButton(int speedButtonNumber) {
    for (int row = 0; row < kPhoneKeyCount; ++row)
        if (kPhoneKeyTable[row].keypadButton == speedButtonNumber) return row;
    return -1;
}

}  // namespace tastolink
