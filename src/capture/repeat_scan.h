#pragma once

#include <functional>
#include <string>

#include "capture/held_key_table.h"
#include "shared/selectors.h"

namespace tastolink {

// Presses the phone key of a row (0-based) through its keypad button's click action.
using PressRow = std::function<void(int row)>;

// One tick of the repeat timer: for each phone key row, and within it for each
// held key in PcKey order, presses the row once when the key's name is the text
// of the row's main or alternative selector. Reads no text when no key is held.
void RunRepeatScan(const HeldKeyTable& held, const Selectors& selectors, const PressRow& press);

}  // namespace tastolink
