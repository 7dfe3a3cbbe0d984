#include "settings/key_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "capture/golden_pc_keys.h"
#include "settings/line_buffer.h"
#include "settings_test_support.h"

namespace tastolink {

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

// The files that ship next to the program offer every key and bind none twice nor any letter,
// so that typing in the focus field presses nothing by accident.
TEST(DeliveredSettings, OfferEveryKeyAndBindEachAtMostOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "the source tree is checked by the host run";
#endif
    const auto delivered = [](const char* name) {
        std::ifstream file(std::filesystem::path(__FILE__).parent_path() / "../../settings" / name,
                           std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    };
    std::string catalogue;
    for (const auto& key : golden::kPcKeys) catalogue += std::string(key.name) + "\r\n";
    EXPECT_EQ(delivered("Items.itm"), catalogue);
    EXPECT_EQ(delivered("itemindex.itm"), delivered("default.itm"));
    LineBuffer lines;
    lines.Load(delivered("default.itm"));
    std::set<std::string> bound;
    for (int k = 1; k <= 53; ++k) {
        const std::string text = k == 45 ? "" : lines.Line(k);
        const bool offered = ("\r\n" + catalogue).find("\r\n" + text + "\r\n") != std::string::npos;
        EXPECT_TRUE(text.empty() || (offered && text.size() > 1 && bound.insert(text).second))
            << k << ": " << text;
    }
}

}  // namespace tastolink
