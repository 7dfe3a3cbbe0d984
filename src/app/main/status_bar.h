#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace tastolink {

// The bar under the window's layout, made while there is something to show in it (the phone's
// answers, a watched port, a sequence playing) and gone otherwise, so that without those the
// window is exactly its layout. Its parts, left to right: the port, the last key and its answer,
// the line the phone sent on its own, and the counts.
class StatusBar {
public:
    static constexpr int kParts = 4;
    using Texts = std::array<std::string, kParts>;  // UTF-8

    StatusBar() = default;
    StatusBar(const StatusBar&) = delete;
    StatusBar& operator=(const StatusBar&) = delete;

    HWND Handle() const { return bar_; }
    // Takes the bar the window made for it (nullptr when it could not).
    void Attach(HWND bar) { bar_ = bar; }
    void Remove();
    // Its height in pixels, 0 while there is none.
    int Height() const;
    // Lays out its parts at the window's dpi and shows the texts.
    void Show(const Texts& texts);
    // After the window's size or font changed.
    void Fit();

private:
    HWND bar_ = nullptr;
};

}  // namespace tastolink
