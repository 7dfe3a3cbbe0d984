#include "selection/entry_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tastolink {
namespace {

using Texts = std::vector<std::string>;

Texts EntriesOf(const std::string& text) {
    const EntryList<char> list = EntryList<char>::FromLines(text);
    Texts entries;
    for (std::size_t at = 0; at < list.size(); ++at) entries.emplace_back(list[at]);
    return entries;
}

struct Lines {
    std::string text;
    Texts entries;
};

class EntryListFromLines : public ::testing::TestWithParam<Lines> {};

// The catalogue's rules: every kind of break ends an entry, entries are kept as written (spaces,
// duplicates, empty ones between breaks), a break at the very end adds none, a zero byte ends it.
TEST_P(EntryListFromLines, MakesAnEntryOfEachLine) {
    EXPECT_EQ(EntriesOf(GetParam().text), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EntryListFromLines,
                         ::testing::Values(Lines{"", {}}, Lines{"F1", {"F1"}}, Lines{"F1\r\n", {"F1"}},
                                           Lines{"\r\n", {""}}, Lines{"F1\r\n\r\nF1\r\n", {"F1", "", "F1"}},
                                           Lines{"A\rB\nC\r\n", {"A", "B", "C"}},
                                           Lines{"A\n\rB", {"A", "", "B"}}, Lines{"A\r\n\r", {"A", ""}},
                                           Lines{" Num 1 \t", {" Num 1 \t"}},
                                           Lines{std::string("A\r\nB\0C\r\nD", 10), {"A", "B"}}));

}  // namespace
}  // namespace tastolink
