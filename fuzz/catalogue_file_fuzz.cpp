// The key-name catalogue, fed arbitrary "Items.itm" contents.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "settings/key_catalogue.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastolink;
    using fuzz::Check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto entries = CatalogueEntries(bytes);

    const std::string_view content = bytes.substr(0, bytes.find('\0'));
    const bool lastLineUnbroken = !content.empty() && content.back() != '\r' && content.back() != '\n';
    Check(entries.size() == fuzz::LineBreaks(bytes) + lastLineUnbroken, "one entry per line");
    std::string rewritten;
    for (const std::string& entry : entries) {
        Check(!fuzz::HasLineBreakOrZero(entry), "an entry is one line");
        rewritten += entry + "\r\n";
    }
    Check(CatalogueEntries(rewritten) == entries, "the entries written one per line read back the same");
    return 0;
}
