#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/selector/selector_field.h"
#include "app/selector/selector_list.h"
#include "app/window/accessible.h"
#include "app/window/window.h"
#include "selection/entry_position.h"

namespace tastolink {

// What all selectors share: the edit field and the dropped list.
struct SelectorParts {
    SelectorList list;
    SelectorField field;
};

// A selection field that looks and answers as a drop-down combo box: a text field, and a button
// that drops a list of entries to choose from. A combo box is three windows, its list a
// top-level one from the start, which under Wine costs every combo box an X window of its own.
// A selector is one window: it draws its text itself, and takes the shared edit field while it
// has the focus; the list is one popup, made when a list is first dropped.
//
// It is a combo box to everyone who asks: to the user by its keys and mouse, to automation
// tools by the combo box's own messages (CB_GETCOUNT, CB_SETCURSEL, CB_GETLBTEXT ...), and to
// assistive technology by an accessible object of the combo box role.
class Selector final : public Window,
                       private AccessibleFace,
                       private SelectorFieldOwner,
                       private SelectorListOwner {
public:
    using EntryNote = tastolink::EntryNote;
    using Entries = std::shared_ptr<const SelectorEntries>;
    using Notes = std::shared_ptr<const std::vector<EntryNote>>;

    Selector() = default;
    ~Selector() override { Destroy(); }

    // `place` is the frame; the field takes its height less the border. `name` is what
    // assistive technology calls the selector.
    bool Create(HWND parent, int id, RECT place, std::wstring name, SelectorParts& parts);

    std::wstring Text() const;
    // A text as the program sets it: the selector stands on the entry it names.
    void SetText(std::wstring_view text);
    const SelectorEntries& EntryList() const override { return *entries_; }
    // With `notes`, one for each entry, the dropped list shows them beside the entries.
    void SetEntries(Entries entries, Notes notes = nullptr);
    const EntryNote* NoteOf(std::size_t index) const override {
        return notes_ && index < notes_->size() ? &(*notes_)[index] : nullptr;
    }
    // Runs before the list drops, so that entries read afresh are the ones it shows.
    void SetBeforeDrop(std::function<void()> beforeDrop) { beforeDrop_ = std::move(beforeDrop); }
    const std::wstring& AccessibleName() const override { return name_; }
    // The edit field while this selector has it, else nullptr.
    HWND Field() const { return parts_ && parts_->field.IsIn(*this) ? parts_->field.Handle() : nullptr; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The combo box's messages, answered as a drop-down combo box does; false for any other.
    bool AnswerComboMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnHotChanged() override;

    // SelectorFieldOwner and SelectorListOwner
    HWND SelectorWindow() const override { return Handle(); }
    // The shared field, made in this selector the first time one has the focus.
    HWND MakeField(RECT place, int id) const override;
    void KeepText(std::wstring text) override;
    // Up and Down step through the entries, F4 and Alt+Up or Alt+Down drop the list or close it;
    // while it is dropped Enter and Esc close it too and the list's keys move in it.
    bool OnFieldKey(WORD key, bool alt) override;
    // After a character typed at the end of the field: completes the text to the first entry
    // that begins with it, the completed part selected, so F shows "F1" and N shows "Num0".
    void CompleteTyped() override;
    // The wheel, over the selector or in its field, which has it as the focus window.
    void OnWheel(WPARAM wheel) override;
    void OnFieldEvent(WORD event) override;
    LRESULT AnswerForField(WPARAM wParam, LPARAM lParam) override {
        return accessible_.Answer(wParam, lParam);
    }
    HFONT EntryFont() const override { return Font(); }
    // The entry shown, else the first that begins with the text.
    int ShownOrMatchingEntry() const override;
    void KeysMovedTo(int index) override;
    void ListClosing(bool taken) override;
    void ListClosed(int chosen, bool clicked) override;

    // Shows entry `index` (none for -1, with an empty text).
    void ShowEntry(int index);
    // Tells the parent what happened, as a combo box does: WM_COMMAND with a CBN_ code.
    void Notify(WORD code) const;

    // The first entry that begins with `text`, ignoring case, or -1.
    int FindEntry(const std::wstring& text) const;

    void Step(int by);
    // What the field's text becomes when the field is elsewhere: a text's length, as an edit field counts.
    DWORD Selection() const;
    void SetSelection(int start, int end);
    void ToggleList();
    void ShowText(std::wstring_view text);
    bool TakeField();
    RECT FieldRect() const;
    // Within the border: the field and the padding around it.
    int FieldAreaHeight() const;
    RECT ButtonRect() const;
    void Paint(HDC dc);
    void PaintText(HDC dc);
    void OnButtonDown(LPARAM point);
    void OnContextMenu(LPARAM point);
    void SetButtonPressed(bool pressed);

    // AccessibleFace
    HWND AccessibleWindow() const override { return Handle(); }
    long Role() const override { return ROLE_SYSTEM_COMBOBOX; }
    std::wstring Name() const override { return name_; }
    std::wstring Value() const override { return Text(); }
    long State() const override;
    std::wstring DefaultAction() const override;
    void DoDefaultAction() override { ToggleList(); }
    // A client's value is set as the program sets a text; its choice of an entry is the user's.
    bool SetValue(const std::wstring& value) override {
        SetText(value);
        return true;
    }
    long Chosen() const override { return position_.Index(); }
    std::wstring ChoiceName(long index) const override;
    void Choose(long index) override;

    SelectorParts* parts_ = nullptr;
    std::wstring name_;
    std::wstring text_;  // while the field is elsewhere
    Entries entries_ = std::make_shared<const SelectorEntries>();
    Notes notes_;
    std::function<void()> beforeDrop_;
    EntryPosition position_;
    int topEntry_ = 0;         // the first entry in view when the list last dropped
    DWORD keptSelection_ = 0;  // the field's selection as it left, MAKELONG(start, end)
    UINT textLimit_ = 0;       // CB_LIMITTEXT's, 0 for none
    bool buttonDown_ = false;
    bool showingEntry_ = false;        // the field's text is being set by the program
    bool changedWhileTyping_ = false;  // told once the typed character is completed
    AccessibleObject accessible_{*this};
};

}  // namespace tastolink
