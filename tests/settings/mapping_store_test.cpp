#include "settings/mapping_store.h"

#include <gtest/gtest.h>

#include "settings_test_support.h"

namespace tastolink {

// Bindings never loaded in this run never replace a stored file; a missing one is created.
// That a save gives lines 1 to 53 the texts and passes every other line through is held by
// the mapping_file fuzz target.
TEST(MappingStore, WithoutLoadedBindingsOnlyAMissingFileIsWritten) {
    FakeSettingsFiles files;
    FakeSelectors selectors;
    selectors.texts = {{1, "Num1"}, {45, "COM3"}, {53, "Z"}};
    files.files["itemindex.itm"] = "stored";
    files.unreadable = {"itemindex.itm"};
    MappingStore store(files);
    EXPECT_THROW(store.LoadBindings("itemindex.itm", selectors), SettingsError);
    store.SaveBindings(selectors);
    files.unreadable.clear();
    store.SaveBindings(selectors);
    EXPECT_TRUE(files.writes.empty());

    files.files.clear();
    store.SaveBindings(selectors);
    std::string created = "\r\nNum1";  // an empty line 0, then lines 1 to 53, each ending in a break
    for (int k = 2; k <= 53; ++k) created += "\r\n" + std::string(k == 45 ? "COM3" : k == 53 ? "Z" : "");
    EXPECT_EQ(files.files["itemindex.itm"], created + "\r\n");
    selectors.texts[1] = "F1";
    store.SaveBindings(selectors);  // a second close, after the first failed further on
    EXPECT_EQ(files.files["itemindex.itm"].substr(0, 6), "\r\nF1\r\n");
}

}  // namespace tastolink
