#include "app/window/modal_dialog.h"

#include <gtest/gtest.h>
// After windows.h, which modal_dialog.h brings.
#include <commctrl.h>

#include <functional>
#include <stdexcept>
#include <vector>

namespace tastolink {
namespace {

constexpr int kFieldId = 10, kMoreId = 11;

// A multi-line field, "Ещё", OK and Отмена, in that tab order. While it runs, it takes one of
// `steps` at each tick of a timer; a dialog the steps leave open is closed, and says so.
class Probe final : public ModalDialog {
public:
    using Step = std::function<void(Probe&)>;
    explicit Probe(std::vector<Step> steps)
        : ModalDialog({.className = L"TastolinkTestDialog", .caption = L"Проба", .client = {240, 120}}),
          steps_(std::move(steps)) {}
    bool Run(HWND owner) { return RunModal(owner); }

    bool fails = false, leftOpen = false;
    std::vector<int> commands;  // the buttons clicked
    HWND field = nullptr;

private:
    bool BuildControls() override {
        SetTimer(Handle(), 1, 20, nullptr);
        field = AddControl({.windowClass = WC_EDITW, .style = WS_TABSTOP | ES_MULTILINE, .id = kFieldId});
        for (int id : {kMoreId, IDOK, IDCANCEL})
            AddControl({.windowClass = WC_BUTTONW, .style = WS_TABSTOP, .id = id, .place = {8, 70, 60, 90}});
        return !fails;
    }
    void OnCommand(int id, WORD notification) override {
        if (notification == BN_CLICKED) commands.push_back(id);
        if (id == IDOK) End(true);
    }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_TIMER) return ModalDialog::HandleMessage(message, wParam, lParam);
        if (steps_.empty()) {
            leftOpen = true;
            PostMessageW(Handle(), WM_CLOSE, 0, 0);
        } else {
            const Step step = steps_.front();
            steps_.erase(steps_.begin());
            step(*this);
        }
        return 0;
    }

    std::vector<Step> steps_;
};

// Posts the key-downs to the control with the focus, as the keyboard would.
Probe::Step Keys(std::vector<WORD> keys) {
    return [keys](Probe&) {
        for (WORD key : keys) PostMessageW(GetFocus(), WM_KEYDOWN, key, 0);
    };
}

HWND MakeOwner(bool enabled) {
    return CreateWindowExW(0, WC_STATICW, L"", WS_POPUP | (enabled ? 0 : WS_DISABLED), 0, 0, 50, 20, nullptr,
                           nullptr, nullptr, nullptr);
}

// Tab walks the tab stops round, Enter clicks the push button with the focus or else OK, and the
// multi-line field types neither.
TEST(ModalDialog, TabMovesTheFocusAndEnterClicksTheButtonWithItOrElseOk) {
    bool startsInField = false, backInField = false;
    std::wstring typed = L"?";
    Probe probe({[&](Probe& dialog) { startsInField = GetFocus() == dialog.field; },
                 Keys({VK_TAB, VK_RETURN, VK_TAB, VK_TAB, VK_TAB}),
                 [&](Probe& dialog) {
                     backInField = GetFocus() == dialog.field;
                     typed = WindowText(dialog.field);
                 },
                 Keys({VK_RETURN})});
    const HWND owner = MakeOwner(true);
    EXPECT_TRUE(probe.Run(owner));
    EXPECT_TRUE(startsInField);
    EXPECT_TRUE(backInField);
    EXPECT_EQ(typed, L"");
    EXPECT_EQ(probe.commands, (std::vector<int>{kMoreId, IDOK}));
    EXPECT_FALSE(probe.leftOpen);
    DestroyWindow(owner);
}

struct EndingCase {
    const char* name;
    Probe::Step end;
    bool ownerEnabled;
};

class Ending : public ::testing::TestWithParam<EndingCase> {};

// Esc, the close and Отмена end the dialog as cancelled; the owner is disabled meanwhile and
// enabled again after only when it was before.
TEST_P(Ending, CancelsAndGivesTheOwnerBackAsItWas) {
    const HWND owner = MakeOwner(GetParam().ownerEnabled);
    bool ownerEnabledMeanwhile = true;
    Probe probe({[&](Probe&) { ownerEnabledMeanwhile = IsWindowEnabled(owner) != FALSE; }, GetParam().end});
    EXPECT_FALSE(probe.Run(owner));
    EXPECT_FALSE(ownerEnabledMeanwhile);
    EXPECT_EQ(IsWindowEnabled(owner) != FALSE, GetParam().ownerEnabled);
    EXPECT_TRUE(probe.commands.empty());
    EXPECT_FALSE(probe.leftOpen);
    DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, Ending,
    ::testing::Values(EndingCase{"Esc", Keys({VK_ESCAPE}), true},
                      EndingCase{"EscOverADisabledOwner", Keys({VK_ESCAPE}), false},
                      EndingCase{"Close",
                                 [](Probe& dialog) { PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0); }, true},
                      EndingCase{"Cancel", Keys({VK_TAB, VK_TAB, VK_TAB, VK_RETURN}), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ModalDialog, ThatCantBeMadeSaysWhichAndLeavesTheOwnerEnabled) {
    const HWND owner = MakeOwner(true);
    Probe probe({});
    probe.fails = true;
    try {
        probe.Run(owner);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Не удалось создать окно «Проба»");
    }
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

}  // namespace
}  // namespace tastolink
