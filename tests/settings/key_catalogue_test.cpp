#include "settings/key_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings_test_support.h"

namespace tastolink {
namespace {

using namespace std::string_literals;
using Entries = std::vector<std::string>;

// Line breaks are those of the line buffer; a break at the very end adds no entry.
TEST(CatalogueEntries, OnePerLineAndNoneForABreakAtTheEnd) {
    // clang-format off
    const std::pair<std::string, Entries> cases[] = {
        {"F1\r\nF2\r\n", {"F1", "F2"}}, {"F1\nF2", {"F1", "F2"}},     {"F1\r\n\r\n", {"F1", ""}},
        {"", {}},                   {"\r\n", {""}},                 {" f1 \rF1\r\nF1", {" f1 ", "F1", "F1"}},
        {"F1\r\nF2\0F3\r\n"s, {"F1", "F2"}},
    };
    // clang-format on
    for (const auto& [bytes, entries] : cases) EXPECT_EQ(CatalogueEntries(bytes), entries) << bytes;
}

TEST(LoadKeyCatalogue, FillsTheBindingSelectorsInOrderReadingTheFileForEach) {
    FakeSettingsFiles files;
    FakeSelectors selectors;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }),
              "Cannot open file \"C:\\run\\Items.itm\". Not found");
    EXPECT_TRUE(selectors.listOrder.empty());

    files.files[kCatalogueFile] = "F1\r\nNum0\r\n";
    LoadKeyCatalogue(files, selectors);
    EXPECT_EQ(files.reads.size(), 1u + 52u);
    std::vector<int> expected;
    for (int number = 1; number <= 53; ++number)
        if (number != 45) expected.push_back(number);
    EXPECT_EQ(selectors.listOrder, expected);
    EXPECT_EQ(selectors.lists[53], (Entries{"F1", "Num0"}));

    selectors.listOrder.clear();
    selectors.refusing = 46;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }), kUnableToInsertLine);
    EXPECT_EQ(selectors.listOrder.size(), 44u);

    files.outOfMemory = true;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }), "Text exceeds memo capacity");
}

}  // namespace
}  // namespace tastolink
