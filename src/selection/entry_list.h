#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tastolink {

// The entries of a selector's list as one text: their characters back to back, and where each one
// ends. A catalogue of two million short key names costs its characters and four bytes an entry
// this way, where a string apiece costs 32 bytes before its characters. `Char` is the character
// type of the entries.
template <typename Char>
class EntryList {
public:
    using View = std::basic_string_view<Char>;

    EntryList() = default;
    EntryList(std::initializer_list<View> entries) {
        for (View entry : entries) Add(entry);
    }

    // The lines of `text`, one entry each, nothing trimmed: every line break (CR LF, a lone CR, a
    // lone LF) ends an entry, so empty lines between breaks are entries; a break at the very end
    // adds no entry, so an empty text has none. A zero character ends the content. Throws
    // std::length_error for a text past four billion characters, std::bad_alloc without memory.
    static EntryList FromLines(std::basic_string<Char> text) {
        text.resize(std::min(text.size(), text.find(Char{})));
        EntryList list;
        std::size_t breaks = 0;
        for (Char c : text) breaks += c == Char('\r') || c == Char('\n');
        list.ends_.reserve(breaks + 1);
        std::size_t kept = 0;
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (text[at] != Char('\r') && text[at] != Char('\n')) {
                text[kept++] = text[at];
                continue;
            }
            list.End(kept);
            if (text[at] == Char('\r') && at + 1 < text.size() && text[at + 1] == Char('\n')) ++at;
        }
        if (kept > (list.ends_.empty() ? 0 : list.ends_.back())) list.End(kept);
        text.resize(kept);
        text.shrink_to_fit();
        list.text_ = std::move(text);
        return list;
    }

    void Add(View entry) {
        text_.append(entry);
        End(text_.size());
    }

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    View operator[](std::size_t index) const {
        const std::size_t start = index == 0 ? 0 : ends_[index - 1];
        return View(text_).substr(start, ends_[index] - start);
    }
    View front() const { return (*this)[0]; }

    bool operator==(const EntryList&) const = default;

private:
    void End(std::size_t at) {
        if (at > std::numeric_limits<std::uint32_t>::max()) throw std::length_error("entries too long");
        ends_.push_back(static_cast<std::uint32_t>(at));
    }

    std::basic_string<Char> text_;
    std::vector<std::uint32_t> ends_;
};

}  // namespace tastolink
