#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "capture/golden_pc_keys.h"
#include "settings/line_buffer.h"

namespace tastolink {
namespace {

std::string Delivered(const char* name) {
    std::ifstream file(std::filesystem::path(__FILE__).parent_path() / "../../settings" / name,
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The files that ship next to the program: every key offered, COM1 chosen, and no key bound
// twice nor any letter, so typing in the focus field presses nothing by accident.
TEST(DeliveredSettings, OfferEveryKeyAndBindEachAtMostOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "the source tree is checked by the host run";
#endif
    std::string catalogue;
    for (const auto& key : golden::kPcKeys) catalogue += std::string(key.name) + "\r\n";
    EXPECT_EQ(Delivered("Items.itm"), catalogue);
    EXPECT_EQ(Delivered("interval.int"), "100\r\n");
    EXPECT_EQ(Delivered("itemindex.itm"), Delivered("default.itm"));
    LineBuffer lines;
    lines.Load(Delivered("default.itm"));
    EXPECT_EQ(lines.Text(), Delivered("default.itm")) << "CR LF line ends";
    EXPECT_EQ(lines.Line(1) + lines.Line(10) + lines.Line(45), "Num1Num0COM1");
    std::set<std::string> bound;
    for (int k = 1; k <= 53; ++k) {
        const std::string text = k == 45 ? "" : lines.Line(k);
        const bool offered = ("\r\n" + catalogue).find("\r\n" + text + "\r\n") != std::string::npos;
        EXPECT_TRUE(text.empty() || (offered && text.size() > 1 && bound.insert(text).second))
            << k << ": " << text;
    }
}

}  // namespace
}  // namespace tastolink
