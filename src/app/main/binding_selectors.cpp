#include "app/main/binding_selectors.h"

#include <new>

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

void BindingSelectors::ReplaceItems(int comboBoxNumber, const std::vector<std::string>& ansiEntries) {
    // Every selector gets the same catalogue: convert it once, and share it.
    if (!lastWideEntries_ || ansiEntries != lastEntries_) {
        try {
            std::vector<std::wstring> wide;
            wide.reserve(ansiEntries.size());
            for (const std::string& entry : ansiEntries) wide.push_back(WideFromAnsi(entry));
            lastWideEntries_ = std::make_shared<const std::vector<std::wstring>>(std::move(wide));
            lastEntries_ = ansiEntries;
        } catch (const std::bad_alloc&) {
            throw SettingsError(std::string(kUnableToInsertLine));
        }
    }
    selectors_[comboBoxNumber].SetEntries(lastWideEntries_);
}

}  // namespace tastolink
