#include <gtest/gtest.h>

#include "app/window/message_loop.h"
#include "app/window_fixture.h"

namespace tastolink::wintest {
namespace {

constexpr WORD kKeyA = 'A';
constexpr int kIndexA = 32;

struct RouteCase {
    const char* name;
    std::function<HWND(MainWindow&)> target;
    bool marks;
};

class KeyRouting : public MainWindowTest, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(KeyRouting, KeyDownMarksOnlyThroughWiredControlsAndKeyUpAlwaysClears) {
    Open();
    const RouteCase& route = GetParam();
    HWND target = route.target(*window);
    SetFocus(target);
    Deliver(target, WM_KEYDOWN, kKeyA);
    EXPECT_EQ(window->HeldKeys().IsHeld(kIndexA), route.marks);
    Deliver(target, WM_KEYUP, kKeyA);
    EXPECT_FALSE(window->HeldKeys().AnyHeld());
}

INSTANTIATE_TEST_SUITE_P(
    Controls, KeyRouting,
    ::testing::Values(
        RouteCase{"MainWindow", [](MainWindow& w) { return w.Handle(); }, true},
        RouteCase{"FocusField", [](MainWindow& w) { return w.Control(kEdit1); }, true},
        RouteCase{"FirstRowSelector", [](MainWindow& w) { return FieldOf(w.ComboBox(1)); }, true},
        RouteCase{"Row21AltSelector", [](MainWindow& w) { return FieldOf(w.ComboBox(42)); }, true},
        RouteCase{"MenuRowSelector", [](MainWindow& w) { return FieldOf(w.ComboBox(43)); }, false},
        RouteCase{"PortSelector", [](MainWindow& w) { return FieldOf(w.ComboBox(45)); }, false},
        RouteCase{"IntervalField", [](MainWindow& w) { return w.Control(kEdit2); }, false},
        RouteCase{"ChooseButton", [](MainWindow& w) { return w.Control(kButton3); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

// Only routed, not dispatched: a released Alt or F10 puts the menu bar into keyboard
// mode, whose loop waits for real input.
TEST_F(MainWindowTest, SystemKeysMarkAndClearLikeOthers) {
    Open();
    auto route = [&](UINT message, WPARAM key) {
        MSG msg{window->Control(kEdit1), message, key, 0, 0, {}};
        EXPECT_FALSE(PreTranslate(msg));
    };
    route(WM_SYSKEYDOWN, VK_MENU);
    route(WM_SYSKEYDOWN, VK_F10);
    EXPECT_TRUE(window->HeldKeys().IsHeld(24));  // Alt
    EXPECT_TRUE(window->HeldKeys().IsHeld(9));   // F10
    route(WM_SYSKEYUP, VK_F10);
    route(WM_SYSKEYUP, VK_MENU);
    EXPECT_FALSE(window->HeldKeys().AnyHeld());
}

TEST_F(MainWindowTest, HandlersDoNotSwallowKeys) {
    Open();
    HWND field = window->Control(kEdit1);
    SetFocus(field);
    SetWindowTextW(field, L"");
    Deliver(field, WM_KEYDOWN, kKeyA, 0x001E0001);
    Deliver(field, WM_KEYUP, kKeyA, 0xC01E0001);
    PumpFor(std::chrono::milliseconds(20));
    EXPECT_EQ(WindowText(field), L"a");

    // Down in a selector still steps its list, and marks the key.
    SetSelector(1, L"F1");
    Deliver(FieldOf(window->ComboBox(1)), WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(WindowText(window->ComboBox(1).Handle()), L"F2");
    EXPECT_TRUE(window->HeldKeys().IsHeld(31));
}

TEST_F(MainWindowTest, LosingActivationReleasesHeldKeys) {
    Open();
    Deliver(window->Control(kEdit1), WM_KEYDOWN, kKeyA);
    ASSERT_TRUE(window->HeldKeys().AnyHeld());
    SendMessageW(window->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(window->HeldKeys().AnyHeld());
}

}  // namespace
}  // namespace tastolink::wintest
