#include "settings/key_catalogue.h"

#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace tastolink {
namespace {

// One entry per line is held by the mapping_file fuzz target; here where a load stops. The load
// goes in ascending ComboBox numbers and skips the port selector, 45.
TEST(LoadKeyCatalogue, FillsTheBindingSelectorsAndStopsAtAFailure) {
    FakeSettingsFiles files;
    FakeSelectors selectors;
    files.files["Items.itm"] = "F1\r\n\r\nNum0\r\n";
    LoadKeyCatalogue(files, selectors);
    EXPECT_EQ(selectors.lists.size(), 52u);
    EXPECT_FALSE(selectors.lists.contains(45));
    EXPECT_EQ(selectors.lists[53], (std::vector<std::string>{"F1", "", "Num0"}));

    selectors.lists.clear();
    selectors.refusing = 46;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }), "Unable to insert a line");
    EXPECT_EQ(selectors.lists.size(), 44u);
    files.outOfMemory = true;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }), "Text exceeds memo capacity");
}

}  // namespace
}  // namespace tastolink
