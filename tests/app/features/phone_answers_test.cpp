#include "app/window_fixture.h"
// window_fixture.h brings windows.h, which commctrl.h needs before it.
#include <commctrl.h>
#include <gtest/gtest.h>

namespace tastolink::wintest {
namespace {

class PhoneAnswersTest : public MainWindowTest {
protected:
    HWND Bar() const { return FindWindowExW(window->Handle(), nullptr, STATUSCLASSNAMEW, nullptr); }

    int BarHeight() const {
        RECT bar{};
        if (Bar()) GetWindowRect(Bar(), &bar);
        return bar.bottom - bar.top;
    }

    // The client area the layout gives (441 x 680 at 96 dpi) and what lies below it.
    void ExpectClientAreaWithBar(bool bar) {
        RECT client;
        GetClientRect(window->Handle(), &client);
        const int dpi = static_cast<int>(GetDpiForWindow(window->Handle()));
        EXPECT_EQ(Bar() != nullptr, bar);
        EXPECT_EQ(client.right, MulDiv(441, dpi, 96));
        EXPECT_EQ(client.bottom, MulDiv(680, dpi, 96) + BarHeight());
    }

    // "Настройки" → "Ответы телефона": its id, and whether it is checked.
    std::pair<UINT, bool> MenuItem() const {
        HMENU menu = GetMenu(window->Handle());
        wchar_t text[64] = {};
        GetMenuStringW(menu, kMenuAnswers, text, 64, MF_BYCOMMAND);
        EXPECT_STREQ(text, L"Ответы телефона");
        return {kMenuAnswers, (GetMenuState(menu, kMenuAnswers, MF_BYCOMMAND) & MF_CHECKED) != 0};
    }

    void RightClick(HWND button) {
        SendMessageW(button, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));
        SendMessageW(button, WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    }
};

TEST_F(PhoneAnswersTest, OffByDefaultLeavesTheWindowAsItWasAndARightClickHoldsTheKey) {
    folder.Write("answers.ini", "damaged\r\n");
    Open();
    ExpectClientAreaWithBar(false);
    EXPECT_FALSE(MenuItem().second);
    window->Button3Click();
    HWND five = window->Control(SpeedButtonId(12));
    RightClick(five);
    SendMessageW(five, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(five, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(ports.lines, (std::vector<std::string>{"AT+CKPD=\"5\",20\r\n", "AT+CKPD=\"5\"\r\n"}));
    EXPECT_EQ(folder.Read("answers.ini"), "damaged\r\n");
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_TRUE(messages.simple.empty());
}

TEST_F(PhoneAnswersTest, TheSwitchShowsTheBarBelowTheLayoutAndIsKeptInItsOwnFile) {
    Open();
    const UINT item = MenuItem().first;
    Deliver(window->Handle(), WM_COMMAND, item);
    EXPECT_TRUE(MenuItem().second);
    ExpectClientAreaWithBar(true);
    EXPECT_GT(BarHeight(), 0);
    EXPECT_EQ(folder.Read("answers.ini"), "1\r\n");
    Deliver(window->Handle(), WM_COMMAND, item);
    ExpectClientAreaWithBar(false);
    EXPECT_EQ(folder.Read("answers.ini"), "0\r\n");
}

}  // namespace
}  // namespace tastolink::wintest
