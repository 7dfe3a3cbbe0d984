#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <tuple>
#include <utility>

#include "app/window/message_loop.h"
#include "app/window_fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>
#include <windowsx.h>

namespace tastolink::wintest {
namespace {

// The list box of the list a selector has dropped, if one is on screen.
HWND DroppedList() {
    HWND popup = FindWindowW(L"TastolinkComboListBox", nullptr);
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
        texts.push_back(WindowText(shown));
    }
    return texts;
}

// The notifications a combo box's parent hears, by name, from the controls watched.
std::vector<std::string> heard;
HWND watched[2];

LRESULT CALLBACK Hear(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    static const std::map<WORD, std::string> kNames{
        {CBN_SELCHANGE, "SELCHANGE"},   {CBN_SETFOCUS, "SETFOCUS"},     {CBN_KILLFOCUS, "KILLFOCUS"},
        {CBN_EDITCHANGE, "EDITCHANGE"}, {CBN_EDITUPDATE, "EDITUPDATE"}, {CBN_DROPDOWN, "DROPDOWN"},
        {CBN_CLOSEUP, "CLOSEUP"},       {CBN_SELENDOK, "SELENDOK"},     {CBN_SELENDCANCEL, "SELENDCANCEL"}};
    // Wine's combo box passes its field's EN_MAXTEXT on as CBN_ERRSPACE, which no combo box means.
    const auto from = reinterpret_cast<HWND>(lParam);
    if (message == WM_COMMAND && (from == watched[0] || from == watched[1]) &&
        HIWORD(wParam) != WORD(CBN_ERRSPACE)) {
        const auto name = kNames.find(HIWORD(wParam));
        heard.push_back(name == kNames.end() ? std::to_string(HIWORD(wParam)) : name->second);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The control a selector stands in for is the judge of how it answers: the same keys and messages
// go to a selector and to a system drop-down combo box of the same entries (the delivered catalogue,
// where "F1" and "F10" come before "F", "Num0" before "N" and "Up" before "U"), showing sixteen at a
// time as a dropped selector does, and both must show the same texts and tell their parent the same
// notifications in the same order.
class ComboBoxOracleTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Open();
        selector = window->ComboBox(3).Handle();
        watched[0] = selector;
        SetWindowSubclass(window->Handle(), Hear, 1, 0);
    }
    void TearDown() override {
        RemoveWindowSubclass(window->Handle(), Hear, 1);
        MainWindowTest::TearDown();
    }
    // A new one for each comparison: Wine's combo box carries where it stood into the next.
    HWND NewComboBox() {
        HWND combo = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL,
                                     0, 0, 70, 400, window->Handle(), nullptr, nullptr, nullptr);
        const SelectorEntries& entries = window->ComboBox(3).EntryList();
        for (std::size_t at = 0; at < entries.size(); ++at)
            ComboBox_AddString(combo, std::wstring(entries[at]).c_str());
        ComboBox_SetMinVisible(combo, 16);
        SetWindowFont(combo, GetWindowFont(selector), FALSE);
        return watched[1] = combo;
    }
    // Runs `act` on the selector and on a new combo box, each given the focus with an empty text
    // and left afterwards for another control, and expects the same of both: what `act` returns,
    // and what the parent heard.
    template <typename Act>
    void ExpectSameOfBoth(Act&& act, const std::string& what) {
        auto run = [&](HWND control) {
            heard.clear();
            SetFocus(control);
            SetWindowTextW(control, L"");
            const auto result = act(control);
            SetFocus(window->Control(kEdit1));
            return std::make_pair(result, heard);
        };
        const auto bySelector = run(selector);
        HWND combo = NewComboBox();
        EXPECT_EQ(bySelector, run(combo)) << what;
        DestroyWindow(combo);
    }

    HWND selector = nullptr;
};

TEST_F(ComboBoxOracleTest, KeysShowAndTellAsADropDownComboBox) {
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
         })
        ExpectSameOfBoth([&](HWND control) { return Type(control, keys); }, keys);
}

