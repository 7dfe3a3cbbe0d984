#include "settings/key_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_selectors.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

using namespace std::string_literals;
using Entries = std::vector<std::string>;

struct EntriesCase {
    std::string bytes;
    Entries entries;
};

class CatalogueLines : public testing::TestWithParam<EntriesCase> {};

TEST_P(CatalogueLines, GiveOneEntryPerLine) {
    EXPECT_EQ(CatalogueEntries(GetParam().bytes), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(
    Files, CatalogueLines,
    testing::Values(EntriesCase{"F1\r\nF2\r\n", {"F1", "F2"}}, EntriesCase{"F1\r\nF2", {"F1", "F2"}},
                    EntriesCase{"F1\r\n\r\nF2", {"F1", "", "F2"}}, EntriesCase{"F1\nF2", {"F1", "F2"}},
                    EntriesCase{"F1\rF2", {"F1", "F2"}}, EntriesCase{"F1\n\rF2", {"F1", "", "F2"}},
                    EntriesCase{"F1\r\n\r\n", {"F1", ""}}, EntriesCase{"", {}}, EntriesCase{"\r\n", {""}},
                    EntriesCase{" f1 \r\nF1\r\nF1", {" f1 ", "F1", "F1"}},
                    EntriesCase{"F1\r\nF2\0F3\r\n"s, {"F1", "F2"}}));

TEST(LoadKeyCatalogue, FillsTheBindingSelectorsInOrderReadingTheFileForEach) {
    FakeSettingsFiles files;
    FakeSelectors selectors;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }),
              "Cannot open file \"C:\\run\\Items.itm\". Not found");
    EXPECT_EQ(files.reads.size(), 1u);
    EXPECT_TRUE(selectors.listOrder.empty());

    files.files[kCatalogueFile] = "F1\r\nNum0\r\n";
    LoadKeyCatalogue(files, selectors);
    EXPECT_EQ(files.reads.size(), 53u);
    std::vector<int> expected;
    for (int n = 1; n <= 53; ++n)
        if (n != 45) expected.push_back(n);
    EXPECT_EQ(selectors.listOrder, expected);
    EXPECT_EQ(selectors.lists[53], (Entries{"F1", "Num0"}));

    selectors.listOrder.clear();
    selectors.refusing = 46;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }), kUnableToInsertLine);
    EXPECT_EQ(selectors.listOrder.size(), 44u);
}

}  // namespace
}  // namespace tastolink
