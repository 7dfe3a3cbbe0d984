#include "link/phone_key_table.h"

namespace tastolink {

std::string KeypadCommand(const PhoneKey& key) {
    std::string line = "AT+CKPD=\"";
    line += key.code;
    line += "\"\r\n";
    return line;
}

std::string LongPressCommand(const PhoneKey& key) {
    std::string line = "AT+CKPD=\"";
    line += key.code;
    line += "\",";
    line += std::to_string(kLongPressTenths);
    line += "\r\n";
    return line;
}

int RowOfKeypadButton(int speedButtonNumber) {
    for (int row = 0; row < kPhoneKeyCount; ++row)
        if (kPhoneKeyTable[row].keypadButton == speedButtonNumber) return row;
    return -1;
}

}  // namespace tastolink
