// The messages by which automation tools (AutoHotkey, pywinauto, test rigs) read and choose the
// entries of a drop-down combo box, answered by a selector as the combo box answers them. A
// choice made this way is the same as one made with the mouse: the text, and so the binding,
// changes.
#include <windowsx.h>

#include <algorithm>

#include "app/selector/selector.h"

namespace tastolink {
namespace {

// The entry's text into a caller's buffer, which CB_GETLBTEXTLEN has sized; its length.
LRESULT CopyEntry(const std::wstring& entry, LPARAM buffer) {
    if (!buffer) return CB_ERR;
    auto* to = reinterpret_cast<wchar_t*>(buffer);
    std::copy(entry.begin(), entry.end(), to);
    to[entry.size()] = L'\0';
    return static_cast<LRESULT>(entry.size());
}

bool SameIgnoringCase(const std::wstring& entry, const wchar_t* text, int length) {
    return CompareStringOrdinal(entry.data(), static_cast<int>(entry.size()), text, length, TRUE) ==
           CSTR_EQUAL;
}

bool BeginsIgnoringCase(const std::wstring& entry, const wchar_t* text, int length) {
    return static_cast<int>(entry.size()) >= length &&
           CompareStringOrdinal(entry.data(), length, text, length, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool Selector::AnswerComboMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const std::vector<std::wstring>& entries = *entries_;
    const int count = static_cast<int>(entries.size());
    const int index = static_cast<int>(wParam);
    const bool isEntry = index >= 0 && index < count;
    auto find = [&](bool exact) {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        if (!text) return EntryPosition::kNone;
        const int length = lstrlenW(text);
        return FindEntryFrom(entries, index, [&](const std::wstring& entry) {
            return exact ? SameIgnoringCase(entry, text, length) : BeginsIgnoringCase(entry, text, length);
        });
    };
    switch (message) {
        case CB_GETCOUNT:
            result = count;
            return true;
        case CB_GETCURSEL:
            result = position_.Index();
            return true;
        case CB_SETCURSEL:
            // Out of range, as -1: nothing chosen, and the text is cleared.
            ShowEntry(isEntry ? index : EntryPosition::kNone);
            result = isEntry ? index : CB_ERR;
            return true;
        case CB_GETLBTEXT:
            result = isEntry ? CopyEntry(entries[static_cast<std::size_t>(index)], lParam) : CB_ERR;
            return true;
        case CB_GETLBTEXTLEN:
            result = isEntry ? static_cast<LRESULT>(entries[static_cast<std::size_t>(index)].size()) : CB_ERR;
            return true;
        case CB_FINDSTRING:
        case CB_FINDSTRINGEXACT:
            result = find(message == CB_FINDSTRINGEXACT);
            return true;
        case CB_SELECTSTRING: {
            const int found = find(false);
            if (found != EntryPosition::kNone) ShowEntry(found);
            result = found;
            return true;
        }
        case CB_SHOWDROPDOWN:
            if ((wParam != FALSE) != parts_->list.IsDroppedFor(*this)) {
                if (wParam)
                    ToggleList();
                else
                    parts_->list.Close();
            }
            result = TRUE;
            return true;
        case CB_GETDROPPEDSTATE:
            result = parts_->list.IsDroppedFor(*this);
            return true;
    }
    return false;
}

}  // namespace tastolink
