#include <gtest/gtest.h>

#include "window_fixture.h"

namespace tastolink::wintest {
namespace {

// The list a selector has dropped, if one is on screen.
HWND DroppedList() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND candidate, LPARAM out) {
            wchar_t name[16] = L"";
            GetClassNameW(candidate, name, 16);
            if (!IsWindowVisible(candidate) || lstrcmpiW(name, L"ListBox") != 0) return TRUE;
            *reinterpret_cast<HWND*>(out) = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(MainWindowTest, SelectorListDropsByKeyOrButtonAndClosesWithOrWithoutAChoice) {
    Open();
    HWND field = FieldOf(window->ComboBox(3));
    Deliver(*window, field, WM_KEYDOWN, VK_F4);
    ASSERT_NE(DroppedList(), nullptr);
    Deliver(*window, field, WM_KEYDOWN, VK_DOWN);
    Deliver(*window, field, WM_KEYDOWN, VK_DOWN);
    Deliver(*window, field, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(ControlText(field), L"F2");

    // The button drops the list, a click takes an entry, and the focus stays in the field,
    // which has moved on: the selector it left keeps its text.
    HWND selector = window->ComboBox(4).Handle();
    RECT frame;
    GetClientRect(selector, &frame);
    const LPARAM onButton = MAKELPARAM(frame.right - 4, frame.bottom / 2);
    Deliver(*window, selector, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    Deliver(*window, selector, WM_LBUTTONUP, 0, onButton);
    HWND list = DroppedList();
    ASSERT_NE(list, nullptr);
    RECT third;
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    Deliver(*window, list, WM_LBUTTONUP, 0, MAKELPARAM(third.left + 2, third.top + 2));
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(ControlText(selector), L"F3");
    EXPECT_EQ(GetFocus(), window->ComboBox(4).Field());
    EXPECT_EQ(ControlText(window->ComboBox(3).Handle()), L"F2");

    // Alt+Down drops it; Esc, or a click anywhere else, closes it and leaves the text.
    for (UINT closing : {WM_KEYDOWN, WM_LBUTTONDOWN}) {
        Deliver(*window, GetFocus(), WM_SYSKEYDOWN, VK_DOWN, KF_ALTDOWN << 16);
        ASSERT_NE(DroppedList(), nullptr);
        if (closing == WM_KEYDOWN)
            Deliver(*window, GetFocus(), WM_KEYDOWN, VK_ESCAPE);
        else
            Deliver(*window, window->Control(kEdit2), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_EQ(DroppedList(), nullptr);
        EXPECT_EQ(ControlText(selector), L"F3");
    }
}

}  // namespace
}  // namespace tastolink::wintest
