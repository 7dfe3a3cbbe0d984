#include "app/main/author_window.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

// Runs `action` on the Author window a little after ShowModal has entered its loop.
void WhileShown(AuthorWindow& author, void (*action)(HWND)) {
    static AuthorWindow* shown = nullptr;
    static void (*pending)(HWND) = nullptr;
    shown = &author;
    pending = action;
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        ASSERT_TRUE(shown->IsShown());
        pending(shown->Handle());
    });
}

class AuthorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
        ASSERT_TRUE(author.Create());
        EXPECT_FALSE(IsWindowVisible(author.Handle()));
    }
    void TearDown() override { DestroyWindow(owner); }

    HWND owner = nullptr;
    AuthorWindow author;
};

TEST_F(AuthorWindowTest, CloseButtonEndsTheModalShowAndHidesIt) {
    static HWND ownerWindow = nullptr;
    static bool ownerWasEnabled = true;
    ownerWindow = owner;
    WhileShown(author, [](HWND window) {
        ownerWasEnabled = IsWindowEnabled(ownerWindow);
        HWND close = GetDlgItem(window, 1);
        SendMessageW(close, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(close, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    });
    author.ShowModal(owner);
    EXPECT_FALSE(ownerWasEnabled);
    EXPECT_FALSE(IsWindowVisible(author.Handle()));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

}  // namespace
}  // namespace tastolink
