#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "capture/pc_key_table.h"
#include "settings/key_catalogue.h"
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

// The default bindings: digits on the number pad, navigation and call keys on the arrows,
// Space, Esc and Enter, function keys for the rest. No letter is bound, so typing in the
// focus field presses nothing by accident.
TEST(DeliveredSettings, OfferEveryKeyAndBindEachAtMostOnce) {
#ifdef _WIN32
    GTEST_SKIP() << "the source tree is checked by the host run";
#endif
    std::string catalogue;
    for (const PcKey& key : kPcKeys) catalogue += std::string(key.KeyName) + "\r\n";
    EXPECT_EQ(Delivered("Items.itm"), catalogue);
    EXPECT_EQ(Delivered("interval.int"), "100\r\n");

    const std::string bindings = Delivered("default.itm");
    EXPECT_EQ(Delivered("itemindex.itm"), bindings);
    LineBuffer lines;
    lines.Load(bindings);
    EXPECT_EQ(lines.Text(), bindings) << "CR LF line ends";
    EXPECT_EQ(lines.LineCount(), 55u);
    EXPECT_EQ(lines.Line(45), "COM1");
    const auto names = CatalogueEntries(catalogue);
    std::set<std::string> bound;
    for (int k : kBindingSelectorNumbers) {
        const std::string text = lines.Line(k);
        if (text.empty()) continue;
        EXPECT_NE(std::find(names.begin(), names.end(), text), names.end()) << k;
        EXPECT_TRUE(bound.insert(text).second) << text << " bound twice";
        EXPECT_GT(text.size(), 1u) << k << " binds a letter";
    }
    EXPECT_EQ(lines.Line(1) + lines.Line(10), "Num1Num0");
}

}  // namespace
}  // namespace tastolink
