#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/window/message_loop.h"
#include "app/window_fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>
#include <windowsx.h>

namespace tastolink::wintest {
namespace {

// The list box of the list a selector has dropped, if one is on screen.
HWND DroppedList() {
    HWND popup = FindWindowW(L"TastolinkSelectorList", nullptr);
    return popup && IsWindowVisible(popup) ? FindWindowExW(popup, nullptr, WC_LISTBOXW, nullptr) : nullptr;
}

// Handles what waits in the queue as the program's loop does.
void Settle() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Types `keys` into the window that has the focus, a key at a time, through the program's loop:
// names of keys ("Down", "Alt+Up", "PgDn", "F4", "Enter", "Esc") and single characters, typed as
// such. The text of `shown` after each named key.
std::vector<std::wstring> Type(HWND shown, const std::string& keys) {
    static const std::map<std::string, WORD> named{
        {"Down", VK_DOWN}, {"Up", VK_UP}, {"PgDn", VK_NEXT},    {"PgUp", VK_PRIOR}, {"Home", VK_HOME},
        {"End", VK_END},   {"F4", VK_F4}, {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}};
    std::vector<std::wstring> texts;
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
        HWND focus = GetFocus();
        const bool alt = word.starts_with("Alt+");
        if (alt) word = word.substr(4);
        if (const auto key = named.find(word); key != named.end()) {
            const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key->second, MAPVK_VK_TO_VSC)) << 16;
            PostMessageW(focus, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key->second,
                         scan | 1 | (alt ? KF_ALTDOWN << 16 : 0));
            PostMessageW(focus, alt ? WM_SYSKEYUP : WM_KEYUP, key->second,
                         scan | 0xC0000001 | (alt ? KF_ALTDOWN << 16 : 0));
        } else {
            PostMessageW(focus, WM_CHAR, static_cast<WPARAM>(word[0]), 1);
            Settle();
            continue;
        }
        Settle();
        wchar_t text[64] = L"";
        GetWindowTextW(shown, text, 64);
        texts.emplace_back(text);
    }
    return texts;
}

// The control a selector stands in for is the judge of how it answers keys: the same keys go to
// a selector and to a system drop-down combo box of the same entries (the delivered catalogue,
// where "F1" and "F10" come before "F", "Num0" before "N" and "Up" before "U"), showing sixteen
// at a time as a dropped selector does, and both must show the same texts.
TEST_F(MainWindowTest, SelectorAnswersKeysAsADropDownComboBox) {
    Open();
    HWND selector = window->ComboBox(3).Handle();
    // A new one for each sequence: Wine's combo box carries where it stood into the next.
    auto newComboBox = [&] {
        HWND combo = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL,
                                     0, 0, 70, 400, window->Handle(), nullptr, nullptr, nullptr);
        for (const std::wstring& entry : window->ComboBox(3).EntryList())
            ComboBox_AddString(combo, entry.c_str());
        ComboBox_SetMinVisible(combo, 16);
        SetWindowFont(combo, GetWindowFont(selector), FALSE);
        return combo;
    };

    std::string downPastTheEndAndUpPastTheStart;
    for (int step = 0; step < 60; ++step) downPastTheEndAndUpPastTheStart += "Down ";
    for (int step = 0; step < 60; ++step) downPastTheEndAndUpPastTheStart += "Up ";
    for (const std::string& keys : {
             std::string("Down Down Down Up"),             // from no entry onto the first, and on by one
             downPastTheEndAndUpPastTheStart,              // the walk stops at the ends
             std::string("Down Down F4 Up Esc"),           // the list's steps show in the field
             std::string("F4 Down Down Enter"),            // Enter takes the entry lit
             std::string("F4 PgDn PgDn PgUp Down Enter"),  // a page is sixteen entries
             std::string("Alt+Down Down Down Alt+Up"),     // Alt and an arrow drop and close it
             std::string("F4 N Down Enter"),               // typing lights the first entry it begins
         }) {
        SetFocus(selector);
        SetWindowTextW(selector, L"");
        const std::vector<std::wstring> bySelector = Type(selector, keys);
        HWND combo = newComboBox();
        SetFocus(combo);
        EXPECT_EQ(bySelector, Type(combo, keys)) << keys;
        DestroyWindow(combo);
    }

    // Where the selector is made to differ. Typed letters complete to the first entry that
    // begins with them; a combo box leaves them as typed.
    SetFocus(selector);
    Type(selector, "N");
    EXPECT_EQ(ControlText(selector), L"Num0");
    // The user's own edit forgets the entry shown before: a step goes on from the entry the
    // text names, or from the first entry; Wine's combo box steps on from the entry it showed
    // before the edit.
    EXPECT_EQ(Type(selector, "Down"), std::vector<std::wstring>{L"Num1"});
    SetWindowTextW(GetFocus(), L"Foo");
    EXPECT_EQ(Type(selector, "Down"), std::vector<std::wstring>{L"F1"});
    // Home and End move in a dropped list, as in a drop-down list; a combo box's field moves its caret.
    EXPECT_EQ(Type(selector, "F4 End Home End Enter"),
              (std::vector<std::wstring>{L"F1", L"Z", L"F1", L"Z", L"Z"}));
}

