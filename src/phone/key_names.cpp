#include "phone/key_names.h"

namespace tastolink {

std::string KeyName(const PhoneKey& key, bool longPress) {
    const bool ownSign =
        key.code.size() == 1 && std::string_view("0123456789*#").find(key.code[0]) != std::string_view::npos;
    return std::string(ownSign ? key.code : RowName(key)) + (longPress ? " долго" : "");
}

std::string KeyNameOfCode(std::string_view code, bool longPress) {
    for (const PhoneKey& key : kPhoneKeyTable)
        if (key.code == code) return KeyName(key, longPress);
    return std::string(code) + (longPress ? " долго" : "");
}

std::string KeyNameOfCode(std::string_view code, const std::array<std::string, kPhoneKeyCount>& rowCodes) {
    for (int row = 0; row < kPhoneKeyCount; ++row)
        if (rowCodes[row] == code) return KeyName(kPhoneKeyTable[row]);
    return std::string(code);
}

}  // namespace tastolink
