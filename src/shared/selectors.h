#pragma once

#include <span>
#include <string>
#include <string_view>

namespace tastolink {

// The components ComboBox1 to ComboBox53 as the core sees them: the 52 binding selectors
// and, as number 45, the port selector. Texts and entries are raw ANSI bytes, as in the
// settings files.
class Selectors {
public:
    virtual ~Selectors() = default;
    // The text as shown, typed or chosen from the list.
    virtual std::string Text(int comboBoxNumber) const = 0;
    // Shows the text and does nothing else: no list change, no action, no port opened.
    virtual void SetText(int comboBoxNumber, const std::string& ansiText) = 0;
    // Replaces the lists of the selectors numbered (their texts stay) with one list they share:
    // an entry for each line of `ansiLines`, as EntryList::FromLines splits them. Throws
    // SettingsError ("Unable to insert a line") when the list refuses an entry.
    virtual void ReplaceItems(std::span<const int> comboBoxNumbers, std::string_view ansiLines) = 0;
};

}  // namespace tastolink
