#include "settings/mapping_store.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "fake_selectors.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

// Lines first..last, line k reading "<prefix><k>", each followed by CR LF.
std::string Lines(int first, int last, const std::string& prefix) {
    std::string text;
    for (int k = first; k <= last; ++k) text += prefix + std::to_string(k) + "\r\n";
    return text;
}

struct RoundTripCase {
    std::string name, file;
    std::string saved;  // once ComboBox<k> reads "New <k>"
};

class MappingRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(MappingRoundTrip, SavesTheLoadedFileWithTheCurrentTexts) {
    FakeSettingsFiles files;
    files.files[kDefaultBindingsFile] = GetParam().file;
    FakeSelectors selectors;
    MappingStore store(files);
    store.LoadBindings(kDefaultBindingsFile, selectors);
    for (int k = 1; k <= 53; ++k) {
        const std::string line = "\nK" + std::to_string(k), &file = GetParam().file;
        const auto at = file.find(line);
        const bool present =
            at != std::string::npos && (at + line.size() == file.size() || file[at + line.size()] == '\r');
        EXPECT_EQ(selectors.texts[k], present ? line.substr(1) : "") << k;
    }
    store.SaveBindings(selectors);
    EXPECT_EQ(files.files[kUserBindingsFile], GetParam().file)
        << "unchanged texts write the file back as it was";

    for (int k = 1; k <= 53; ++k) selectors.texts[k] = "New " + std::to_string(k);
    store.SaveBindings(selectors);
    EXPECT_EQ(files.files[kUserBindingsFile], GetParam().saved);
    EXPECT_EQ(files.writes, std::vector<std::string>(2, kUserBindingsFile));
}

INSTANTIATE_TEST_SUITE_P(
    Files, MappingRoundTrip,
    testing::Values(RoundTripCase{"Complete", "Head\r\n" + Lines(1, 53, "K") + "After 53\r\n\r\nEnd\r\n",
                                  "Head\r\n" + Lines(1, 53, "New ") + "After 53\r\n\r\nEnd\r\n"},
                    RoundTripCase{"NoFinalBreak", "Head\r\n" + Lines(1, 52, "K") + "K53",
                                  "Head\r\n" + Lines(1, 52, "New ") + "New 53"},
                    RoundTripCase{"EndsAtLine52WithBreak", "\r\n" + Lines(1, 52, "K"),
                                  "\r\n" + Lines(1, 52, "New ") + "New 53"},
                    RoundTripCase{"EndsAtLine52", "\r\n" + Lines(1, 51, "K") + "K52",
                                  "\r\n" + Lines(1, 51, "New ") + "New 52"},
                    RoundTripCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(MappingStore, UnreadableFileChangesNothing) {
    FakeSettingsFiles files;
    files.files[kUserBindingsFile] = "user\nF1\r COM3 ";
    FakeSelectors selectors;
    MappingStore store(files);
    store.LoadBindings(kUserBindingsFile, selectors);
    selectors.texts[1] = "F5";

    EXPECT_THROW(store.LoadBindings(kDefaultBindingsFile, selectors), SettingsError);
    EXPECT_EQ(selectors.texts[2], " COM3 ");
    store.SaveBindings(selectors);
    EXPECT_EQ(files.files[kUserBindingsFile], "user\r\nF5\r\n COM3 ");
}

TEST(MappingStore, NeverReplacesBindingsItDidNotLoad) {
    FakeSettingsFiles files;
    FakeSelectors selectors;
    MappingStore store(files);
    EXPECT_THROW(store.LoadBindings(kUserBindingsFile, selectors), SettingsError);
    store.SaveBindings(selectors);
    EXPECT_TRUE(files.writes.empty());

    files.files[kDefaultBindingsFile] = "";
    store.LoadBindings(kDefaultBindingsFile, selectors);
    store.SaveBindings(selectors);
    EXPECT_EQ(files.writes.size(), 1u);
}

}  // namespace
}  // namespace tastolink
