#include "app/features/typing_dialog.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr int kFieldId = 100;

// The controls at 96 dpi.
constexpr Box kLabel{8, 8, 344, 13};
constexpr Box kField{8, 24, 344, 120};
constexpr Box kTypeButton{196, 156, 75, 23};
constexpr Box kCancelButton{277, 156, 75, 23};

// The UTF-16 units of `text` before its character `position` (from 1).
int UnitsBefore(const std::wstring& text, std::size_t position) {
    std::size_t units = 0;
    for (std::size_t character = 1; character < position && units < text.size(); ++character)
        units += IS_HIGH_SURROGATE(text[units]) ? 2 : 1;
    return static_cast<int>(std::min(units, text.size()));
}

}  // namespace

TypingDialog::TypingDialog(Check check)
    : ModalDialog({.className = L"TastolinkTypingDialog", .caption = L"Набрать текст", .client = {360, 190}}),
      check_(std::move(check)) {}

std::optional<std::string> TypingDialog::Ask(HWND owner, const std::string& text) {
    text_ = text;
    if (!RunModal(owner)) return std::nullopt;
    return text_;
}

bool TypingDialog::BuildControls() {
    const std::wstring wide = WideFromUtf8(text_);
    // Creation order is tab order; the label before the field names it for a screen reader.
    const bool made =
        AddControl(
            {.windowClass = WC_STATICW, .text = L"Текст для телефона:", .place = ScaledRect(kLabel)}) &&
        (field_ = AddControl({.windowClass = WC_EDITW,
                              .text = wide.c_str(),
                              .style = WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
                              .id = kFieldId,
                              .place = ScaledRect(kField),
                              .extendedStyle = WS_EX_CLIENTEDGE})) &&
        AddControl({.windowClass = WC_BUTTONW,
                    .text = L"Набрать",
                    .style = WS_TABSTOP | BS_DEFPUSHBUTTON,
                    .id = IDOK,
                    .place = ScaledRect(kTypeButton)}) &&
        AddControl({.windowClass = WC_BUTTONW,
                    .text = L"Отмена",
                    .style = WS_TABSTOP | BS_PUSHBUTTON,
                    .id = IDCANCEL,
                    .place = ScaledRect(kCancelButton)});
    // The last text comes back whole, ready to be typed again or typed over.
    if (made) Edit_SetSel(field_, 0, -1);
    return made;
}

void TypingDialog::OnCommand(int id, WORD /*notification*/) {
    if (id != IDOK) return;
    const std::wstring wide = WindowText(field_);
    const std::string text = Utf8FromWide(wide);
    if (const auto refused = check_(Handle(), text)) {
        const int from = UnitsBefore(wide, *refused);
        const int length = from < static_cast<int>(wide.size()) && IS_HIGH_SURROGATE(wide[from]) ? 2 : 1;
        SetFocus(field_);
        Edit_SetSel(field_, from, from + length);
        Edit_ScrollCaret(field_);
        return;
    }
    text_ = text;
    End(true);
}

}  // namespace tastolink
