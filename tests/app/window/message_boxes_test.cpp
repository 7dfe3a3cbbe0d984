#include "app/window/message_boxes.h"

#include <gtest/gtest.h>

#include "shared/text_encoding.h"

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

}  // namespace
}  // namespace tastolink
