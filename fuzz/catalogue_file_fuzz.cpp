// The key-name catalogue, fed arbitrary "Items.itm" contents.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "settings/key_catalogue.h"

namespace tastolink {
namespace {

using fuzz::Check;

// Every line is an entry, except that a break at the very end of the content adds none.
std::vector<std::string> ReferenceEntries(std::string_view bytes) {
    const std::string_view content = bytes.substr(0, bytes.find('\0'));
    if (content.empty()) return {};
    std::vector<std::string> entries = fuzz::ReferenceLines(content);
    if (content.back() == '\r' || content.back() == '\n') entries.pop_back();
    return entries;
}

}  // namespace
}  // namespace tastolink

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastolink;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> entries = CatalogueEntries(bytes);

    const std::string_view content = bytes.substr(0, bytes.find('\0'));
    const bool endsWithBreak = !content.empty() && (content.back() == '\r' || content.back() == '\n');
    const std::size_t breaks = fuzz::LineBreaks(bytes);
    Check(entries.size() == (content.empty() || endsWithBreak ? breaks : breaks + 1),
          "one entry per line break, and one for a last line without a break");
    for (const std::string& entry : entries) Check(!fuzz::HasLineBreakOrZero(entry), "an entry is one line");
    Check(entries == ReferenceEntries(bytes), "the entries are the file's lines as written");
    return 0;
}
