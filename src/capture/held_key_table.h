#pragma once

#include <array>
#include <cstdint>

#include "capture/pc_key_table.h"

namespace tastolink {

// Which of the 58 bindable keys are down right now, in PcKey order.
class HeldKeyTable {
public:
    void KeyDown(std::uint16_t code);
    void KeyUp(std::uint16_t code);
    // Forgets every key: used when the window can no longer see key-ups.
    void ReleaseAll();

    bool IsHeld(int index) const { return held_[index] != 0; }
    bool AnyHeld() const;

private:
    std::array<std::uint8_t, kPcKeyCount> held_{};
};

}  // namespace tastolink
