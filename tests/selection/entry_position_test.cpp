#include "selection/entry_position.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace tastolink {
namespace {

using Texts = std::vector<std::string>;

// Longer names before the short ones that begin them, as in the delivered catalogue; an empty
// entry and a second "Up".
const Texts kCatalogue{"F1", "F10", "Num0", "Alt", "Up", "", "A", "F", "N", "U", "Up", "Z"};

// Starts from `text` as typed, then takes the steps (+1 Down, -1 Up) and returns each text shown.
Texts Walk(const std::string& text, const std::vector<int>& steps) {
    EntryPosition position;
    position.TextChanged(kCatalogue, text);
    Texts shown;
    for (int step : steps) {
        position.Show(position.Stepped(step, static_cast<int>(kCatalogue.size())));
        shown.push_back(kCatalogue.at(static_cast<std::size_t>(position.Index())));
    }
    return shown;
}

TEST(EntryPosition, StepsByOneFromTheEntryShownAndStopsAtTheEnds) {
    const std::vector<int> twelveDown(12, +1), twelveUp(12, -1);
    EXPECT_EQ(Walk("", twelveDown),
              (Texts{"F1", "F10", "Num0", "Alt", "Up", "", "A", "F", "N", "U", "Up", "Z"}));
    EXPECT_EQ(Walk("Z", twelveUp),
              (Texts{"Up", "U", "N", "F", "A", "", "Up", "Alt", "Num0", "F10", "F1", "F1"}));
    EXPECT_EQ(Walk("Z", {+1, +1}), (Texts{"Z", "Z"}));  // past the last entry, on it
    EXPECT_EQ(Walk("", {-1}), Texts{"F1"});             // from no entry either way onto the first
    EXPECT_EQ(Walk("Foo", {+1}), Texts{"F1"});          // a text that is no entry
    EXPECT_EQ(Walk("F", {+1}), Texts{"N"});             // not from "F1", which begins with "F"
    EXPECT_EQ(Walk("U", {-1}), Texts{"N"});             // not from "Up"
    EXPECT_EQ(Walk("A", {+1}), Texts{"F"});             // not from "Alt"
    EXPECT_EQ(Walk("Up", {+1, +1}), (Texts{"", "A"}));  // the first "Up"; the empty entry is passed
    EXPECT_EQ(Walk("u", {+1}), Texts{"F1"});            // an entry is named exactly, case and all
}

TEST(EntryPosition, AStepInAnEmptyListShowsNothing) {
    EntryPosition position;
    EXPECT_EQ(position.Stepped(+1, 0), EntryPosition::kNone);
    position.Show(3);
    EXPECT_EQ(position.Stepped(-1, 0), EntryPosition::kNone);
}

TEST(FindEntryFrom, SearchesAfterTheStartAndGoesRound) {
    auto beginsWithU = [](const std::string& entry) {
        return !entry.empty() && std::tolower(static_cast<unsigned char>(entry[0])) == 'u';
    };
    EXPECT_EQ(FindEntryFrom(kCatalogue, -1, beginsWithU), 4);
    EXPECT_EQ(FindEntryFrom(kCatalogue, 4, beginsWithU), 9);
    EXPECT_EQ(FindEntryFrom(kCatalogue, 10, beginsWithU), 4);  // past the end, round to the start
    EXPECT_EQ(FindEntryFrom(kCatalogue, 12, beginsWithU), 4);  // a start beyond the list: from the first
    EXPECT_EQ(FindEntryFrom(kCatalogue, 3, [](const std::string& entry) { return entry == "Q"; }),
              EntryPosition::kNone);
    EXPECT_EQ(FindEntryFrom(Texts{}, -1, beginsWithU), EntryPosition::kNone);
}

}  // namespace
}  // namespace tastolink
