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
LRESULT CopyEntry(std::wstring_view entry, LPARAM buffer) {
    if (!buffer) return CB_ERR;
    auto* to = reinterpret_cast<wchar_t*>(buffer);
    std::copy(entry.begin(), entry.end(), to);
    to[entry.size()] = L'\0';
    return static_cast<LRESULT>(entry.size());
}

bool SameIgnoringCase(std::wstring_view entry, const wchar_t* text, int length) {
    return CompareStringOrdinal(entry.data(), static_cast<int>(entry.size()), text, length, TRUE) ==
           CSTR_EQUAL;
}

bool BeginsIgnoringCase(std::wstring_view entry, const wchar_t* text, int length) {
    return static_cast<int>(entry.size()) >= length &&
           CompareStringOrdinal(entry.data(), length, text, length, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool Selector::AnswerComboMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    const SelectorEntries& entries = *entries_;
    const int count = static_cast<int>(entries.size());
    const int index = static_cast<int>(wParam);
    const bool isEntry = index >= 0 && index < count;
    auto find = [&](bool exact) {
        // An empty text finds nothing, not even an empty entry.
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        if (!text || !*text) return EntryPosition::kNone;
        const int length = lstrlenW(text);
        return FindEntryFrom(entries, index, [&](std::wstring_view entry) {
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
            // Out of range, as -1: nothing chosen, and the text is cleared. The list, next time it
            // drops, shows the entry at its top, as far as a page goes.
            ShowEntry(isEntry ? index : EntryPosition::kNone);
            if (isEntry) topEntry_ = std::min(index, std::max(count - SelectorList::kMostEntriesShown, 0));
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
        case CB_GETDROPPEDCONTROLRECT:
            // The selector and its list as it drops, in screen pixels.
            if (lParam) {
                RECT frame, list = parts_->list.PlaceFor(*this);
                GetWindowRect(Handle(), &frame);
                UnionRect(reinterpret_cast<RECT*>(lParam), &frame, &list);
            }
            result = CB_OKAY;
            return true;
        case CB_GETITEMHEIGHT:
            // -1 asks for the selection field's, padding included; an index for the list's entries.
            result = index < 0 ? FieldAreaHeight() : parts_->list.EntryHeight(Font());
            return true;
        case CB_GETTOPINDEX:
            result = parts_->list.IsDroppedFor(*this) ? parts_->list.TopEntry() : topEntry_;
            return true;
        case CB_GETEDITSEL: {
            const DWORD selection =
                Field() ? static_cast<DWORD>(SendMessageW(Field(), EM_GETSEL, 0, 0)) : keptSelection_;
            if (wParam) *reinterpret_cast<DWORD*>(wParam) = LOWORD(selection);
            if (lParam) *reinterpret_cast<DWORD*>(lParam) = HIWORD(selection);
            result = selection;
            return true;
        }
        case CB_SETEDITSEL:
            SetSelection(static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
            result = TRUE;
            return true;
        case CB_LIMITTEXT:
            textLimit_ = static_cast<UINT>(wParam);
            if (Field()) Edit_LimitText(Field(), textLimit_);
            result = TRUE;
            return true;
    }
    return false;
}

// As an edit field takes EM_SETSEL: -1 for the start takes the selection away, leaving the caret at
// its end; -1 for the end selects to the end of the text.
void Selector::SetSelection(int start, int end) {
    if (HWND field = Field()) return Edit_SetSel(field, start, end);
    const int length = static_cast<int>(text_.size());
    if (start < 0) start = end = HIWORD(keptSelection_);
    if (end < 0 || end > length) end = length;
    start = std::clamp(start, 0, length);
    keptSelection_ = MAKELONG(std::min(start, end), std::max(start, end));
}

}  // namespace tastolink
