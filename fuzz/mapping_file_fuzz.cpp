// The settings files' line buffer, the catalogue and the mapping store, fed an arbitrary file
// and 53 selector texts (FuzzedDataProvider: a backslash and a character other than a backslash
// end each piece). A broken property aborts, so that libFuzzer keeps the input.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "selection/entry_list.h"
#include "settings/key_catalogue.h"
#include "settings/mapping_store.h"
#include "settings_test_support.h"

using namespace tastolink;

// The lines of a text: none holds a break or a zero byte, and they save and load unchanged.
static std::vector<std::string> LinesOf(std::string_view bytes) {
    LineBuffer buffer;
    buffer.Load(bytes);
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < buffer.LineCount(); ++k) lines.push_back(buffer.Line(k));
    for (const std::string& line : lines)
        if (line.find_first_of(std::string_view("\r\n\0", 3)) != line.npos) std::abort();
    const std::string text = buffer.Text();
    buffer.SetLine(lines.size() - 1, "changed");
    buffer.Load(text);
    if (buffer.Text() != text || buffer.LineCount() != lines.size()) std::abort();
    return lines;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string file = input.ConsumeRandomLengthString();
    const std::vector<std::string> loaded = LinesOf(file);
    // The catalogue has one entry per line; a break at the very end adds none.
    const EntryList<char> catalogue = EntryList<char>::FromLines(file);
    std::vector<std::string> entries;
    for (std::size_t k = 0; k < catalogue.size(); ++k) entries.emplace_back(catalogue[k]);
    if (entries.size() + 1 == loaded.size() && loaded.back().empty()) entries.push_back("");
    if (entries != loaded) std::abort();

    // A save gives lines 1 to 53 the selectors' texts and passes the others through.
    FakeSettingsFiles files;
    files.files[kUserBindingsFile] = file;
    FakeSelectors selectors;
    MappingStore store(files);
    store.LoadBindings(kUserBindingsFile, selectors);
    std::vector<std::string> expected = loaded;
    for (int k = 1; k <= MappingStore::kLastLine; ++k) {
        if (selectors.Text(k) != (k < static_cast<int>(loaded.size()) ? loaded[k] : "")) std::abort();
        selectors.texts[k] = input.ConsumeRandomLengthString();
        std::erase_if(selectors.texts[k], [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
        if (k < static_cast<int>(loaded.size())) expected[k] = selectors.texts[k];
    }
    store.SaveBindings(selectors);
    if (LinesOf(files.files[kUserBindingsFile]) != expected) std::abort();
    return 0;
}
