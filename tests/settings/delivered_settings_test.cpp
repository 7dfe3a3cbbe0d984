#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "capture/golden_pc_keys.h"
#include "settings/line_buffer.h"

namespace tastolink {

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
    std::string catalogue = "\r\n";
    for (const auto& key : golden::kPcKeys) catalogue += std::string(key.name) + "\r\n";
    EXPECT_EQ("\r\n" + delivered("Items.itm"), catalogue);
    EXPECT_EQ(delivered("itemindex.itm"), delivered("default.itm"));
    LineBuffer lines;
    lines.Load(delivered("default.itm"));
    std::set<std::string> bound;
    for (int k = 1; k <= 53; ++k) {
        const std::string text = k == 45 ? "" : lines.Line(k);
        const bool offered = catalogue.find("\r\n" + text + "\r\n") != std::string::npos;
        EXPECT_TRUE(text.empty() || (offered && text.size() > 1 && bound.insert(text).second))
            << k << ": " << text;
    }
}

}  // namespace tastolink
