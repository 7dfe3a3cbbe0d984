#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "capture/golden_pc_keys.h"
#include "settings/line_buffer.h"

namespace tastolink {
namespace {

// The files that ship next to the program, read from the source tree.
std::string Delivered(const char* name) {
    std::ifstream file(std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "settings" / name,
                       std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), {}};
}

// The default bindings bind no letter, so typing in the focus field presses nothing by
// accident, and no key twice.
TEST(DeliveredSettings, OfferEveryKeyAndBindEachAtMostOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "the source tree is checked by the host run";
#endif
    std::string catalogue;
    std::set<std::string> names;
    for (const auto& key : golden::kPcKeys) {
        catalogue += std::string(key.name) + "\r\n";
        names.insert(key.name);
    }
    EXPECT_EQ(Delivered("Items.itm"), catalogue);
    EXPECT_EQ(Delivered("interval.int"), "100\r\n");
    const std::string bindings = Delivered("default.itm");
    EXPECT_EQ(Delivered("itemindex.itm"), bindings);

    LineBuffer lines;
    lines.Load(bindings);
    EXPECT_EQ(lines.Text(), bindings) << "CR LF line ends";
    EXPECT_EQ(lines.LineCount(), 55u);
    EXPECT_EQ(lines.Line(45), "COM1");
    EXPECT_EQ(lines.Line(1) + lines.Line(10), "Num1Num0");
    std::set<std::string> bound;
    for (int k = 1; k <= 53; ++k) {
        const std::string text = lines.Line(k);
        if (k == 45 || text.empty()) continue;
        EXPECT_TRUE(names.contains(text) && text.size() > 1) << k << ": " << text;
        EXPECT_TRUE(bound.insert(text).second) << text << " bound twice";
    }
}

}  // namespace
}  // namespace tastolink
