#pragma once

#include <string>

#include "phone/phone_key_table.h"
#include "settings/line_buffer.h"
#include "settings/settings_files.h"
#include "shared/selectors.h"

namespace tastolink {

// Keeps the selectors' texts between runs in a mapping file: line k (1 to 53) is the text of
// ComboBox<k>; line 0 and the lines after 53 pass through unread, carried from the file that
// was loaded last to the file written at close.
class MappingStore {
public:
    static constexpr int kFirstLine = 1;
    static constexpr int kLastLine = kSelectorCount;

    explicit MappingStore(SettingsFiles& files) : files_(files) {}

    // Loads "itemindex.itm" (at start) or "default.itm" (on request) and shows its texts;
    // a missing line gives the empty text. A file that can't be read changes nothing.
    void LoadBindings(const std::string& fileName, Selectors& selectors);
    // Writes the current texts to "itemindex.itm" over the lines the loaded file had; a short
    // file gains no lines. When no bindings were loaded in this run, a missing "itemindex.itm"
    // is created with every text, and an existing one is left alone, so that a start that
    // failed before the bindings can't empty the user's stored ones.
    void SaveBindings(const Selectors& selectors);

private:
    SettingsFiles& files_;
    LineBuffer scratchList_;
    bool loaded_ = false;
};

}  // namespace tastolink
