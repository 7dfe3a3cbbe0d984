#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "app/selector/selector.h"
#include "phone/phone_key_table.h"
#include "shared/selectors.h"

namespace tastolink {

// ComboBox1 to ComboBox53: the 52 binding selectors of the settings panel and, as number 45, the
// port selector, with the edit field and the list they share. To the core they are its Selectors.
class BindingSelectors final : public Selectors {
public:
    // Makes selector `number` as a child of `parent` at `place`; `name` is what assistive
    // technology calls it. False when it could not be made.
    bool Add(int number, HWND parent, int id, RECT place, std::wstring name);
    Selector& operator[](int number) { return selectors_[number]; }
    const Selector& operator[](int number) const { return selectors_[number]; }
    // The selector of `window`, where it is one of the binding selectors of the first
    // kRowsWithKeyCapture rows (or their shared field): those pass their key-downs on.
    bool CapturesKeysIn(HWND window) const;

    // Selectors
    std::string Text(int comboBoxNumber) const override;
    void SetText(int comboBoxNumber, const std::string& ansiText) override;
    void ReplaceItems(std::span<const int> comboBoxNumbers, std::string_view ansiLines) override;

private:
    SelectorParts parts_;                                 // before the selectors that share it
    std::array<Selector, kSelectorCount + 1> selectors_;  // by ComboBox number; 0 is unused
};

}  // namespace tastolink
