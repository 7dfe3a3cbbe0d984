#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "settings/selectors.h"
#include "settings/settings_files.h"

namespace tastolink {

// The entries of "Items.itm", one per line in file order, nothing trimmed. A line break at
// the very end adds no entry, so an empty file has none; empty lines in between are entries.
// A zero byte ends the content.
std::vector<std::string> CatalogueEntries(std::string_view fileBytes);

// The 52 binding selectors that offer the catalogue, in load order: ComboBox45 is the port
// selector and keeps its own items.
inline constexpr std::array<int, 52> kBindingSelectorNumbers{
    1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26,
    27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 46, 47, 48, 49, 50, 51, 52, 53};

// Fills every binding selector's list from "Items.itm", which is read anew for each of them.
// A failure ends the load there: a missing file changes no list at all.
void LoadKeyCatalogue(SettingsFiles& files, Selectors& selectors);

}  // namespace tastolink
