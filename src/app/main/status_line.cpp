#include "app/main/status_line.h"

// commctrl.h needs windows.h before it.
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "app/main/main_window_layout.h"
#include "app/window/message_ids.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

// The least width of each segment at 96 dpi, by Segment.
constexpr std::array<int, static_cast<std::size_t>(Segment::kCount)> kLeastWidths{88, 140, 72, 72, 72,
                                                                                  72, 72,  72, 60, 72};
// A phone's display may say a lot: its segment is cut at this width, and its tip shows it whole.
constexpr int kMostDisplayWidth = 180;
constexpr int kTextMargin = 12;  // a part's borders and the space around its text
// A phone that floods the port changes the texts with every read. Each showing repaints the bar
// through the Wine server and the X server (about 2 ms under Wine), which no eye follows at 100 a
// second: new texts show at once after a quiet spell, and at most this often while they keep coming.
constexpr ULONGLONG kLeastGapMs = 100;

// The timer only asks for the showing, through the message that the window routes to Refresh; it
// asks again at its next tick while the window's queue is full.
void CALLBACK AskForRefresh(HWND window, UINT, UINT_PTR timer, DWORD) {
    if (PostMessageW(window, kStatusLineMessage, 0, 0)) KillTimer(window, timer);
}

}  // namespace

void StatusLine::Write(Segment segment, std::optional<std::string> text) {
    auto& kept = texts_[static_cast<std::size_t>(segment)];
    if (kept == text) return;
    kept = std::move(text);
    // The bar that comes or goes changes the window at once. A new text, or a segment that comes or
    // goes in a bar that stays, waits for the others that come with it: a phone that floods the
    // port changes them thousands of times a second (its indicators unknown, then known again).
    const bool wanted = std::ranges::any_of(texts_, [](const auto& shown) { return shown.has_value(); });
    if (wanted != (bar_ != nullptr)) return Refresh();
    if (refreshPending_ || !bar_) return;
    const ULONGLONG now = GetTickCount64();
    refreshPending_ = now >= shownAtMs_ + kLeastGapMs
                          ? PostMessageW(window_, kStatusLineMessage, 0, 0) != FALSE
                          : SetTimer(window_, kStatusLineTimerId,
                                     static_cast<UINT>(shownAtMs_ + kLeastGapMs - now), AskForRefresh) != 0;
}

void StatusLine::Refresh() {
    refreshPending_ = false;
    shownAtMs_ = GetTickCount64();
    const bool wanted = std::ranges::any_of(texts_, [](const auto& shown) { return shown.has_value(); });
    if (wanted && !bar_ && window_) {
        // In the system's own status font, which has the arrow "→" that the window's raster font lacks.
        bar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBT_TOOLTIPS, 0, 0, 0, 0,
                               window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusBarId)),
                               GetModuleHandleW(nullptr), nullptr);
        if (resized_) resized_();
    } else if (!wanted && bar_) {
        Remove();
        if (resized_) resized_();
    }
    Show();
}

void StatusLine::Remove() {
    if (bar_) DestroyWindow(bar_);
    bar_ = nullptr;
}

void StatusLine::Remake() {
    if (!bar_) return;
    Remove();
    Refresh();
}

int StatusLine::Height() const {
    if (!bar_) return 0;
    RECT bar;
    GetWindowRect(bar_, &bar);
    return bar.bottom - bar.top;
}

void StatusLine::Fit() {
    if (bar_) SendMessageW(bar_, WM_SIZE, 0, 0);
}

// Each part is as wide as its text, and at least its least width; parts that don't fit together
// share the bar in proportion.
void StatusLine::Show() {
    if (!bar_) return;
    const int dpi = static_cast<int>(GetDpiForWindow(bar_));
    std::vector<std::wstring> wide, tips;
    std::vector<int> widths;
    HDC dc = GetDC(bar_);
    const HGDIOBJ old =
        SelectObject(dc, GetWindowFont(bar_) ? GetWindowFont(bar_) : GetStockObject(DEFAULT_GUI_FONT));
    for (std::size_t segment = 0; segment < texts_.size(); ++segment) {
        if (!texts_[segment]) continue;
        wide.push_back(WideFromUtf8(*texts_[segment]));
        SIZE text{};
        GetTextExtentPoint32W(dc, wide.back().data(), static_cast<int>(wide.back().size()), &text);
        int width = std::max<int>(MulDiv(kLeastWidths[segment], dpi, USER_DEFAULT_SCREEN_DPI),
                                  text.cx + MulDiv(kTextMargin, dpi, USER_DEFAULT_SCREEN_DPI));
        const bool cut = segment == static_cast<std::size_t>(Segment::PhoneDisplay);
        if (cut) width = std::min(width, MulDiv(kMostDisplayWidth, dpi, USER_DEFAULT_SCREEN_DPI));
        widths.push_back(width);
        tips.push_back(cut ? wide.back() : L"");
    }
    SelectObject(dc, old);
    ReleaseDC(bar_, dc);
    RECT client;
    GetClientRect(bar_, &client);
    const int total = std::accumulate(widths.begin(), widths.end(), 0);
    std::vector<int> edges(widths.size());
    int edge = 0;
    for (std::size_t part = 0; part < widths.size(); ++part) {
        edge += total > client.right ? MulDiv(widths[part], client.right, total) : widths[part];
        edges[part] = part + 1 == widths.size() ? -1 : edge;
    }
    SendMessageW(bar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    // Parts move from segment to segment as segments come and go: every part's tip is set anew.
    for (std::size_t part = 0; part < wide.size(); ++part) {
        SendMessageW(bar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide[part].c_str()));
        SendMessageW(bar_, SB_SETTIPTEXTW, part, reinterpret_cast<LPARAM>(tips[part].c_str()));
    }
}

}  // namespace tastolink
