#pragma once

#include <map>
#include <string>
#include <vector>

#include "settings/selectors.h"
#include "settings/settings_error.h"

namespace tastolink {

// Selectors in memory by ComboBox number. Counts text reads, records the order in which
// lists were filled, and ComboBox<refusing> refuses its entries.
struct FakeSelectors : Selectors {
    std::string Text(int comboBoxNumber) const override {
        ++reads;
        auto found = texts.find(comboBoxNumber);
        return found == texts.end() ? std::string() : found->second;
    }
    void SetText(int comboBoxNumber, const std::string& ansiText) override {
        texts[comboBoxNumber] = ansiText;
    }
    void ReplaceItems(int comboBoxNumber, const std::vector<std::string>& ansiEntries) override {
        if (comboBoxNumber == refusing) throw SettingsError(std::string(kUnableToInsertLine));
        lists[comboBoxNumber] = ansiEntries;
        listOrder.push_back(comboBoxNumber);
    }

    std::map<int, std::string> texts;
    std::map<int, std::vector<std::string>> lists;
    std::vector<int> listOrder;
    int refusing = 0;
    mutable int reads = 0;
};

}  // namespace tastolink
