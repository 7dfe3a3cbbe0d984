#include "app/window_fixture.h"
// window_fixture.h brings windows.h, which commctrl.h and windowsx.h need before them.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <windowsx.h>

#include <functional>

namespace tastolink::wintest {
namespace {

constexpr int kUpButton = 2, kCentreButton = 5;  // SpeedButton<n>
using Step = std::function<void(HWND dialog)>;

// Opens "Настройки → Телефон…" and takes `steps` on the dialog, one on each tick of a timer while
// its modal loop runs. A dialog the steps leave open is closed a second later, and the test fails.
void WithDialog(HWND window, std::vector<Step> steps) {
    static std::vector<Step> pending;
    static int ticksLeft;
    pending = std::move(steps);
    ticksLeft = 20;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        const HWND dialog = FindWindowW(L"TastolinkPhoneDialog", nullptr);
        if (dialog && !pending.empty()) {
            const Step step = pending.front();
            pending.erase(pending.begin());
            step(dialog);
        } else if (dialog && pending.empty() && --ticksLeft == 0) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
    });
    Deliver(window, WM_COMMAND, kMenuPhone);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(pending.empty());
    EXPECT_GT(ticksLeft, 0) << "the steps left the dialog open";
}

// Keys posted to the control with the focus take the loop's road through the dialog, as a user's
// keys do.
Step Keys(std::vector<WORD> keys) {
    return [keys](HWND) {
        for (WORD key : keys) PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    };
}

// The tip of SpeedButton<button>, as the window's tooltip control holds it.
std::wstring Tip(HWND window, int button) {
    HWND tips = nullptr;
    while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) &&
           GetWindow(tips, GW_OWNER) != window) {
    }
    return TipOf(tips, window, GetDlgItem(window, SpeedButtonId(button)));
}

// The keypad follows the profile chosen: each tip names the code and the long press, and a button
// the profile leaves out says why and sends nothing.
TEST_F(MainWindowTest, TheProfileChosenInThePhoneDialogGivesTheKeypadItsCodes) {
    folder.Write("phones.ini", "[Nokia]\nbase = 3GPP TS 27.007\nlong = 15\n");
    Open();
    EXPECT_EQ(Tip(window->Handle(), kUpButton),
              L"Отправляет AT+CKPD=\":X\"; правая кнопка мыши — долгое нажатие (2 с)");
    std::wstring shown;
    WithDialog(window->Handle(),
               {[](HWND dialog) {  // "Определить", the focus left where it is
                    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(PhoneDialog::kIdentifyButton, BN_CLICKED), 0);
                },
                Keys({VK_DOWN, VK_DOWN}),
                [&](HWND dialog) {
                    shown = WindowText(GetDlgItem(dialog, PhoneDialog::kIdentityText));
                    for (int row : {14, 16}) {
                        wchar_t line[64] = L"";
                        ListBox_GetText(GetDlgItem(dialog, PhoneDialog::kCodeList), row, line);
                        shown += L"|" + std::wstring(line);
                    }
                },
                Keys({VK_RETURN})});
    EXPECT_EQ(shown, L"Порт не открыт: выберите его и нажмите «Выбрать».|Вверх\t^|Центр\t—");
    EXPECT_EQ(folder.Read("phone.ini"), "Nokia\r\n");
    EXPECT_EQ(Tip(window->Handle(), kUpButton),
              L"Отправляет AT+CKPD=\"^\"; правая кнопка мыши — долгое нажатие (1,5 с)");
    EXPECT_EQ(Tip(window->Handle(), kCentreButton),
              L"Профиль «Nokia» не даёт этой кнопке кода: она ничего не отправляет");

    window->Button3Click();
    for (int button : {kCentreButton, kUpButton})
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP})
            SendMessageW(window->Control(SpeedButtonId(button)), message, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(ports.lines, (std::vector<std::string>{"AT+CKPD=\"^\"\r\n", "AT+CKPD=\"^\",15\r\n"}));
}

}  // namespace
}  // namespace tastolink::wintest
