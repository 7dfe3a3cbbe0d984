#pragma once

#include <windows.h>

#include <string>

namespace tastolink {

class Selector;

// The one edit field the selectors share. It sits in the selector that last had the focus;
// the others draw their text themselves. An edit field of its own in each of 53 selectors
// costs Wine a good part of the start. The keys typed into it go to the selector it is in
// first, through a plain subclass of its window procedure (comctl32's subclassing would cost
// Wine a trip to its server for every message).
class SelectorField {
public:
    SelectorField() = default;
    SelectorField(const SelectorField&) = delete;
    SelectorField& operator=(const SelectorField&) = delete;

    HWND Handle() const { return edit_; }
    bool IsIn(const Selector& selector) const { return edit_ && owner_ == &selector; }
    // The selector the field is in, or nullptr.
    Selector* Owner() const { return edit_ ? owner_ : nullptr; }
    // Moves the field into `selector` at `place`, with the selector's font and text; the
    // selector it leaves keeps the field's text. False when no field could be made.
    bool MoveInto(Selector& selector, RECT place, HFONT font, const std::wstring& text);
    // The selector is going, and the field with it.
    void Forget(const Selector& selector);

private:
    static LRESULT CALLBACK Procedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

    HWND edit_ = nullptr;
    Selector* owner_ = nullptr;
    WNDPROC editProcedure_ = nullptr;
};

}  // namespace tastolink
