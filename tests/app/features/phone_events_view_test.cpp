#include "app/window_fixture.h"
// window_fixture.h brings windows.h, which commctrl.h needs before it.
#include <commctrl.h>
#include <gtest/gtest.h>

namespace tastolink::wintest {
namespace {

// The texts of the status bar's parts, joined by " | "; "" without a bar.
std::string BarText(HWND window) {
    HWND bar = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
    std::wstring text;
    for (int part = 0; bar && part < SendMessageW(bar, SB_GETPARTS, 0, 0); ++part) {
        wchar_t piece[512] = {};
        SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(piece));
        text += (part ? L" | " : L"") + std::wstring(piece);
    }
    return Utf8FromWide(text);
}

// Off (a damaged file is off), choosing the port sends nothing new. On, the answers come on too,
// and every opening asks the phone for the profile's events after the profile's preparation; at
// once when the port is open already. Off again, it asks no more.
TEST_F(MainWindowTest, ThePhoneEventsSwitchAsksThePhoneAtEachOpeningAfterThePreparation) {
    folder.Write("events.ini", "1 \r\n");
    folder.Write("phones.ini", "[Keys back]\r\nprepare = AT+CMEC=2\r\nevents = AT+CMER=3,2,0,0\r\n");
    Open();
    window->Button3Click();
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(ports.lines, std::vector<std::string>{});
    EXPECT_EQ(BarText(window->Handle()), "");

    Deliver(window->Handle(), WM_COMMAND, kMenuPhoneEvents);
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(folder.Read("events.ini") + folder.Read("answers.ini"), "1\r\n1\r\n");
    EXPECT_TRUE(GetMenuState(GetMenu(window->Handle()), kMenuPhoneEvents, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(GetMenu(window->Handle()), kMenuAnswers, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(BarText(window->Handle()),
              "COM1 открыт | AT+CMER=3,1,1,1 → … |  | Отправлено: 1, OK: 0 | События: включаю…");
    folder.Write("phone.ini", "Keys back\r\n");
    window.reset();
    Open();
    window->Button3Click();
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(ports.lines,
              (std::vector<std::string>{"AT+CMER=3,1,1,1\r\n", "AT+CMEC=2\r\n", "AT+CMER=3,2,0,0\r\n"}));

    Deliver(window->Handle(), WM_COMMAND, kMenuPhoneEvents);
    window->Button3Click();
    PumpFor(std::chrono::milliseconds(50));
    EXPECT_EQ(ports.lines.back(), "AT+CMEC=2\r\n");
    EXPECT_EQ(folder.Read("events.ini"), "0\r\n");
    EXPECT_EQ(BarText(window->Handle()).find("События"), std::string::npos);
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
    wchar_t tip[512] = {}, otherTip[512] = {};
    SendMessageW(line.Handle(), SB_GETTIPTEXTW, MAKEWPARAM(1, 512), reinterpret_cast<LPARAM>(tip));
    SendMessageW(line.Handle(), SB_GETTIPTEXTW, MAKEWPARAM(0, 512), reinterpret_cast<LPARAM>(otherTip));
    EXPECT_EQ(Utf8FromWide(tip), whole);
    EXPECT_STREQ(otherTip, L"");
    DestroyWindow(parent);
}

}  // namespace
}  // namespace tastolink::wintest
