#include "settings/key_catalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// Records each list it is given; ComboBox<refusing> refuses its entries.
struct RecordingSelectors : CatalogueSelectors {
    void ReplaceItems(int comboBoxNumber, const Entries& ansiEntries) override {
        if (comboBoxNumber == refusing) throw SettingsError(std::string(kUnableToInsertLine));
        numbers.push_back(comboBoxNumber);
        EXPECT_EQ(ansiEntries, (Entries{"F1", "Num0"}));
    }
    int refusing = 0;
    std::vector<int> numbers;
};

TEST(LoadKeyCatalogue, FillsTheBindingSelectorsInOrderReadingTheFileForEach) {
    FakeSettingsFiles files;
    RecordingSelectors selectors;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }),
              "Cannot open file \"C:\\run\\Items.itm\". Not found");
    EXPECT_EQ(files.reads.size(), 1u);
    EXPECT_TRUE(selectors.numbers.empty());

    files.files[kCatalogueFile] = "F1\r\nNum0\r\n";
    LoadKeyCatalogue(files, selectors);
    EXPECT_EQ(files.reads.size(), 53u);
    std::vector<int> expected;
    for (int n = 1; n <= 53; ++n)
        if (n != 45) expected.push_back(n);
    EXPECT_EQ(selectors.numbers, expected);

    selectors.numbers.clear();
    selectors.refusing = 46;
    EXPECT_EQ(ErrorOf([&] { LoadKeyCatalogue(files, selectors); }), kUnableToInsertLine);
    EXPECT_EQ(selectors.numbers.size(), 44u);
}

}  // namespace
}  // namespace tastolink
