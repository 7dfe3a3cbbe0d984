#include "app/main/status_bar.h"

// commctrl.h needs windows.h before it.
#include <commctrl.h>
#include <windowsx.h>

#include <numeric>

#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// The least width of each part at 96 dpi; the last one reaches the window's edge.
constexpr std::array<int, StatusBar::kParts> kLeastWidths{88, 140, 72, 0};
constexpr int kTextMargin = 12;  // a part's borders and the space around its text

}  // namespace

void StatusBar::Remove() {
    if (bar_) DestroyWindow(bar_);
    bar_ = nullptr;
}

int StatusBar::Height() const {
    if (!bar_) return 0;
    RECT bar;
    GetWindowRect(bar_, &bar);
    return bar.bottom - bar.top;
}

void StatusBar::Fit() {
    if (bar_) SendMessageW(bar_, WM_SIZE, 0, 0);
}

// Each part is as wide as its text, and at least its least width; parts that don't fit together
// share the bar in proportion.
void StatusBar::Show(const Texts& texts) {
    if (!bar_) return;
    const int dpi = static_cast<int>(GetDpiForWindow(bar_));
    std::array<std::wstring, kParts> wide;
    std::array<int, kParts> widths{};
    HDC dc = GetDC(bar_);
    const HGDIOBJ old =
        SelectObject(dc, GetWindowFont(bar_) ? GetWindowFont(bar_) : GetStockObject(DEFAULT_GUI_FONT));
    for (std::size_t part = 0; part < kParts; ++part) {
        wide[part] = WideFromUtf8(texts[part]);
        SIZE text{};
        GetTextExtentPoint32W(dc, wide[part].data(), static_cast<int>(wide[part].size()), &text);
        widths[part] = std::max<int>(MulDiv(kLeastWidths[part], dpi, USER_DEFAULT_SCREEN_DPI),
                                     text.cx + MulDiv(kTextMargin, dpi, USER_DEFAULT_SCREEN_DPI));
    }
    SelectObject(dc, old);
    ReleaseDC(bar_, dc);
    RECT client;
    GetClientRect(bar_, &client);
    const int total = std::accumulate(widths.begin(), widths.end(), 0);
    std::array<int, kParts> edges{};
    int edge = 0;
    for (std::size_t part = 0; part < kParts; ++part) {
        edge += total > client.right ? MulDiv(widths[part], client.right, total) : widths[part];
        edges[part] = part + 1 == kParts ? -1 : edge;
    }
    SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (std::size_t part = 0; part < kParts; ++part)
        SendMessageW(bar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide[part].c_str()));
}

}  // namespace tastolink
