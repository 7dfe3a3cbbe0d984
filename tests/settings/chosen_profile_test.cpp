#include "settings/chosen_profile.h"

#include <gtest/gtest.h>

#include "settings/settings_test_support.h"

namespace tastolink {
namespace {

TEST(ChosenProfile, IsTheFirstLineOfPhoneIniOrOrdinaryWithoutABox) {
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {std::nullopt, "Обычный"},
        {"Мой телефон\r\nrest", "Мой телефон"},
        {"\xEF\xBB\xBF"
         "3GPP TS 27.007",
         "3GPP TS 27.007"},
        {"", "Обычный"},
        {"Мой\xFF", "Обычный"},
        {std::string(256, 'x'), std::string(256, 'x')},
        {std::string(257, 'x'), "Обычный"},
    };
    for (const auto& [content, name] : cases) {
        FakeSettingsFiles files;
        if (content) files.files["phone.ini"] = *content;
        EXPECT_EQ(LoadChosenProfileName(files), name) << content.value_or("missing");
    }
    FakeSettingsFiles files;
    files.unreadable.insert("phone.ini");
    EXPECT_EQ(LoadChosenProfileName(files), "Обычный");
    SaveChosenProfileName(files, "Мой телефон");
    EXPECT_EQ(files.files["phone.ini"], "Мой телефон\r\n");
}

}  // namespace
}  // namespace tastolink