// The messages by which automation tools read and drive a combo box, each answered as the combo box
// answers it: the text and its selection, the text's limit, the dropped list's top entry and height.
TEST_F(ComboBoxOracleTest, MessagesAnswerAsADropDownComboBox) {
    ExpectSameOfBoth(
        [](HWND control) {
            std::vector<LRESULT> answers{
                SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Num3"))};
            wchar_t text[8] = L"";
            answers.push_back(SendMessageW(control, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(text)));
            answers.push_back(text[2]);
            ComboBox_SetEditSel(control, 1, 3);
            DWORD start = 0, end = 0;
            answers.push_back(SendMessageW(control, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                                           reinterpret_cast<LPARAM>(&end)));
            answers.insert(answers.end(), {static_cast<LRESULT>(start), static_cast<LRESULT>(end)});
            SetFocus(nullptr);  // the selection stays as the field leaves, and is set without it
            answers.push_back(SendMessageW(control, CB_GETEDITSEL, 0, 0));
            ComboBox_SetEditSel(control, 2, -1);
            answers.push_back(SendMessageW(control, CB_GETEDITSEL, 0, 0));
            SetFocus(control);
            answers.push_back(SendMessageW(control, CB_GETITEMHEIGHT, 0, 0));
            ComboBox_LimitText(control, 3);
            SetWindowTextW(control, L"");
            Type(control, "1 2 3 4");
            answers.push_back(GetWindowTextLengthW(control));
            ComboBox_LimitText(control, 0);
            Type(control, "F4 PgDn PgDn PgDn");
            answers.push_back(SendMessageW(control, CB_GETTOPINDEX, 0, 0));
            Type(control, "Esc");
            answers.push_back(SendMessageW(control, CB_GETTOPINDEX, 0, 0));
            ComboBox_SetCurSel(control, 30);
            answers.push_back(SendMessageW(control, CB_GETTOPINDEX, 0, 0));
            RECT frame, dropped;
            GetWindowRect(control, &frame);
            SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
            answers.insert(answers.end(), {dropped.left - frame.left, dropped.top - frame.top});
            return answers;
        },
        "messages");
}

TEST_F(ComboBoxOracleTest, StringsAreFoundByTheirBeginningAsInAComboBox) {
    const std::pair<int, std::wstring> finds[] = {{-1, L"f"},   {0, L"F1"}, {1, L"F1"},
                                                  {-1, L"num"}, {20, L"n"}, {57, L"u"},
                                                  {-1, L"Q"},   {-1, L""},  {-1, L"zz"}};
    for (const auto& [start, text] : finds)
        ExpectSameOfBoth(
            [&](HWND control) {
                ComboBox_SetCurSel(control, 2);
                return std::vector<LRESULT>{ComboBox_FindString(control, start, text.c_str()),
                                            ComboBox_FindStringExact(control, start, text.c_str()),
                                            ComboBox_SelectString(control, start, text.c_str()),
                                            ComboBox_GetCurSel(control), GetWindowTextLengthW(control)};
            },
            Utf8FromWide(text));
}

// The list dropped and the mouse over another entry: Esc or a click outside leave the text as it
// was, and a click on the entry takes it.
TEST_F(ComboBoxOracleTest, TheMouseOverAnEntryIsTakenOnlyByAClick) {
    for (const std::string end : {"Esc", "outside", "on the entry"})
        ExpectSameOfBoth(
            [&](HWND control) {
                ComboBox_SetCurSel(control, 1);
                Type(control, "F4");
                COMBOBOXINFO parts{};
                parts.cbSize = sizeof parts;
                GetComboBoxInfo(control, &parts);
                HWND list = control == selector ? DroppedList() : parts.hwndList;
                RECT entry;
                ListBox_GetItemRect(list, 5, &entry);
                const LPARAM onEntry = MAKELPARAM(entry.left + 2, entry.top + 2);
                Deliver(list, WM_MOUSEMOVE, 0, onEntry);
                if (end == "Esc") Type(control, "Esc");
                if (end == "outside") Deliver(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-50, -50));
                if (end == "on the entry") {
                    Deliver(list, WM_LBUTTONDOWN, MK_LBUTTON, onEntry);
                    Deliver(list, WM_LBUTTONUP, 0, onEntry);
                }
                return std::make_pair(WindowText(control), ComboBox_GetDroppedState(control));
            },
            end);
}

// Where the selector is made to differ.
TEST_F(MainWindowTest, SelectorCompletesAndStepsFromTheTextTyped) {
    Open();
    HWND selector = window->ComboBox(3).Handle();
    // Typed letters complete to the first entry that begins with them; a combo box leaves them as typed.
    SetFocus(selector);
    Type(selector, "N");
    EXPECT_EQ(WindowText(selector), L"Num0");
    // The user's own edit forgets the entry shown before: a step goes on from the entry the
    // text names, or from the first entry; Wine's combo box steps on from the entry it showed
    // before the edit.
    EXPECT_EQ(Type(selector, "Down"), std::vector<std::wstring>{L"Num1"});
    SetWindowTextW(GetFocus(), L"Foo");
    EXPECT_EQ(Type(selector, "Down"), std::vector<std::wstring>{L"F1"});
    // Home and End move in a dropped list, as in a drop-down list; a combo box's field moves its
    // caret. End lights the last entry even with none lit before, where Wine's list box lights the
    // first whatever the key.
    EXPECT_EQ(Type(selector, "F4 End Home End Enter"),
              (std::vector<std::wstring>{L"F1", L"Z", L"F1", L"Z", L"Z"}));
    SetWindowTextW(selector, L"");
    EXPECT_EQ(Type(selector, "F4 End Enter"), (std::vector<std::wstring>{L"", L"Z", L"Z"}));
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
    // Asked as the list box its class names, it tells the entries.
    wchar_t entry[8] = L"";
    HWND popup = GetParent(list);
    const int length = ListBox_GetText(popup, 57, entry);
    EXPECT_EQ(std::make_tuple(ListBox_GetCount(popup), length, std::wstring(entry)),
              std::make_tuple(58, 1, std::wstring(L"Z")));
    const int top = ListBox_GetTopIndex(list);
    Deliver(GetFocus(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA));
    EXPECT_GT(ListBox_GetTopIndex(list), top);
    ListBox_SetTopIndex(list, 0);
    Deliver(list, WM_LBUTTONDOWN, MK_LBUTTON, OnEntry(list, 2));
    Deliver(list, WM_LBUTTONUP, 0, OnEntry(list, 2));
    EXPECT_EQ(DroppedList(), nullptr);
    EXPECT_EQ(WindowText(selector), L"F3");
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
    EXPECT_EQ(WindowText(selector), L"F4");

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
    EXPECT_EQ(WindowText(selector), L"F4");

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
    EXPECT_EQ(WindowText(field), L"F1");
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
