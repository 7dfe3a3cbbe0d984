#include "app/window/automation_provider.h"
#include "app/window_fixture.h"
// After windows.h, which the fixture brings.
#include <gtest/gtest.h>
#include <windowsx.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "shared/late_bound_win32.h"

namespace tastolink::wintest {
namespace {

// A UI Automation client in this process, through the node functions of Wine 8's
// uiautomationcore.dll. They reach a provider through WM_GETOBJECT and UiaRootObjectId and read its
// control type and name; Wine 8 cannot read the Value property ("no type info for prop_id 30045")
// and its UiaGetPatternProvider is an unimplemented stub, so the patterns are asked of the provider
// itself below.
class AutomationClient {
public:
    AutomationClient()
        : fromHandle_(LateBound<decltype(fromHandle_)>(L"uiautomationcore.dll", "UiaNodeFromHandle")),
          property_(LateBound<decltype(property_)>(L"uiautomationcore.dll", "UiaGetPropertyValue")),
          release_(LateBound<decltype(release_)>(L"uiautomationcore.dll", "UiaNodeRelease")) {}

    // The control type and name of a window's element.
    std::pair<int, std::wstring> Of(HWND window) const {
        std::pair<int, std::wstring> seen;
        HANDLE node = nullptr;
        if (!fromHandle_ || FAILED(fromHandle_(window, &node))) return seen;
        VARIANT answer{};
        if (SUCCEEDED(property_(node, UIA_ControlTypePropertyId, &answer)) && answer.vt == VT_I4)
            seen.first = answer.lVal;
        VariantClear(&answer);
        if (SUCCEEDED(property_(node, UIA_NamePropertyId, &answer)) && answer.vt == VT_BSTR)
            seen.second = answer.bstrVal;
        VariantClear(&answer);
        release_(node);
        return seen;
    }

private:
    HRESULT(WINAPI* fromHandle_)(HWND, HANDLE*) = nullptr;
    HRESULT(WINAPI* property_)(HANDLE, PROPERTYID, VARIANT*) = nullptr;
    BOOL(WINAPI* release_)(HANDLE) = nullptr;
};

// Runs `ask` on a thread of its own, as a client in another process would ask, while this thread,
// the windows', answers: Wine's node functions wait for the window's thread to answer WM_GETOBJECT.
template <typename Ask>
void AskFromAnotherThread(Ask&& ask) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread client([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ask();
        CoUninitialize();
        SetEvent(done);
    });
    while (MsgWaitForMultipleObjects(1, &done, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageW(&message);
    CloseHandle(done);
    client.join();
}

using AutomationTest = MainWindowTest;

// A client finds a selector a combo box named by its row and column, never by its text, and a
// keypad button a button named by its phone key.
TEST_F(AutomationTest, SelectorsAreComboBoxesAndKeypadButtonsButtons) {
    folder.Write("itemindex.itm", MappingText("user", {{5, "F5"}}));
    Open();
    const AutomationClient client;
    std::pair<int, std::wstring> combo, button;
    AskFromAnotherThread([&] {
        combo = client.Of(window->ComboBox(5).Handle());
        button = client.Of(window->Control(SpeedButtonId(12)));
    });
    EXPECT_EQ(combo, std::make_pair(kComboBoxControlType, std::wstring(L"Пятёрка, клавиша")));
    EXPECT_EQ(button, std::make_pair(kButtonControlType, std::wstring(L"Пятёрка")));
}

// A control as the provider sees it: a combo box whose entry 1 is chosen, or a push button.
struct FakeControl : AccessibleFace {
    HWND AccessibleWindow() const override { return nullptr; }
    long Role() const override { return role; }
    std::wstring Name() const override { return L"name"; }
    std::wstring Value() const override { return value; }
    long State() const override {
        return role == ROLE_SYSTEM_COMBOBOX ? (expanded ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED) : 0;
    }
    void DoDefaultAction() override {
        ++actions;
        expanded = !expanded;
    }
    bool SetValue(const std::wstring& text) override {
        value = text;
        return true;
    }
    long Chosen() const override { return chosen; }
    std::wstring ChoiceName(long index) const override { return L"entry " + std::to_wstring(index); }
    void Choose(long index) override { chosen = index; }

    long role = ROLE_SYSTEM_COMBOBOX;
    std::wstring value = L"text";
    bool expanded = false;
    int actions = 0;
    long chosen = 1;
};

template <typename Pattern>
Pattern* PatternOf(AutomationProvider& provider, PATTERNID id) {
    IUnknown* found = nullptr;
    Pattern* pattern = nullptr;
    provider.GetPatternProvider(id, &found);
    if (!found) return nullptr;
    found->QueryInterface(__uuidof(Pattern), reinterpret_cast<void**>(&pattern));
    found->Release();
    return pattern;
}

// The patterns a client drives: a combo box expands only when collapsed and collapses only when
// expanded, has its value read and set, and its chosen entry read and selected as a list item; a
// push button is invoked; neither offers the other's patterns.
TEST(AutomationProvider, DrivesTheControlThroughItsPatterns) {
    FakeControl control;
    auto* provider = new AutomationProvider(control);
    auto* expandCollapse = PatternOf<IExpandCollapseProvider>(*provider, UIA_ExpandCollapsePatternId);
    ASSERT_NE(expandCollapse, nullptr);
    ExpandCollapseState state{};
    for (bool expand : {true, true, false, false}) {
        expand ? expandCollapse->Expand() : expandCollapse->Collapse();
        expandCollapse->get_ExpandCollapseState(&state);
        EXPECT_EQ(state, expand ? ExpandCollapseState::Expanded : ExpandCollapseState::Collapsed);
    }
    EXPECT_EQ(control.actions, 2);
    expandCollapse->Release();

    auto* value = PatternOf<IValueProvider>(*provider, UIA_ValuePatternId);
    ASSERT_NE(value, nullptr);
    BSTR text = nullptr;
    value->get_Value(&text);
    EXPECT_EQ(std::wstring(text), L"text");
    SysFreeString(text);
    value->SetValue(L"Num2");
    EXPECT_EQ(control.value, L"Num2");
    value->Release();

    auto* selection = PatternOf<ISelectionProvider>(*provider, UIA_SelectionPatternId);
    ASSERT_NE(selection, nullptr);
    SAFEARRAY* chosen = nullptr;
    ASSERT_EQ(selection->GetSelection(&chosen), S_OK);
    LONG first = 0;
    IRawElementProviderSimple* entry = nullptr;
    ASSERT_EQ(SafeArrayGetElement(chosen, &first, &entry), S_OK);
    VARIANT name{};
    entry->GetPropertyValue(UIA_NamePropertyId, &name);
    EXPECT_EQ(std::wstring(name.bstrVal), L"entry 1");
    VariantClear(&name);
    control.chosen = -1;
    IUnknown* found = nullptr;
    entry->GetPatternProvider(UIA_SelectionItemPatternId, &found);
    ISelectionItemProvider* item = nullptr;
    found->QueryInterface(__uuidof(ISelectionItemProvider), reinterpret_cast<void**>(&item));
    item->Select();
    EXPECT_EQ(control.chosen, 1);
    for (IUnknown* done : {static_cast<IUnknown*>(item), found, static_cast<IUnknown*>(entry)})
        done->Release();
    SafeArrayDestroy(chosen);
    selection->Release();
    EXPECT_EQ(PatternOf<IInvokeProvider>(*provider, UIA_InvokePatternId), nullptr);

    control.role = ROLE_SYSTEM_PUSHBUTTON;
    EXPECT_EQ(PatternOf<IExpandCollapseProvider>(*provider, UIA_ExpandCollapsePatternId), nullptr);
    auto* invoke = PatternOf<IInvokeProvider>(*provider, UIA_InvokePatternId);
    ASSERT_NE(invoke, nullptr);
    invoke->Invoke();
    EXPECT_EQ(control.actions, 3);
    invoke->Release();
    provider->Disconnect();
    EXPECT_EQ(provider->Invoke(), kElementNotAvailable);
    provider->Release();
}

}  // namespace
}  // namespace tastolink::wintest
