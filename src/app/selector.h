#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/selector_field.h"
#include "app/selector_list.h"
#include "app/window.h"

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
class Selector : public Window {
public:
    using Entries = std::shared_ptr<const std::vector<std::wstring>>;

    Selector() = default;
    ~Selector() override;

    // `place` is the frame; the field takes its height less the border.
    bool Create(HWND parent, int id, RECT place, SelectorParts& parts);

    // The edit field while this selector has it, else nullptr.
    HWND Field() const { return parts_ && parts_->field.IsIn(*this) ? parts_->field.Handle() : nullptr; }
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    // The text the shared field held as it left this selector.
    void KeepText(std::wstring text);

    const std::vector<std::wstring>& EntryList() const { return *entries_; }
    const Entries& SharedEntries() const { return entries_; }
    void SetEntries(Entries entries) { entries_ = std::move(entries); }
    // The first entry that begins with `text`, ignoring case, or -1.
    int FindEntry(const std::wstring& text) const;
    void ShowEntry(int index);

    // A key pressed in the field: Up and Down step through the entries, F4 and Alt+Up or
    // Alt+Down drop the list or close it; while it is dropped Enter and Esc close it too.
    // True when the key was taken.
    bool OnFieldKey(WORD key, bool alt);
    // After a character typed at the end of the field: completes the text to the first entry
    // that begins with it, the completed part selected, so F shows "F1" and N shows "Num0".
    void CompleteTyped();

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool TakeField();
    RECT FieldRect() const;
    RECT ButtonRect() const;
    void Paint(HDC dc);
    void PaintText(HDC dc);
    void OnButtonDown(LPARAM point);
    void OnFieldEvent(WORD event);
    void SetButtonLook(bool pressed, bool hot);

    SelectorParts* parts_ = nullptr;
    HFONT font_ = nullptr;
    std::wstring text_;  // while the field is elsewhere
    Entries entries_ = std::make_shared<const std::vector<std::wstring>>();
    bool buttonDown_ = false;
    bool hot_ = false;
    bool showingEntry_ = false;  // the field's text is being set from the entries
};

}  // namespace tastolink
