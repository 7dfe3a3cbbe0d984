#include "app/main/binding_selectors.h"

#include <new>
#include <stdexcept>

#include "settings/settings_error.h"
#include "shared/text_encoding.h"

namespace tastolink {

bool BindingSelectors::Add(int number, HWND parent, int id, RECT place, std::wstring name) {
    return selectors_[number].Create(parent, id, place, std::move(name), parts_);
}

bool BindingSelectors::CapturesKeysIn(HWND window) const {
    HWND owner = GetParent(window);  // the shared field lies in the selector it serves
    for (int row = 0; row < kRowsWithKeyCapture; ++row)
        for (int number : {kPhoneKeyTable[row].mainSelector, kPhoneKeyTable[row].altSelector})
            if (window == selectors_[number].Handle() || owner == selectors_[number].Handle()) return true;
    return false;
}

std::string BindingSelectors::Text(int comboBoxNumber) const {
    return AnsiFromWide(selectors_[comboBoxNumber].Text());
}

void BindingSelectors::SetText(int comboBoxNumber, const std::string& ansiText) {
    selectors_[comboBoxNumber].SetText(WideFromAnsi(ansiText));
}

// The lines are converted whole and split afterwards: an ANSI code page never has CR or LF inside
// a character, so the lines are the same either way, and the ANSI text goes as soon as it is read.
void BindingSelectors::ReplaceItems(std::span<const int> comboBoxNumbers, std::string_view ansiLines) {
    Selector::Entries entries;
    try {
        entries =
            std::make_shared<const SelectorEntries>(SelectorEntries::FromLines(WideFromAnsi(ansiLines)));
    } catch (const std::bad_alloc&) {
        throw SettingsError(std::string(kUnableToInsertLine));
    } catch (const std::length_error&) {
        throw SettingsError(std::string(kUnableToInsertLine));
    }
    for (int number : comboBoxNumbers) selectors_[number].SetEntries(entries);
}

}  // namespace tastolink
