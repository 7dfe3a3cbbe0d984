#include "app/status_bar.h"

// commctrl.h needs windows.h before it.
#include <commctrl.h>

#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// Right edges of the parts at 96 dpi; the last one reaches the window's edge.
constexpr std::array<int, StatusBar::kParts> kPartEdges{88, 228, 300, -1};

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

void StatusBar::Show(const Texts& texts) {
    if (!bar_) return;
    const int dpi = static_cast<int>(GetDpiForWindow(bar_));
    std::array<int, kParts> edges{};
    for (std::size_t part = 0; part < edges.size(); ++part)
        edges[part] = kPartEdges[part] < 0 ? -1 : MulDiv(kPartEdges[part], dpi, USER_DEFAULT_SCREEN_DPI);
    SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (std::size_t part = 0; part < texts.size(); ++part)
        SendMessageW(bar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(WideFromUtf8(texts[part]).c_str()));
}

}  // namespace tastolink
