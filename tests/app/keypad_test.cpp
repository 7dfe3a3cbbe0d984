#include <gtest/gtest.h>

#include "link/phone_key_table.h"
#include "window_fixture.h"

namespace tastolink::testing {
namespace {

void Click(HWND button, POINT up = {10, 10}) {
    SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
}

TEST_F(MainWindowTest, EveryKeypadButtonSendsItsRowsLineAndLeavesTheFocusAlone) {
    Open();
    window->Button3Click();
    HWND field = window->Control(kEdit1);
    SetFocus(field);
    for (const PhoneKey& key : kPhoneKeyTable) {
        ports.lines.clear();
        Click(window->Control(SpeedButtonId(key.keypadButton)));
        ASSERT_EQ(ports.lines, std::vector<std::string>{KeypadCommand(key)}) << key.keypadButton;
        EXPECT_EQ(GetFocus(), field);
    }
}

TEST_F(MainWindowTest, KeypadClickNeedsPressAndReleaseOverTheButton) {
    Open();
    window->Button3Click();
    HWND five = window->Control(SpeedButtonId(12));
    Click(five, {-20, 10});  // released outside
    EXPECT_TRUE(ports.lines.empty());
    Click(five);
    Click(five);  // a double click is two presses and releases
    EXPECT_EQ(ports.lines, (std::vector<std::string>{"AT+CKPD=\"5\"\r\n", "AT+CKPD=\"5\"\r\n"}));
}

TEST_F(MainWindowTest, ChannelFailuresUseTheSimpleBox) {
    Open();
    Click(window->Control(SpeedButtonId(8)));
    ports.refuseOpen = true;
    SetWindowTextW(window->ComboBox(45), L"COM7");
    window->Button3Click();
    EXPECT_EQ(ports.opened.back(), "COM7");
    EXPECT_EQ(messages.simple, (std::vector<std::string>{"Невозможно отправить ", "Невозможно выбрать COM7"}));
}

}  // namespace
}  // namespace tastolink::testing
