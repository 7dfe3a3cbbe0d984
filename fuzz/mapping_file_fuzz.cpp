// The mapping store over its line buffer, fed arbitrary mapping files and selector texts.
//
// Input: the mapping file and then 53 selector texts, taken by FuzzedDataProvider (a backslash
// followed by anything but a backslash ends each piece).

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "settings/line_buffer.h"
#include "settings/mapping_store.h"
#include "settings_test_support.h"

namespace tastolink {
namespace {

using fuzz::Check;
constexpr int kLines = MappingStore::kLastLine;

struct Texts : Selectors {
    std::string Text(int number) const override { return texts.contains(number) ? texts.at(number) : ""; }
    void SetText(int number, const std::string& text) override { texts[number] = text; }
    void ReplaceItems(int, const std::vector<std::string>&) override {}
    std::map<int, std::string> texts;
};

// The buffer's lines, with their invariants checked: n breaks make n + 1 lines of one line each.
std::vector<std::string> LinesOf(std::string_view bytes) {
    LineBuffer buffer;
    buffer.Load(bytes);
    Check(buffer.LineCount() == fuzz::LineBreaks(bytes) + 1, "n line breaks make n + 1 lines");
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < buffer.LineCount(); ++k) {
        lines.push_back(buffer.Line(k));
        Check(!fuzz::HasLineBreakOrZero(lines.back()), "a line holds no break");
    }
    const std::string text = buffer.Text();
    buffer.SetLine(lines.size(), "added");
    Check(buffer.Text() == text, "writing a missing line adds none");
    buffer.Load(text);
    Check(buffer.Text() == text, "a saved text loads and saves unchanged");
    return lines;
}

}  // namespace
}  // namespace tastolink

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastolink;
    FuzzedDataProvider input(data, size);
    const std::string file = input.ConsumeRandomLengthString();
    const std::vector<std::string> loaded = LinesOf(file);

    FakeSettingsFiles files;
    files.files[kUserBindingsFile] = file;
    Texts selectors;
    MappingStore store(files);
    store.LoadBindings(kUserBindingsFile, selectors);
    for (int k = 1; k <= kLines; ++k)
        Check(selectors.Text(k) == (k < static_cast<int>(loaded.size()) ? loaded[k] : ""),
              "a selector shows its line");

    for (int k = 1; k <= kLines; ++k) {
        std::string text = input.ConsumeRandomLengthString();
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
        selectors.texts[k] = text;
    }
    const Texts edited = selectors;
    store.SaveBindings(selectors);
    const std::vector<std::string> saved = LinesOf(files.files[kUserBindingsFile]);
    Check(saved.size() == loaded.size(), "a save adds and drops no line");
    for (std::size_t k = 0; k < saved.size(); ++k)
        Check(saved[k] == (k >= 1 && k <= kLines ? edited.Text(static_cast<int>(k)) : loaded[k]),
              "lines 1 to 53 take the texts, the others pass through");

    MappingStore nextRun(files);
    nextRun.LoadBindings(kUserBindingsFile, selectors);
    nextRun.SaveBindings(selectors);
    Check(LinesOf(files.files[kUserBindingsFile]) == saved, "a saved file loads and saves unchanged");
    return 0;
}
