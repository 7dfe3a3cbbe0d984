#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/window/accessible.h"
#include "app/window/tooltip.h"
#include "app/window/window.h"
#include "selection/entry_list.h"

namespace tastolink {

// What the list shows beside an entry, for the ports of the system: the device behind it, and
// whether the port is there at all.
struct EntryNote {
    std::wstring device;
    bool present = true;
};

// A selector's entries; one list is shared by every selector that offers the same.
using SelectorEntries = EntryList<wchar_t>;

// The selector a list drops for, as the list sees it: what it shows, and where the choice goes.
class SelectorListOwner {
public:
    // The list drops below it.
    virtual HWND SelectorWindow() const = 0;
    virtual HFONT EntryFont() const = 0;
    virtual const SelectorEntries& EntryList() const = 0;
    // Nullptr for an entry without a note.
    virtual const EntryNote* NoteOf(std::size_t index) const = 0;
    virtual const std::wstring& AccessibleName() const = 0;
    // The entry the list lights as it drops, or -1.
    virtual int ShownOrMatchingEntry() const = 0;
    // The keys moved the highlight to entry `index`, which the selector shows.
    virtual void KeysMovedTo(int index) = 0;
    // The list is about to close, its entry taken or not.
    virtual void ListClosing(bool taken) = 0;
    // The list has closed; `chosen` is the entry taken, or -1, and `clicked` whether the mouse took it.
    virtual void ListClosed(int chosen, bool clicked) = 0;

protected:
    ~SelectorListOwner() = default;
};

// The one list the selectors drop: a popup below the selector that dropped it, holding a
// system list box that holds no entries of its own (LBS_NODATA). It is told only how many
// entries there are and draws the ones in view from the selector's shared catalogue, so that
// any catalogue drops at once. As a combo box's list, it takes no focus (the keys stay with
// the selector's field) and holds the mouse while it is down: a click anywhere else only
// closes it, and so does anything that takes the mouse away (the menu, a move of the window).
class SelectorList final : public Window, private AccessibleFace {
public:
    static constexpr int kMostEntriesShown = 16;

    SelectorList() = default;
    ~SelectorList() override { Destroy(); }

    void Drop(SelectorListOwner& selector);
    // Where the list drops for `selector`, on the screen.
    RECT PlaceFor(const SelectorListOwner& selector) const;
    // The height of an entry in `font`.
    int EntryHeight(HFONT font) const;
    // Closes the list; with `take` the highlighted entry goes into the selector.
    void Close(bool take = false);
    bool IsDroppedFor(const SelectorListOwner& selector) const { return dropped_ == &selector; }
    // A key of the selector's field while the list is down, as the list box takes it: the
    // arrows, Page Up, Page Down, Home and End move the highlight, and the selector shows the
    // entry. False for a key the list box does not move by.
    bool MoveByKey(WORD key);
    // Highlights entry `index` (none for -1) without touching the selector's text.
    void Highlight(int index);
    void Scroll(WPARAM wheel);
    // The first entry in view.
    int TopEntry() const;
    // The mouse went up after a press on the selector's button: over an entry, that entry is
    // taken; elsewhere the list stays down and holds the mouse from now on.
    void ButtonReleasedAt(HWND window, LPARAM point);
    // The mouse moves, held since it pressed the selector's button: the entry under it lights.
    void ButtonHeldAt(HWND window, LPARAM point);

private:
    // The system list box inside the popup, whose mouse the list handles itself.
    class Box final : public Window {
    public:
        explicit Box(SelectorList& owner) : owner_(owner) {}

    private:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
        SelectorList& owner_;
    };

    HWND List() const { return box_.Handle(); }

    bool MakeWindows(HWND owner);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void DrawEntry(const DRAWITEMSTRUCT& item) const;
    LRESULT OnListMouse(UINT message, LPARAM lParam);
    // The entry at a point of `window`, or -1.
    int EntryAt(HWND window, LPARAM point) const;
    int EntryAtClient(POINT at) const;
    void HoldMouse();
    void HighlightAndTell(int index);
    // LB_GETTEXT and LB_GETTEXTLEN of entry `index` while the list is down.
    LRESULT EntryText(UINT message, WPARAM index, LPARAM buffer) const;
    void Close(bool take, bool clicked);
    // The mouse took entry `entry`.
    void CloseClicked(int entry);
    RECT PlaceFor(const SelectorListOwner& selector, int& notesLeft) const;
    // The width the list needs to show the notes beside the entries (0 without notes), and where
    // the notes begin.
    int WidthForNotes(const SelectorListOwner& selector, int& notesLeft) const;
    // The note of the entry under the mouse, told by the tooltip.
    void PointAt(int entry, const MSG& move);

    // AccessibleFace: the list and its entries.
    HWND AccessibleWindow() const override { return List(); }
    long Role() const override { return ROLE_SYSTEM_LIST; }
    std::wstring Name() const override;
    long State() const override;
    long ChildCount() const override;
    std::wstring ChildName(long child) const override;
    long ChildState(long child) const override;
    bool ChildPlace(long child, RECT& place) const override;
    long ChildAt(POINT client) const override;

    Box box_{*this};
    Tooltip noteTip_;    // made for the first list with notes
    int notesLeft_ = 0;  // set as the list drops
    SelectorListOwner* dropped_ = nullptr;
    bool releasingMouse_ = false;  // the capture changes at the list's own wish
    AccessibleObject accessible_{*this};
};

}  // namespace tastolink