void ClickButton(HWND selector, UINT message = WM_LBUTTONUP) {
    RECT frame;
    GetClientRect(selector, &frame);
    const LPARAM onButton = MAKELPARAM(frame.right - 4, frame.bottom / 2);
    Deliver(selector, WM_LBUTTONDOWN, MK_LBUTTON, onButton);
    if (message == WM_LBUTTONUP) Deliver(selector, WM_LBUTTONUP, 0, onButton);
}

// The mouse on entry `index` of the dropped list, in the list's client area.
LPARAM OnEntry(HWND list, int index) {
    RECT entry;
    ListBox_GetItemRect(list, index, &entry);
    return MAKELPARAM(entry.left + 2, entry.top + 2);
}

// As a combo box's list, the dropped list holds the mouse: a click on an entry takes it, a press on
// the button dragged onto an entry takes that on release, and a click anywhere else, or anything
// that takes the mouse away, only closes it. The wheel scrolls it.
TEST_F(MainWindowTest, TheDroppedListTakesTheMouseAsAComboBoxListDoes) {
    Open();
    HWND selector = window->ComboBox(4).Handle();
    ClickButton(selector);
    HWND list = DroppedList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(GetCapture(), list);
    const int top = ListBox_GetTopIndex(list);
    Deliver(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
    EXPECT_GT(ListBox_GetTopIndex(list), top);
    ListBox_SetTopIndex(list, 0);
    Deliver(list, WM_LBUTTONDOWN, MK_LBUTTON, OnEntry(list, 2));
    Deliver(list, WM_LBUTTONUP, 0, OnEntry(list, 2));
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(ControlText(selector), L"F3");
    EXPECT_EQ(GetFocus(), window->ComboBox(4).Field());

    ClickButton(selector, WM_LBUTTONDOWN);
    list = DroppedList();
    ASSERT_NE(list, nullptr);
    POINT over{0, 0};
    MapWindowPoints(list, selector, &over, 1);
    const LPARAM fourth = OnEntry(list, 3);
    const LPARAM overFourth = MAKELPARAM(GET_X_LPARAM(fourth) + over.x, GET_Y_LPARAM(fourth) + over.y);
    Deliver(selector, WM_MOUSEMOVE, MK_LBUTTON, overFourth);
    Deliver(selector, WM_LBUTTONUP, 0, overFourth);
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(ControlText(selector), L"F4");

    Deliver(GetFocus(), WM_SYSKEYDOWN, VK_DOWN, KF_ALTDOWN << 16);
    list = DroppedList();
    RECT client;
    GetClientRect(list, &client);
    const LPARAM onScrollBar = MAKELPARAM(client.right + 4, client.bottom - 4);  // its down arrow
    PostMessageW(list, WM_LBUTTONUP, 0, onScrollBar);                            // ends its tracking
    Deliver(list, WM_LBUTTONDOWN, MK_LBUTTON, onScrollBar);
    EXPECT_EQ(DroppedList(), list);
    EXPECT_EQ(GetCapture(), list);
    Deliver(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-50, -50));
    EXPECT_EQ(DroppedList(), nullptr);
    Deliver(GetFocus(), WM_KEYDOWN, VK_F4);
    SetCapture(window->Handle());  // as the menu and a drag of the window do
    ReleaseCapture();
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(ControlText(selector), L"F4");

    // New entries while the list is down (a port come or gone, the ports watched): it closes first.
    FieldOf(window->ComboBox(kPortSelectorNumber));
    Type(GetFocus(), "F4 End");
    Deliver(window->Handle(), WM_COMMAND, kMenuWatchPorts);
    EXPECT_EQ(DroppedList(), nullptr);
}

// The field keeps serving whichever selector it has moved into, not the one it was made in.
TEST_F(MainWindowTest, TheSharedFieldServesTheSelectorItIsIn) {
    Open();
    HWND five = window->ComboBox(5).Handle();
    FieldOf(window->ComboBox(5));  // made here
    ClickButton(five);
    ASSERT_NE(DroppedList(), nullptr);
    ClickButton(five);
    EXPECT_EQ(DroppedList(), nullptr);

    // Moved into another selector: the focus selects its whole text, what is typed with the
    // list open is what Enter takes, and the list closes as the focus leaves.
    SetSelector(6, L"Num0");
    HWND field = FieldOf(window->ComboBox(6));
    DWORD start = 1, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(DWORD{0}, DWORD{4}));
    Type(field, "F4 F Enter");
    EXPECT_EQ(ControlText(field), L"F1");
    Type(field, "F4");
    ASSERT_NE(DroppedList(), nullptr);
    SetFocus(window->Control(kEdit1));
    EXPECT_EQ(DroppedList(), nullptr);

    // Alt+F4 is left to the window, which closes.
    SetFocus(field);
    Type(field, "Alt+F4");
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_FALSE(IsWindow(window->Handle()));
}

}  // namespace
}  // namespace tastolink::wintest
