// The mapping store over its line buffer, fed arbitrary mapping files and selector texts.
//
// Input: the user's mapping file, 53 selector texts and then a default mapping file, taken by
// FuzzedDataProvider (a backslash followed by anything but a backslash ends each of the first
// 54 pieces; the default file is the rest).

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
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

struct RecordingSelectors : Selectors {
    std::string Text(int comboBoxNumber) const override {
        auto text = texts.find(comboBoxNumber);
        return text == texts.end() ? "" : text->second;
    }
    void SetText(int comboBoxNumber, const std::string& ansiText) override {
        shownOrder.push_back(comboBoxNumber);
        texts[comboBoxNumber] = ansiText;
    }
    void ReplaceItems(int, const std::vector<std::string>&) override {}
    std::map<int, std::string> texts;
    std::vector<int> shownOrder;
};

// A selector shows one line: its text never holds a line break or a zero byte.
std::string SelectorText(std::string text) {
    std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    return text;
}

std::string LineOr(const std::vector<std::string>& lines, std::size_t k) {
    return k < lines.size() ? lines[k] : std::string();
}

// Line k of the file shows in ComboBox<k>, in order 1 to 53; a missing line shows empty.
void CheckShown(Selectors& selectors, const std::vector<std::string>& lines) {
    std::vector<int> inOrder(kLines);
    for (int k = 1; k <= kLines; ++k) inOrder[k - 1] = k;
    Check(selectors.shownOrder == inOrder, "a load sets ComboBox1 to ComboBox53 once each, in order");
    for (int k = 1; k <= kLines; ++k)
        Check(selectors.Text(k) == LineOr(lines, k), "a selector shows its line");
    selectors.shownOrder.clear();
}

void CheckLineBuffer(std::string_view bytes, const std::vector<std::string>& lines) {
    LineBuffer buffer;
    buffer.Load(bytes);
    Check(buffer.LineCount() == fuzz::LineBreaks(bytes) + 1, "n line breaks make n + 1 lines");
    Check(buffer.LineCount() == lines.size(), "line count");
    for (std::size_t k = 0; k < lines.size(); ++k) Check(buffer.Line(k) == lines[k], "line text");
    Check(buffer.Line(lines.size()).empty(), "a missing line reads empty");
    const std::string text = fuzz::JoinedByCrLf(lines);
    Check(buffer.Text() == text, "the text is the lines joined by CR LF");
    buffer.SetLine(lines.size(), "added");
    Check(buffer.LineCount() == lines.size() && buffer.Text() == text, "writing a missing line adds none");
}

}  // namespace
}  // namespace tastolink

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tastolink;
    FuzzedDataProvider input(data, size);
    const std::string userFile = input.ConsumeRandomLengthString();
    std::array<std::string, kLines + 1> edits;
    for (int k = 1; k <= kLines; ++k) edits[k] = SelectorText(input.ConsumeRandomLengthString());
    const std::string defaultFile = input.ConsumeRemainingBytesAsString();

    const std::vector<std::string> loaded = fuzz::ReferenceLines(userFile);
    CheckLineBuffer(userFile, loaded);

    FakeSettingsFiles files;
    RecordingSelectors selectors;
    MappingStore store(files);
    store.SaveBindings(selectors);
    Check(files.writes.empty(), "nothing is saved before bindings were loaded");

    files.files[kUserBindingsFile] = userFile;
    store.LoadBindings(kUserBindingsFile, selectors);
    CheckShown(selectors, loaded);

    for (int k = 1; k <= kLines; ++k) selectors.texts[k] = edits[k];
    store.SaveBindings(selectors);
    std::vector<std::string> expected = loaded;
    for (std::size_t k = 1; k <= kLines && k < expected.size(); ++k) expected[k] = edits[k];
    const std::string saved = files.files[kUserBindingsFile];
    Check(saved == fuzz::JoinedByCrLf(expected),
          "the saved file is the loaded one with lines 1 to 53 replaced");
    const std::vector<std::string> savedLines = fuzz::ReferenceLines(saved);
    Check(savedLines.size() == loaded.size(), "a save adds and drops no line");
    Check(savedLines[0] == loaded[0], "line 0 passes through");
    Check(std::equal(savedLines.begin() + std::min<std::size_t>(savedLines.size(), kLines + 1),
                     savedLines.end(), loaded.begin() + std::min<std::size_t>(loaded.size(), kLines + 1)),
          "the lines after 53 pass through");

    store.LoadBindings(kUserBindingsFile, selectors);
    CheckShown(selectors, expected);

    // A further load replaces the whole buffer: nothing of the earlier file or texts remains.
    files.files[kDefaultBindingsFile] = defaultFile;
    store.LoadBindings(kDefaultBindingsFile, selectors);
    const std::vector<std::string> defaults = fuzz::ReferenceLines(defaultFile);
    CheckShown(selectors, defaults);
    store.SaveBindings(selectors);
    Check(files.files[kUserBindingsFile] == fuzz::JoinedByCrLf(defaults),
          "unchanged texts save the loaded file with its line breaks made CR LF");
    Check(files.files[kDefaultBindingsFile] == defaultFile, "the default file is never written");
    return 0;
}
