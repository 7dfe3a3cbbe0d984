#include <gtest/gtest.h>

#include "app/window_fixture.h"

namespace tastolink::wintest {
namespace {

// An unattended run of six presses 200 ms apart, the first of row 5, and the items of "Файл" it
// concerns.
struct PlayingCase {
    const char* name;
    UnattendedRun run;
    UINT own;
    const wchar_t* stopItem;
    const wchar_t* startItem;
    UINT other;
    const wchar_t* otherItem;
};

using Shown = std::pair<std::wstring, bool>;

class PlayingTest : public MainWindowTest, public ::testing::WithParamInterface<PlayingCase> {
protected:
    // An item as the menu shows it once it opens: its text, and whether it is grayed.
    Shown Item(UINT id) const {
        HMENU menu = GetMenu(window->Handle());
        SendMessageW(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menu, 0)), 0);
        wchar_t text[64] = {};
        GetMenuStringW(menu, id, text, 64, MF_BYCOMMAND);
        return {text, (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0};
    }
};

// While a file plays or a text is typed, its own item stops it and the items that would start
// another playing or a recording wait; Esc stops it, what was sent stays sent, and an unattended
// run stopped before its end ends with 1.
TEST_P(PlayingTest, OnlyItsOwnItemWorksWhileItRunsAndEscStopsItKeepingWhatWasSent) {
    const PlayingCase& playing = GetParam();
    folder.Write("keys.txt", "0 5\r\n200 5\r\n200 5\r\n200 5\r\n200 5\r\n200 5\r\n");
    window = std::make_unique<MainWindow>(MainWindowServices{ports, files, messages});
    ASSERT_TRUE(window->Create(SW_SHOW, playing.run));
    for (int tries = 0; ports.lines.empty() && tries < 500; ++tries) PumpFor(std::chrono::milliseconds(10));
    EXPECT_EQ(Item(playing.own), Shown(playing.stopItem, false));
    EXPECT_EQ(Item(playing.other), Shown(playing.otherItem, true));
    EXPECT_EQ(Item(kMenuRecord), Shown(L"Записать нажатия…", true));

    Deliver(window->Control(kEdit1), WM_KEYDOWN, VK_ESCAPE);
    const std::vector<std::string> sent = ports.lines;
    PumpFor(std::chrono::milliseconds(400));
    EXPECT_EQ(ports.lines, sent);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), "AT+CKPD=\"5\"\r\n");
    EXPECT_LT(sent.size(), 6u);
    EXPECT_EQ(window->ExitCode(), 1);
    EXPECT_EQ(Item(playing.own), Shown(playing.startItem, false));
    EXPECT_EQ(Item(playing.other), Shown(playing.otherItem, false));
    EXPECT_TRUE(messages.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(FileOrText, PlayingTest,
                         ::testing::Values(PlayingCase{"File",
                                                       {.port = "COM1", .file = "keys.txt"},
                                                       kMenuPlay,
                                                       L"Остановить воспроизведение",
                                                       L"Воспроизвести…",
                                                       kMenuType,
                                                       L"Набрать текст…"},
                                           PlayingCase{"Text",
                                                       {.port = "COM1", .text = "мамама"},
                                                       kMenuType,
                                                       L"Остановить набор",
                                                       L"Набрать текст…",
                                                       kMenuPlay,
                                                       L"Воспроизвести…"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tastolink::wintest
