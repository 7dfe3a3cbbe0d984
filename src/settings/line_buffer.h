#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace tastolink {

// The hidden line list through which a settings file is read and written back.
// Every line break of a loaded text (CR LF, lone CR, lone LF) becomes CR LF; a text with
// n line breaks has n + 1 lines, so an empty buffer is one empty line. A line is one line
// however long it is: nothing is wrapped.
class LineBuffer {
public:
    // Replaces the whole text. A zero byte ends the content. Throws SettingsError
    // ("Text exceeds memo capacity") when memory runs out; the buffer is then unchanged.
    void Load(std::string_view bytes);

    std::size_t LineCount() const { return ends_.size(); }
    // The empty text for a line the buffer lacks.
    std::string Line(std::size_t k) const;
    // Does nothing for a line the buffer lacks: no line is ever added.
    void SetLine(std::size_t k, std::string_view text);
    // The lines joined by CR LF, nothing after the last.
    std::string Text() const;

private:
    // The loaded lines back to back, without their breaks; line k ends at ends_[k]. One
    // string and one offset per line keep a large file cheap to load.
    std::string content_;
    std::vector<std::size_t> ends_{0};
    // Lines replaced since the load.
    std::map<std::size_t, std::string> changed_;
};

}  // namespace tastolink
