#include "capture/held_key_table.h"

#include <algorithm>

namespace tastolink {

void HeldKeyTable::KeyDown(std::uint16_t code) {
    if (auto index = PcKeyIndexForCode(code)) held_[*index] = 1;
}

void HeldKeyTable::KeyUp(std::uint16_t code) {
    if (auto index = PcKeyIndexForCode(code)) held_[*index] = 0;
}

void HeldKeyTable::ReleaseAll() { held_.fill(0); }

bool HeldKeyTable::AnyHeld() const {
    return std::any_of(held_.begin(), held_.end(), [](std::uint8_t flag) { return flag != 0; });
}

}  // namespace tastolink
