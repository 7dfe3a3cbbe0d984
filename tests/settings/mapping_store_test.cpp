#include "settings/mapping_store.h"

#include <gtest/gtest.h>

#include <string>

#include "settings_test_support.h"

namespace tastolink {
namespace {

// Lines first..last, line k reading "<prefix><k>", each followed by CR LF.
std::string Lines(int first, int last, const std::string& prefix) {
    std::string text;
    for (int k = first; k <= last; ++k) text += prefix + std::to_string(k) + "\r\n";
    return text;
}

// The file written at close is the file loaded last with lines 1 to 53 replaced where it has
// them: its line 0, its lines after 53 and its end pass through.
TEST(MappingStore, SavesTheLoadedFileWithTheCurrentTexts) {
    const std::pair<std::string, std::string> cases[] = {
        // the file; saved once ComboBox<k> reads "New <k>"
        {"Head\r\n" + Lines(1, 53, "K") + "After\r\n\r\n",
         "Head\r\n" + Lines(1, 53, "New ") + "After\r\n\r\n"},
        {"Head\r\n" + Lines(1, 52, "K") + "K53", "Head\r\n" + Lines(1, 52, "New ") + "New 53"},
        {"\r\n" + Lines(1, 51, "K") + "K52", "\r\n" + Lines(1, 51, "New ") + "New 52"},
        {"", ""},
    };
    for (const auto& [file, saved] : cases) {
        FakeSettingsFiles files;
        files.files[kDefaultBindingsFile] = file;
        FakeSelectors selectors;
        MappingStore store(files);
        store.LoadBindings(kDefaultBindingsFile, selectors);
        EXPECT_EQ(selectors.texts[1] + selectors.texts[52], file.empty() ? "" : "K1K52");
        store.SaveBindings(selectors);
        EXPECT_EQ(files.files[kUserBindingsFile], file) << "unchanged texts write the file back as it was";
        for (int k = 1; k <= 53; ++k) selectors.texts[k] = "New " + std::to_string(k);
        store.SaveBindings(selectors);
        EXPECT_EQ(files.files[kUserBindingsFile], saved);
    }
}

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

// Bindings never loaded in this run never replace a stored file; a missing one is created.
TEST(MappingStore, WithoutLoadedBindingsOnlyAMissingFileIsWritten) {
    FakeSettingsFiles files;
    FakeSelectors selectors;
    selectors.texts = {{1, "Num1"}, {45, "COM3"}, {53, "Z"}};
    files.files[kUserBindingsFile] = "stored";
    files.unreadable = {kUserBindingsFile};
    MappingStore store(files);
    EXPECT_THROW(store.LoadBindings(kUserBindingsFile, selectors), SettingsError);
    store.SaveBindings(selectors);
    files.unreadable.clear();
    store.SaveBindings(selectors);
    EXPECT_TRUE(files.writes.empty());

    files.files.clear();
    store.SaveBindings(selectors);
    std::string created = "\r\nNum1";  // an empty line 0, then lines 1 to 53, each ending in a break
    for (int k = 2; k <= 53; ++k) created += "\r\n" + std::string(k == 45 ? "COM3" : k == 53 ? "Z" : "");
    EXPECT_EQ(files.files[kUserBindingsFile], created + "\r\n");
    selectors.texts[1] = "F1";
    store.SaveBindings(selectors);  // a second close, after the first failed further on
    EXPECT_EQ(files.files[kUserBindingsFile].substr(0, 6), "\r\nF1\r\n");
}

}  // namespace
}  // namespace tastolink
