#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "app/window/window.h"

namespace tastolink {

// "Набрать текст": a multi-line field for the text and "Набрать", modal over the main window.
// Enter types (the phone's text has no line breaks), Esc cancels, Tab moves between the field and
// the buttons.
class TypingDialog final : public Window {
public:
    // Asked on "Набрать" with the field's text (UTF-8): nothing when it can be typed; else the
    // position (from 1, in characters) of the first character that can't, once a box has said why.
    // The dialog then stays, that character selected.
    using Check = std::function<std::optional<std::size_t>(HWND dialog, const std::string& text)>;

    explicit TypingDialog(Check check) : check_(std::move(check)) {}
    // Shows the dialog over `owner`, the field holding `text`, until a text is taken or the user
    // cancels; the text taken, or nothing.
    std::optional<std::string> Ask(HWND owner, const std::string& text);

    bool PreTranslateMessage(MSG& message) override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool LayOut(const std::string& text);
    void Accept();

    Check check_;
    HWND field_ = nullptr;
    std::optional<std::string> taken_;
    bool open_ = true;
};

}  // namespace tastolink
