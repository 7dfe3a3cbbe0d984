#include "app/message_boxes.h"

#include <gtest/gtest.h>

#include "settings/text_encoding.h"

namespace tastolink {
namespace {

TEST(ProgramTitle, IsTheFileNameCutAtItsFirstDotWithTheRestInLowerCase) {
    EXPECT_EQ(ProgramTitleFromPath(L"C:\\Program Files\\Tastolink.exe"), L"Tastolink");
    EXPECT_EQ(ProgramTitleFromPath(L"C:\\x\\TASTOLINK.EXE"), L"Tastolink");
    EXPECT_EQ(ProgramTitleFromPath(L"C:\\x.y\\tasto.link.exe"), L"tasto");
    EXPECT_EQ(ProgramTitleFromPath(L"Z:\\ПУЛЬТ.exe"), L"Пульт");
}

TEST(ErrorBox, AddsAFullStopAfterCharactersAboveIt) {
    EXPECT_EQ(ErrorBoxText(L"Stream write error"), L"Stream write error.");
    EXPECT_EQ(ErrorBoxText(L"'75 ' is not a valid integer value"), L"'75 ' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText(L"Нет доступа"), L"Нет доступа.");
    EXPECT_EQ(ErrorBoxText(L"done."), L"done.");
    EXPECT_EQ(ErrorBoxText(L"what!"), L"what!");
    EXPECT_EQ(ErrorBoxText(L"(x)"), L"(x)");
    EXPECT_EQ(ErrorBoxText(L""), L"");
}

// The plain box is a real modal dialog: timers keep firing in its loop, and OK closes it.
TEST(SimpleMessageBox, RunsTimersWhileOpenAndClosesOnOk) {
    static int ticks = 0;
    static HWND found = nullptr;
    ticks = 0;
    found = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        ++ticks;
        HWND box = FindWindowW(L"TastolinkMessageBox", ProgramTitle().c_str());
        if (box && ticks >= 3) {
            found = box;
            PostMessageW(box, WM_COMMAND, IDCANCEL, 0);  // Esc: OK is the cancel button too
        }
    });
    ScreenMessages().ShowSimpleMessage(nullptr, "Невозможно выбрать COM9");
    KillTimer(nullptr, timer);
    ASSERT_NE(found, nullptr);
    EXPECT_GE(ticks, 3);
}

}  // namespace
}  // namespace tastolink
