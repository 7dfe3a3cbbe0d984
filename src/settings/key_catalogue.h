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

// The entries of "Items.itm", one per line in file order, nothing trimmed. A line break at
// the very end adds no entry, so an empty file has none; empty lines in between are entries.
// A zero byte ends the content.
std::vector<std::string> CatalogueEntries(std::string_view fileBytes);

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

// Fills every binding selector's list from "Items.itm", which is read and split once for all 52.
// A failure ends the load there: a missing file changes no list at all. Memory running out
// gives "Text exceeds memo capacity".
void LoadKeyCatalogue(SettingsFiles& files, Selectors& selectors);

}  // namespace tastolink
