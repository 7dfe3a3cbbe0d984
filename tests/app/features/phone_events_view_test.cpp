#include "app/window_fixture.h"
// window_fixture.h brings windows.h, which commctrl.h needs before it.
#include <commctrl.h>
#include <gtest/gtest.h>

namespace tastolink::wintest {
namespace {

// Turned on, the answers come on too, and the phone is asked for the profile's events at once on
// the open port and at each opening after the profile's preparation; off again, it is asked no more.
TEST_F(MainWindowTest, ThePhoneEventsSwitchAsksThePhoneAfterEachPreparationUntilTurnedOff) {
    folder.Write("phones.ini", "[Keys back]\r\nprepare = AT+CMEC=2\r\nevents = AT+CMER=3,2,0,0\r\n");
    folder.Write("phone.ini", "Keys back\r\n");
    Open();
    window->Button3Click();
    Deliver(window->Handle(), WM_COMMAND, kMenuPhoneEvents);
    PumpFor(std::chrono::milliseconds(50));
    window->Button3Click();
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(folder.Read("events.ini") + folder.Read("answers.ini"), "1\r\n1\r\n");
    EXPECT_TRUE(GetMenuState(GetMenu(window->Handle()), kMenuAnswers, MF_BYCOMMAND) & MF_CHECKED);
    Deliver(window->Handle(), WM_COMMAND, kMenuPhoneEvents);
    window->Button3Click();
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(ports.lines, (std::vector<std::string>{"AT+CMEC=2\r\n", "AT+CMER=3,2,0,0\r\n", "AT+CMEC=2\r\n",
                                                     "AT+CMER=3,2,0,0\r\n", "AT+CMEC=2\r\n"}));
    EXPECT_EQ(folder.Read("events.ini"), "0\r\n");
}

// The display's part counts at most its most width when the parts share a bar too narrow for them
// all, so that the others keep their room; its tip holds the whole text, the others' tips nothing.
TEST(StatusLine, CutsThePhonesDisplayWithTheWholeTextInItsTip) {
    HWND parent = CreateWindowExW(0, WC_STATICW, L"", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                  nullptr, nullptr);
    StatusLine line(nullptr);
    line.Attach(parent);
    const std::string whole = "«" + std::string(200, 'a') + "»";
    line.Write(Segment::LastKey, "5 → OK");
    line.Write(Segment::PhoneDisplay, whole);
    line.Refresh();
    RECT lastKey{};
    SendMessageW(line.Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&lastKey));
    EXPECT_GE(lastKey.right - lastKey.left, MulDiv(120, static_cast<int>(GetDpiForWindow(parent)), 96));
    wchar_t tips[2][512] = {};
    for (int part : {0, 1})
        SendMessageW(line.Handle(), SB_GETTIPTEXTW, MAKEWPARAM(part, 512),
                     reinterpret_cast<LPARAM>(tips[part]));
    EXPECT_EQ(Utf8FromWide(tips[0]) + "|" + Utf8FromWide(tips[1]), "|" + whole);
    DestroyWindow(parent);
}

}  // namespace
}  // namespace tastolink::wintest
