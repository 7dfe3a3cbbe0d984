#include <gtest/gtest.h>

#include "window_fixture.h"

namespace tastolink::testing {
namespace {

TEST_F(MainWindowTest, TabVisitsTheFocusFieldSelectorsIntervalAndPortPanelsInOrder) {
    Open();
    std::vector<HWND> expected{window->Control(kEdit1)};
    for (int number : kSelectorTabOrder) expected.push_back(window->ComboBox(number));
    for (int id : {int(kEdit2), int(kButton1), int(kButton2), ComboBoxId(kPortSelector), int(kButton3)})
        expected.push_back(window->Control(id));

    std::vector<HWND> visited{window->Control(kEdit1)};
    for (HWND at = visited.back();;) {
        at = GetNextDlgTabItem(window->Handle(), at, FALSE);
        if (at == visited.front()) break;
        visited.push_back(at);
        ASSERT_LE(visited.size(), expected.size());
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(MainWindowTest, FieldsSelectTheirWholeTextWhenTabbedInto) {
    Open();
    HWND field = window->Control(kEdit1);
    EXPECT_EQ(GetFocus(), field);
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(field)));

    HWND interval = window->Control(kEdit2);
    SetWindowTextW(interval, L"250");
    SetFocus(window->Control(kButton3));
    Deliver(*window, window->Control(kButton3), WM_KEYDOWN, VK_TAB);  // wraps round to the focus field
    EXPECT_EQ(GetFocus(), field);
    SetFocus(window->ComboBox(53));
    Deliver(*window, GetFocus(), WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(GetFocus(), interval);
    SendMessageW(interval, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u);
}

}  // namespace
}  // namespace tastolink::testing
