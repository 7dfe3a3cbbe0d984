#include "settings/mapping_store.h"

#include <gtest/gtest.h>

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

// The file written at close is the loaded file with lines 1 to 53 replaced where it has them.
TEST(MappingStore, SavesTheLoadedFileWithTheCurrentTexts) {
    struct Case {
        std::string file, saved;  // saved: once ComboBox<k> reads "New <k>"
    };
    const Case cases[] = {
        {"Head\r\n" + Lines(1, 53, "K") + "After 53\r\n\r\nEnd\r\n",
         "Head\r\n" + Lines(1, 53, "New ") + "After 53\r\n\r\nEnd\r\n"},
        {"Head\r\n" + Lines(1, 52, "K") + "K53", "Head\r\n" + Lines(1, 52, "New ") + "New 53"},
        {"\r\n" + Lines(1, 52, "K"), "\r\n" + Lines(1, 52, "New ") + "New 53"},
        {"\r\n" + Lines(1, 51, "K") + "K52", "\r\n" + Lines(1, 51, "New ") + "New 52"},
        {"", ""},
    };
    for (const Case& c : cases) {
        FakeSettingsFiles files;
        files.files[kDefaultBindingsFile] = c.file;
        FakeSelectors selectors;
        MappingStore store(files);
        store.LoadBindings(kDefaultBindingsFile, selectors);
        EXPECT_EQ(selectors.texts[1], c.file.empty() ? "" : "K1");
        EXPECT_EQ(selectors.texts[53], c.file.find("K53") != std::string::npos ? "K53" : "");
        store.SaveBindings(selectors);
        EXPECT_EQ(files.files[kUserBindingsFile], c.file) << "unchanged texts write the file back as it was";
        for (int k = 1; k <= 53; ++k) selectors.texts[k] = "New " + std::to_string(k);
        store.SaveBindings(selectors);
        EXPECT_EQ(files.files[kUserBindingsFile], c.saved);
        EXPECT_EQ(files.files[kDefaultBindingsFile], c.file);
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
    FakeSelectors selectors{};
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
    std::string created = "\r\nNum1\r\n";
    for (int k = 2; k <= 53; ++k) created += (k == 45 ? "COM3" : k == 53 ? "Z" : "") + std::string("\r\n");
    EXPECT_EQ(files.files[kUserBindingsFile], created);
    selectors.texts[1] = "F1";
    store.SaveBindings(selectors);  // a second close, after the first failed further on
    EXPECT_EQ(files.files[kUserBindingsFile], "\r\nF1" + created.substr(6));
}

}  // namespace
}  // namespace tastolink
