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

void ClickButton(MainWindow& window, HWND selector) {
    RECT frame;
    GetClientRect(selector, &frame);
    const LPARAM onButton = MAKELPARAM(frame.right - 4, frame.bottom / 2);
    Deliver(window, selector, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    Deliver(window, selector, WM_LBUTTONUP, 0, onButton);
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
    ClickButton(*window, selector);
    HWND list = DroppedList();
    ASSERT_NE(list, nullptr);
    RECT third;
    SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    Deliver(*window, list, WM_LBUTTONUP, 0, MAKELPARAM(third.left + 2, third.top + 2));
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(ControlText(selector), L"F3");
    EXPECT_EQ(GetFocus(), window->ComboBox(4).Field());
    EXPECT_EQ(ControlText(window->ComboBox(3).Handle()), L"F2");

    // Pressed on the button and let go over the entry after F3: that entry is taken.
    RECT frame;
    GetClientRect(selector, &frame);
    Deliver(*window, selector, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(frame.right - 4, frame.bottom / 2));
    list = DroppedList();
    ASSERT_NE(list, nullptr);
    RECT fourth;
    SendMessageW(list, LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&fourth));
    POINT over{fourth.left + 2, fourth.top + 2};
    MapWindowPoints(list, selector, &over, 1);
    Deliver(*window, selector, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(over.x, over.y));
    Deliver(*window, selector, WM_LBUTTONUP, 0, MAKELPARAM(over.x, over.y));
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(ControlText(selector), L"F4");

    // Alt+Down drops it; Esc, or a click anywhere else, closes it and leaves the text.
    for (UINT closing : {WM_KEYDOWN, WM_LBUTTONDOWN}) {
        Deliver(*window, GetFocus(), WM_SYSKEYDOWN, VK_DOWN, KF_ALTDOWN << 16);
        ASSERT_NE(DroppedList(), nullptr);
        if (closing == WM_KEYDOWN)
            Deliver(*window, GetFocus(), WM_KEYDOWN, VK_ESCAPE);
        else
            Deliver(*window, window->Control(kEdit2), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        EXPECT_EQ(DroppedList(), nullptr);
        EXPECT_EQ(ControlText(selector), L"F4");
    }
}

// The field keeps serving whichever selector it has moved into, not the one it was made in.
TEST_F(MainWindowTest, TheSharedFieldServesTheSelectorItIsIn) {
    Open();
    HWND five = window->ComboBox(5).Handle();
    FieldOf(window->ComboBox(5));  // made here
    ClickButton(*window, five);
    ASSERT_NE(DroppedList(), nullptr);
    ClickButton(*window, five);
    EXPECT_EQ(DroppedList(), nullptr);

    // Moved into another selector: the focus selects its whole text, what is typed with the
    // list open is what Enter takes, and the list closes as the focus leaves.
    SetSelector(6, L"Num0");
    HWND field = FieldOf(window->ComboBox(6));
    DWORD start = 1, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD{0}, DWORD{4}));
    Deliver(*window, field, WM_KEYDOWN, VK_F4);
    Deliver(*window, field, WM_CHAR, L'F');
    Deliver(*window, field, WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(ControlText(field), L"F1");
    Deliver(*window, field, WM_KEYDOWN, VK_F4);
    ASSERT_NE(DroppedList(), nullptr);
    SetFocus(window->Control(kEdit1));
    EXPECT_EQ(DroppedList(), nullptr);

    // Alt+F4 is left to the window, to close it.
    MSG altF4{field, WM_SYSKEYDOWN, VK_F4, KF_ALTDOWN << 16, 0, {}};
    EXPECT_FALSE(window->PreTranslateMessage(altF4));
    EXPECT_EQ(DroppedList(), nullptr);
}

}  // namespace
}  // namespace tastolink::wintest
