#pragma once

#include <windows.h>

#include <string>

#include "app/window/window.h"

namespace tastolink {

// What the shared field asks of the selector it sits in.
class SelectorFieldOwner {
public:
    virtual HWND SelectorWindow() const = 0;
    // Makes the field: an edit control at `place` of the selector, with the selector's font.
    virtual HWND MakeField(RECT place, int id) const = 0;
    // The text the field held as it left the selector.
    virtual void KeepText(std::wstring text) = 0;
    // A key pressed in the field; true when the selector took it.
    virtual bool OnFieldKey(WORD key, bool alt) = 0;
    // The wheel turned over the field, which keeps it to itself otherwise.
    virtual void OnWheel(WPARAM wheel) = 0;
    // A character was typed into the field.
    virtual void CompleteTyped() = 0;
    // The field's notification (EN_SETFOCUS, EN_KILLFOCUS, EN_UPDATE, EN_CHANGE).
    virtual void OnFieldEvent(WORD event) = 0;
    // WM_GETOBJECT asked of the field, which speaks for the selector as a combo box's field does;
    // 0 for the system's own answer.
    virtual LRESULT AnswerForField(WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~SelectorFieldOwner() = default;
};

// The one edit field the selectors share. It sits in the selector that last had the focus;
// the others draw their text themselves. An edit field of its own in each of 53 selectors
// costs Wine a good part of the start. The keys typed into it go to the selector it is in
// first, through a subclass of the edit control.
class SelectorField final : public Window {
public:
    bool IsIn(const SelectorFieldOwner& owner) const { return Handle() && owner_ == &owner; }
    // The selector the field is in, or nullptr.
    SelectorFieldOwner* Owner() const { return Handle() ? owner_ : nullptr; }
    // Moves the field into `owner` at `place`, with the selector's font and text; the selector it
    // leaves keeps the field's text. False when no field could be made.
    bool MoveInto(SelectorFieldOwner& owner, RECT place, HFONT font, const std::wstring& text);
    // The selector is going, and the field, a child of it, with it.
    void Forget(const SelectorFieldOwner& owner);
    // While a character typed into the field goes in, before the selector completes the text.
    bool Typing() const { return typing_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    SelectorFieldOwner* owner_ = nullptr;
    bool typing_ = false;
};

}  // namespace tastolink
