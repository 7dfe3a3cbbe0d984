#include "settings/key_catalogue.h"

#include <new>
#include <stdexcept>

#include "settings/line_buffer.h"
#include "settings/settings_error.h"

namespace tastolink {

std::vector<std::string> CatalogueEntries(std::string_view fileBytes) {
    LineBuffer lines;
    lines.Load(fileBytes);
    std::size_t count = lines.LineCount();
    // The buffer's last line is what follows the last break: empty when the file ends with one.
    if (lines.Line(count - 1).empty()) --count;
    std::vector<std::string> entries;
    entries.reserve(count);
    for (std::size_t k = 0; k < count; ++k) entries.push_back(lines.Line(k));
    return entries;
}

void LoadKeyCatalogue(SettingsFiles& files, Selectors& selectors) {
    try {
        // Read and split once: the 52 lists are the same.
        const std::vector<std::string> entries = CatalogueEntries(files.Read(kCatalogueFile));
        for (int number : kBindingSelectorNumbers) selectors.ReplaceItems(number, entries);
    } catch (const std::bad_alloc&) {
        // A catalogue too large for the memory left: the same message as a refused text.
        throw SettingsError(std::string(kTextExceedsMemoCapacity));
    } catch (const std::length_error&) {
        throw SettingsError(std::string(kTextExceedsMemoCapacity));
    }
}

}  // namespace tastolink
