#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace tastolink {

class Selector;

// The one list the selectors drop, a popup below the selector that dropped it. It takes no
// focus: the keys stay with the selector's field, and any click elsewhere closes it.
class SelectorList {
public:
    SelectorList() = default;
    ~SelectorList();
    SelectorList(const SelectorList&) = delete;
    SelectorList& operator=(const SelectorList&) = delete;

    void Drop(Selector& selector);
    // Closes the list; with `take` the highlighted entry goes into the selector's field.
    void Close(bool take = false);
    bool IsDroppedFor(const Selector& selector) const { return dropped_ == &selector; }
    // A click on any window but the list and the selector that dropped it closes the list.
    void CloseUnlessOn(HWND target);
    // Moves the highlight by `step` entries and shows the entry in the field.
    void Step(int step);
    // The mouse, held since it pressed a selector's button, at `point` of `window`: the entry
    // under it is highlighted, and taken with `take`.
    void PointedFrom(HWND window, LPARAM point, bool take);
    // Highlights entry `index` (none for -1) without touching the field.
    void Highlight(int index);
    void Scroll(WPARAM wheel);

private:
    static LRESULT CALLBACK PopupProcedure(HWND popup, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self);
    bool MakePopup(HWND owner);
    int EntryAt(LPARAM point) const;

    HWND popup_ = nullptr;
    Selector* dropped_ = nullptr;
    // The entries the list holds: the 52 binding selectors share one catalogue, which is put
    // into the list once.
    std::shared_ptr<const std::vector<std::wstring>> filledWith_;
};

}  // namespace tastolink
