#pragma once

#include <string>

#include "settings/line_buffer.h"
#include "settings/settings_files.h"

namespace tastolink {

// The texts of the components ComboBox1 to ComboBox53: the 52 binding selectors and, as
// number 45, the port selector. Texts are raw ANSI bytes, as in the mapping files.
class SelectorTextAccess {
public:
    virtual ~SelectorTextAccess() = default;
    virtual std::string Text(int comboBoxNumber) const = 0;
    // Shows the text and does nothing else: no list change, no action, no port opened.
    virtual void SetText(int comboBoxNumber, const std::string& ansiText) = 0;
};

// Keeps the selectors' texts between runs in a mapping file: line k (1 to 53) is the text of
// ComboBox<k>; line 0 and the lines after 53 pass through unread, carried from the file that
// was loaded last to the file written at close.
class MappingStore {
public:
    static constexpr int kFirstLine = 1;
    static constexpr int kLastLine = 53;

    explicit MappingStore(SettingsFiles& files) : files_(files) {}

    // Loads "itemindex.itm" (at start) or "default.itm" (on request) and shows its texts;
    // a missing line gives the empty text. A file that can't be read changes nothing.
    void LoadBindings(const std::string& fileName, SelectorTextAccess& selectors);
    // Writes the current texts to "itemindex.itm" over the lines the loaded file had; a short
    // file gains no lines. Writes nothing when no bindings were loaded in this run, so that a
    // start that failed before them can't empty the user's stored bindings.
    void SaveBindings(const SelectorTextAccess& selectors);

    bool HasLoadedBindings() const { return loaded_; }

private:
    SettingsFiles& files_;
    LineBuffer scratchList_;
    bool loaded_ = false;
};

}  // namespace tastolink
