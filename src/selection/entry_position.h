#pragma once

#include <algorithm>
#include <cstddef>

namespace tastolink {

// Which entry of its list a selector shows, kept as a combo box keeps it: by index, so that
// a step goes on from the entry last shown, whatever other entries share its text or begin
// with it.
class EntryPosition {
public:
    static constexpr int kNone = -1;

    // The index of the entry shown, or kNone when the text is no entry.
    int Index() const { return index_; }

    // An entry shown by a step, a click in the list or an automation tool.
    void Show(int index) { index_ = index; }

    // A text typed by the user or set by the program: the entry shown before is forgotten, and
    // the text stands on the first entry that is exactly that text. An empty text stands on
    // none, as an empty combo box does. `Entries` is a list of texts with size() and an index.
    template <typename Entries, typename Text>
    void TextChanged(const Entries& entries, const Text& text) {
        index_ = kNone;
        if (text.empty()) return;
        for (std::size_t at = 0; at < entries.size() && index_ == kNone; ++at)
            if (entries[at] == text) index_ = static_cast<int>(at);
    }

    // Where a step of `by` entries lands in a list of `count`: from none on the first entry,
    // else `by` entries on, held within the list, so that steps stop at the ends. kNone for
    // an empty list.
    int Stepped(int by, int count) const {
        if (count <= 0) return kNone;
        if (index_ == kNone) return 0;
        return std::clamp(index_ + by, 0, count - 1);
    }

private:
    int index_ = kNone;
};

// The first entry after `start` (from the first one for kNone) that `matches`, going round
// past the end: the search of a combo box's CB_FINDSTRING and CB_FINDSTRINGEXACT. kNone when
// no entry matches.
template <typename Entries, typename Matches>
int FindEntryFrom(const Entries& entries, int start, Matches&& matches) {
    const int count = static_cast<int>(entries.size());
    if (start < EntryPosition::kNone || start >= count) start = EntryPosition::kNone;
    for (int offset = 1; offset <= count; ++offset) {
        const int index = (start + offset) % count;
        if (matches(entries[static_cast<std::size_t>(index)])) return index;
    }
    return EntryPosition::kNone;
}

}  // namespace tastolink
