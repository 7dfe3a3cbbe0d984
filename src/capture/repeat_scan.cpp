#include "capture/repeat_scan.h"

#include "phone/phone_key_table.h"

namespace tastolink {

void RunRepeatScan(const HeldKeyTable& held, const Selectors& selectors, const PressRow& press) {
    for (int row = 0; row < kPhoneKeyCount; ++row) {
        const PhoneKey& phoneKey = kPhoneKeyTable[row];
        for (int index = 0; index < kPcKeyCount; ++index) {
            // A press may open a modal box that releases keys, so flags are read at each check.
            if (!held.IsHeld(index)) continue;
            const std::string_view name = kPcKeys[index].keyName;
            if (selectors.Text(phoneKey.mainSelector) == name || selectors.Text(phoneKey.altSelector) == name)
                press(row);
        }
    }
}

}  // namespace tastolink
