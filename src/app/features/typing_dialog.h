#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "app/window/modal_dialog.h"

namespace tastolink {

// "Набрать текст": a multi-line field for the text and "Набрать", modal over the main window.
// Enter in the field types too: the phone's text has no line breaks.
class TypingDialog final : public ModalDialog {
public:
    // Asked on "Набрать" with the field's text (UTF-8): nothing when it can be typed; else the
    // position (from 1, in characters) of the first character that can't, once a box has said why.
    // The dialog then stays, that character selected.
    using Check = std::function<std::optional<std::size_t>(HWND dialog, const std::string& text)>;

    explicit TypingDialog(Check check);
    // Shows the dialog over `owner`, the field holding `text`, until a text is taken or the user
    // cancels; the text taken, or nothing. Throws std::runtime_error when the dialog can't be made.
    std::optional<std::string> Ask(HWND owner, const std::string& text);

private:
    bool BuildControls() override;
    // "Набрать": the field's text is taken once the check lets it through.
    void OnCommand(int id, WORD notification) override;

    Check check_;
    HWND field_ = nullptr;
    std::string text_;  // offered, then taken
};

}  // namespace tastolink
