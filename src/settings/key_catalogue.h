#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "phone/phone_key_table.h"
#include "settings/settings_files.h"
#include "shared/selectors.h"

namespace tastolink {

// The 52 binding selectors that offer the catalogue, in load order: ascending ComboBox
// numbers. ComboBox45 is the port selector and keeps its own items.
inline constexpr std::array<int, 2 * kPhoneKeyCount> kBindingSelectorNumbers = [] {
    std::array<int, 2 * kPhoneKeyCount> numbers{};
    auto next = numbers.begin();
    for (const PhoneKey& key : kPhoneKeyTable) {
        *next++ = key.mainSelector;
        *next++ = key.altSelector;
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}();

// Fills every binding selector's list from "Items.itm", one entry a line in file order, read once
// for all 52, which share it.
// A failure ends the load there: a missing file changes no list at all. Memory running out
// gives "Text exceeds memo capacity".
void LoadKeyCatalogue(SettingsFiles& files, Selectors& selectors);

}  // namespace tastolink
