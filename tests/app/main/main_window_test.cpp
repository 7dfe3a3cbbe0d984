#include <gtest/gtest.h>

#include "app/window_fixture.h"

namespace tastolink::wintest {
namespace {

void Click(HWND button, POINT up = {10, 10}) {
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
}

TEST_F(MainWindowTest, KeypadButtonsSendTheirRowsLineAndLeaveTheFocusAlone) {
    Open();
    window->Button3Click();
    // Buttons whose numbers and rows run in different orders.
    for (int number : {1, 17, 18, 26}) Click(window->Control(SpeedButtonId(number)));
    Click(window->Control(SpeedButtonId(12)), {-20, 10});  // released outside: nothing
    EXPECT_EQ(ports.lines, (std::vector<std::string>{"AT+CKPD=\"[\"\r\n", "AT+CKPD=\"*\"\r\n",
                                                     "AT+CKPD=\"0\"\r\n", "AT+CKPD=\":1\"\r\n"}));
    EXPECT_EQ(GetFocus(), window->Control(kEdit1));
}

TEST_F(MainWindowTest, TabVisitsTheFocusFieldSelectorsIntervalAndPortPanelsInOrder) {
    Open();
    std::vector<HWND> expected{window->Control(kEdit1)};
    // clang-format off
    for (int number : {1,  2,  3,  4,  5,  6,  7,  9,  8,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                       19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36,
                       37, 38, 39, 40, 41, 42, 43, 44, 46, 47, 48, 49, 50, 51, 52, 53})
        expected.push_back(window->ComboBox(number).Handle());
    // clang-format on
    for (int id : {1302, 1303, 1304, 1145, 1305}) expected.push_back(window->Control(id));

    std::vector<HWND> visited{window->Control(kEdit1)};
    for (HWND at = visited.back();;) {
        at = GetNextDlgTabItem(window->Handle(), at, FALSE);
        if (at == visited.front()) break;
        visited.push_back(at);
        ASSERT_LE(visited.size(), expected.size());
    }
    EXPECT_EQ(visited, expected);
}

// Wine's text shaping has crashed on some characters at the start of a text or after a
// control character; every byte of both code pages must show in a selector and the port's.
TEST_F(MainWindowTest, SelectorsShowEveryByteOfEitherCodePage) {
    Open();
    for (UINT codePage : {1251u, 1252u})
        for (int byte = 1; byte <= 0xFF; ++byte) {
            const char alone[] = {static_cast<char>(byte)};
            const char afterControl[] = {'\x01', static_cast<char>(byte)};
            for (std::string_view text : {std::string_view(alone, 1), std::string_view(afterControl, 2)}) {
                wchar_t wide[4] = {};
                MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide, 3);
                SetSelector(1, wide);
                SetSelector(45, wide);
                ASSERT_EQ(WindowText(window->ComboBox(45).Handle()), wide) << codePage << " " << byte;
            }
        }
}

TEST_F(MainWindowTest, MenuAndDragLetGoOfHeldKeys) {
    Open();
    for (UINT loop : {WM_ENTERMENULOOP, WM_ENTERSIZEMOVE}) {
        Deliver(window->Control(kEdit1), WM_KEYDOWN, 'A');
        ASSERT_TRUE(window->HeldKeys().AnyHeld());
        SendMessageW(window->Handle(), loop, FALSE, 0);
        EXPECT_FALSE(window->HeldKeys().AnyHeld()) << loop;
    }
}

TEST_F(MainWindowTest, ChannelFailuresUseTheSimpleBox) {
    Open();
    Click(window->Control(SpeedButtonId(8)));
    ports.refuseOpen = true;
    SetSelector(45, L"COM7");
    window->Button3Click();
    EXPECT_EQ(ports.opened.back(), "COM7");
    EXPECT_EQ(messages.simple,
              (std::vector<std::string>{"Невозможно отправить ", "Невозможно выбрать COM7"}));
}

}  // namespace
}  // namespace tastolink::wintest
