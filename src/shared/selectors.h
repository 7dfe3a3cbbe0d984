#pragma once

#include <string>
#include <vector>

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
    // Replaces the list (the text stays). Throws SettingsError ("Unable to insert a line")
    // when the list refuses an entry.
    virtual void ReplaceItems(int comboBoxNumber, const std::vector<std::string>& ansiEntries) = 0;
};

}  // namespace tastolink
