#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/features/status_segments.h"

namespace tastolink {

// The status bar under the window's layout, made while a segment shows and gone otherwise. Each
// segment shown is a part of the bar, as wide as its text and at least its least width; the last
// part reaches the window's edge.
class StatusLine final : public StatusSegments {
public:
    // `resized` runs when the bar comes or goes, so that the window can take its height in.
    StatusLine(std::function<void()> resized) : resized_(std::move(resized)) {}
    ~StatusLine() override { Remove(); }
    StatusLine(const StatusLine&) = delete;
    StatusLine& operator=(const StatusLine&) = delete;

    // The window the bar belongs to, once it exists.
    void Attach(HWND window) { window_ = window; }
    void Write(Segment segment, std::optional<std::string> text) override;
    HWND Handle() const { return bar_; }
    // Its height in pixels, 0 while there is none.
    int Height() const;
    // After the window's size changed.
    void Fit();
    // After the window's dpi changed: the bar is made again in the system's status font for it.
    void Remake();
    // kStatusLineMessage: the texts written since are shown.
    void Refresh();

private:
    void Show();
    void Remove();

    std::function<void()> resized_;
    HWND window_ = nullptr;
    HWND bar_ = nullptr;
    bool refreshPending_ = false;
    ULONGLONG shownAtMs_ = 0;  // GetTickCount64 at the last showing
    std::array<std::optional<std::string>, static_cast<std::size_t>(Segment::kCount)> texts_;
};

}  // namespace tastolink
