#include "app/window/window.h"

#include <gtest/gtest.h>
// After windows.h, which window.h brings.
#include <commctrl.h>

#include <memory>
#include <string>

#include "app/window/message_loop.h"
#include "app/window/tooltip.h"
#include "app/window_fixture.h"

namespace tastolink {
namespace {

// A window that notes its name when a message is offered to it before dispatch, and takes the
// key-downs of one key.
class Asked final : public Window {
public:
    Asked(std::string& log, char name, WPARAM takes) : log_(log), name_(name), takes_(takes) {}
    bool Make(HWND parent) {
        return CreateOfClass({.className = L"TastolinkTestWindow",
                              .style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP,
                              .parent = parent});
    }
    bool PreTranslateMessage(MSG& message) override {
        log_ += name_;
        return message.message == WM_KEYDOWN && message.wParam == takes_;
    }

private:
    std::string& log_;
    char name_;
    WPARAM takes_;
};

HWND MakeControl(const wchar_t* windowClass, HWND parent) {
    return CreateWindowExW(0, windowClass, L"", parent ? WS_CHILD | WS_VISIBLE : WS_POPUP, 0, 0, 50, 20,
                           parent, nullptr, nullptr, nullptr);
}

enum class Target { Edit, Button };

struct OfferCase {
    const char* name;
    Target target;
    UINT message;
    WPARAM key;
    const char* asked;
    bool taken;
};

class Offering : public ::testing::TestWithParam<OfferCase> {};

// Outer window 'o' takes F1, its child 'i' takes F2, and an edit control in 'i', subclassed as 'e',
// takes F3; a button in 'i' is attached to nothing.
TEST_P(Offering, AsksTheWindowThenEachParentUntilOneTakesIt) {
    const OfferCase& offer = GetParam();
    std::string log;
    Asked outer(log, 'o', VK_F1), inner(log, 'i', VK_F2), edit(log, 'e', VK_F3);
    ASSERT_TRUE(outer.Make(nullptr));
    ASSERT_TRUE(inner.Make(outer.Handle()));
    ASSERT_TRUE(edit.Subclass(MakeControl(WC_EDITW, inner.Handle())));
    HWND button = MakeControl(WC_BUTTONW, inner.Handle());

    MSG message{offer.target == Target::Edit ? edit.Handle() : button, offer.message, offer.key, 0, 0, {}};
    EXPECT_EQ(PreTranslate(message), offer.taken);
    EXPECT_EQ(log, offer.asked);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, Offering,
    ::testing::Values(OfferCase{"KeyNobodyTakes", Target::Edit, WM_KEYDOWN, 'A', "eio", false},
                      OfferCase{"KeyTheParentTakes", Target::Edit, WM_KEYDOWN, VK_F2, "ei", true},
                      OfferCase{"KeyTheControlTakes", Target::Edit, WM_KEYDOWN, VK_F3, "e", true},
                      OfferCase{"ControlOfNobodys", Target::Button, WM_KEYDOWN, VK_F1, "io", true},
                      OfferCase{"Mouse", Target::Edit, WM_LBUTTONDOWN, 0, "eio", false},
                      OfferCase{"Timer", Target::Edit, WM_TIMER, 0, "", false}),
    [](const auto& info) { return std::string(info.param.name); });

int deleted = 0;

struct Counted final : Window {
    ~Counted() override { ++deleted; }
};

// The control keeps working through the subclass, a second object is refused, and the object
// attached for the control's life goes with it.
TEST(Subclass, ObjectForTheControlsLifeIsDeletedWithIt) {
    deleted = 0;
    HWND edit = MakeControl(WC_EDITW, nullptr);
    ASSERT_TRUE(Window::SubclassForLife(edit, std::make_unique<Counted>()));
    EXPECT_FALSE(Window::SubclassForLife(edit, std::make_unique<Counted>()));
    EXPECT_EQ(deleted, 1);
    SetWindowTextW(edit, L"kept");
    EXPECT_EQ(WindowText(edit), L"kept");
    DestroyWindow(edit);
    EXPECT_EQ(deleted, 2);
}

TEST(Tooltip, EachToolKeepsItsOwnTextUntilItIsChanged) {
    std::string log;
    Asked owner(log, 'o', 0);
    ASSERT_TRUE(owner.Make(nullptr));
    HWND five = MakeControl(WC_BUTTONW, owner.Handle()), six = MakeControl(WC_BUTTONW, owner.Handle());
    Tooltip tips;
    ASSERT_TRUE(tips.Create(owner.Handle()));
    tips.AddTool(five, L"Правая кнопка мыши");
    tips.AddTool(six, L"Правая кнопка мыши");
    tips.SetText(five, L"AT+CKPD=\"5\"");
    EXPECT_EQ(wintest::TipOf(tips.Handle(), owner.Handle(), five), L"AT+CKPD=\"5\"");
    EXPECT_EQ(wintest::TipOf(tips.Handle(), owner.Handle(), six), L"Правая кнопка мыши");
}

}  // namespace
}  // namespace tastolink
