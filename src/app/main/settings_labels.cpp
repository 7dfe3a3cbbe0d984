#include "app/main/settings_labels.h"

#include "app/main/main_window_layout.h"
#include "shared/text_encoding.h"

namespace tastolink {

void PaintSettingsLabels(HDC dc, HFONT font, const std::function<RECT(Box)>& scaled) {
    const HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    auto draw = [&](std::string_view text, Box box, UINT format) {
        RECT at = scaled(InPanel(Panel::Settings, box));
        DrawTextW(dc, WideFromUtf8(text).c_str(), -1, &at, DT_LEFT | DT_EXPANDTABS | format);
    };
    for (const ColumnHeader& header : kColumnHeaders)
        draw(header.text, {header.left, 16, header.width, kLabelHeight}, 0);
    for (int row = 0; row < kPhoneKeyCount; ++row)
        draw(kPhoneKeyTable[row].label,
             {kRowLabelLeft, kRowTop + kRowPitch * row + 4, kMainSelectorLeft - kRowLabelLeft, kLabelHeight},
             DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

}  // namespace tastolink
