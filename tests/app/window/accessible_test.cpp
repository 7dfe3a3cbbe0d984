#include "app/window_fixture.h"
// After windows.h, which the fixture brings.
#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <set>
#include <tuple>

namespace tastolink::wintest {
namespace {

// What a screen reader reads of an accessible object or of one of its children.
struct Seen {
    long role = 0;
    std::wstring name, value;
    long state = 0;
    long children = 0;
    bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
    *out << "role " << seen.role << ", name " << Utf8FromWide(seen.name) << ", value "
         << Utf8FromWide(seen.value) << ", state " << std::hex << seen.state << std::dec << ", "
         << seen.children << " children";
}

// The object a window gives assistive technology, asked as a screen reader asks it, in this process:
// under Wine the object of another process can't be had (AccessibleObjectFromWindow gives E_NOINTERFACE).
Seen SeenOf(HWND window, long child = CHILDID_SELF) {
    Seen seen;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return seen;
    VARIANT which{};
    which.vt = VT_I4;
    which.lVal = child;
    VARIANT number{};
    if (SUCCEEDED(object->get_accRole(which, &number))) seen.role = number.lVal;
    if (SUCCEEDED(object->get_accState(which, &number))) seen.state = number.lVal;
    BSTR text = nullptr;
    if (object->get_accName(which, &text) == S_OK) seen.name.assign(text, SysStringLen(text));
    SysFreeString(std::exchange(text, nullptr));
    if (object->get_accValue(which, &text) == S_OK) seen.value.assign(text, SysStringLen(text));
    SysFreeString(text);
    if (child == CHILDID_SELF) object->get_accChildCount(&seen.children);
    object->Release();
    return seen;
}

std::set<std::tuple<DWORD, HWND, long>> events;

void CALLBACK Record(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) events.emplace(event, window, child);
}

using AccessibleTest = MainWindowTest;

constexpr long kCombo = ROLE_SYSTEM_COMBOBOX, kCollapsed = STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_COLLAPSED;

// A screen reader finds each selector a combo box named by its row and column, with its text as
// its value; the dropped list's entries are list items, the lit one selected; the keypad buttons
// are push buttons named by their phone key. Focus, value and state changes are told as they happen.
TEST_F(AccessibleTest, SelectorsAreComboBoxesAndKeypadButtonsPushButtons) {
    folder.Write("itemindex.itm", MappingText("user", {{5, "F5"}, {45, "COM3"}, {50, "Z"}}));
    Open();
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, Record,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(SeenOf(window->ComboBox(15).Handle()),
              (Seen{kCombo, L"Пятёрка, альтернатива", L"", kCollapsed}));
    EXPECT_EQ(SeenOf(window->ComboBox(50).Handle()), (Seen{kCombo, L"Камера, клавиша", L"Z", kCollapsed}));
    EXPECT_EQ(SeenOf(window->ComboBox(45).Handle()), (Seen{kCombo, L"Выбор порта", L"COM3", kCollapsed}));
    EXPECT_EQ(SeenOf(window->Control(SpeedButtonId(12))), (Seen{ROLE_SYSTEM_PUSHBUTTON, L"Пятёрка", L"", 0}));
    EXPECT_EQ(SeenOf(window->Control(SpeedButtonId(2))), (Seen{ROLE_SYSTEM_PUSHBUTTON, L"Вверх", L"", 0}));

    HWND five = window->ComboBox(5).Handle();
    HWND field = FieldOf(window->ComboBox(5));
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_TRUE(events.contains({EVENT_OBJECT_FOCUS, five, CHILDID_SELF}));
    // The field with the focus speaks for its selector.
    EXPECT_EQ(SeenOf(field), (Seen{kCombo, L"Пятёрка, клавиша", L"F5", kCollapsed | STATE_SYSTEM_FOCUSED}));

    Deliver(field, WM_KEYDOWN, VK_DOWN);
    Deliver(field, WM_KEYDOWN, VK_F4);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_TRUE(events.contains({EVENT_OBJECT_VALUECHANGE, five, CHILDID_SELF}));
    EXPECT_TRUE(events.contains({EVENT_OBJECT_STATECHANGE, five, CHILDID_SELF}));
    EXPECT_EQ(SeenOf(five).state, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_EXPANDED);
    HWND list = FindWindowExW(FindWindowW(L"TastolinkComboListBox", nullptr), nullptr, WC_LISTBOXW, nullptr);
    const Seen entries = SeenOf(list);
    EXPECT_EQ(std::tie(entries.role, entries.name, entries.children),
              std::make_tuple(ROLE_SYSTEM_LIST, std::wstring(L"Пятёрка, клавиша"), 58L));
    EXPECT_EQ(SeenOf(list, 6),
              (Seen{ROLE_SYSTEM_LISTITEM, L"F6", L"",
                    STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED}));
    EXPECT_EQ(SeenOf(list, 7), (Seen{ROLE_SYSTEM_LISTITEM, L"F7", L"", STATE_SYSTEM_SELECTABLE}));
    Deliver(field, WM_KEYDOWN, VK_DOWN);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_TRUE(events.contains({EVENT_OBJECT_SELECTION, list, 7}));
    UnhookWinEvent(hook);
}

}  // namespace
}  // namespace tastolink::wintest
