#include <gtest/gtest.h>

#include "app/window_fixture.h"
// windowsx.h needs windows.h, which the fixture brings.
#include <windowsx.h>

namespace tastolink::wintest {
namespace {

TEST_F(MainWindowTest, StartsWithTheSavedBindingsPortAndPeriod) {
    folder.Write("itemindex.itm", MappingText("user file", {{1, "Num1"}, {45, "COM3"}, {53, "Z"}}, "tail"));
    folder.Write("interval.int", "250\r\n");
    Open();
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(WindowText(window->ComboBox(1).Handle()), L"Num1");
    EXPECT_EQ(WindowText(window->ComboBox(53).Handle()), L"Z");
    EXPECT_EQ(WindowText(window->ComboBox(45).Handle()), L"COM3");
    EXPECT_TRUE(ports.opened.empty());
    EXPECT_EQ(window->RepeatPeriod(), 250u);
    EXPECT_EQ(window->ComboBox(53).EntryList().size(), 58);
    EXPECT_EQ(window->ComboBox(45).EntryList().size(), 5);
    EXPECT_EQ(GetFocus(), window->Control(kEdit1));
}

TEST_F(MainWindowTest, MissingCatalogueSkipsTheRestOfTheCreateSequence) {
    DeleteFileW(L"Items.itm");
    folder.Write("interval.int", "250\r\n");
    Open();
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0].rfind("Cannot open file \"", 0), 0u) << messages.errors[0];
    EXPECT_NE(messages.errors[0].find("Items.itm\". "), std::string::npos) << messages.errors[0];
    EXPECT_EQ(window->ComboBox(1).EntryList().size(), 1);
    EXPECT_EQ(window->ComboBox(3).EntryList().size(), 0);
    EXPECT_EQ(WindowText(window->ComboBox(45).Handle()), L"COM1");
    EXPECT_EQ(window->RepeatPeriod(), 100u);
    // Bindings and a period never loaded are not saved over the files.
    const std::string bindings = folder.Read("itemindex.itm");
    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(folder.Read("itemindex.itm"), bindings);
    EXPECT_EQ(folder.Read("interval.int"), "250\r\n");
}

TEST_F(MainWindowTest, ClosingSavesBindingsAndPeriodByteForByte) {
    folder.Write("itemindex.itm", MappingText("keep me", {{1, "Num1"}, {45, "COM1"}}, "after 53"));
    Open();
    SetSelector(1, L"F1");
    SetSelector(53, L" spaced ");
    SetWindowTextW(window->Control(kEdit2), L"75 ");
    window->Button2Click();
    EXPECT_EQ(messages.errors, std::vector<std::string>{"'75 ' is not a valid integer value"});
    messages.errors.clear();
    SetWindowTextW(window->Control(kEdit2), L"$32");
    window->Button2Click();
    window->Button1Click();
    EXPECT_EQ(WindowText(window->Control(kEdit2)), L"50");
    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(messages.errors.empty());
    EXPECT_EQ(folder.Read("itemindex.itm"),
              MappingText("keep me", {{1, "F1"}, {45, "COM1"}, {53, " spaced "}}, "after 53"));
    EXPECT_EQ(folder.Read("interval.int"), "50\r\n");
}

// "Set" drives the window's own repeat timer: a held key repeats at the new period, and 0 stops it.
TEST_F(MainWindowTest, ASetPeriodRepeatsAHeldKeyAndZeroStopsTheTimer) {
    folder.Write("itemindex.itm", MappingText("user", {{5, "A"}, {45, "COM1"}}));
    Open();
    window->Button3Click();
    SetWindowTextW(window->Control(kEdit2), L"10");
    window->Button2Click();
    Deliver(window->Control(kEdit1), WM_KEYDOWN, 'A');
    for (int wait = 0; wait < 250 && ports.lines.empty(); ++wait) PumpFor(std::chrono::milliseconds(20));
    ASSERT_FALSE(ports.lines.empty());
    SetWindowTextW(window->Control(kEdit2), L"0");
    window->Button2Click();
    ports.lines.clear();
    PumpFor(std::chrono::milliseconds(300));  // thirty ticks of the old period
    EXPECT_TRUE(ports.lines.empty());
    EXPECT_TRUE(window->HeldKeys().AnyHeld());
}

// With the phone's answers off and on.
class SettingsFaultTest : public MainWindowTest, public testing::WithParamInterface<bool> {};

TEST_P(SettingsFaultTest, ReadOnlyBindingsKeepTheWindowOpenAndThePeriodUnsaved) {
    if (GetParam()) folder.Write("answers.ini", "1\r\n");
    Open();
    const std::string before = folder.Read("itemindex.itm");
    SetFileAttributesW(L"itemindex.itm", FILE_ATTRIBUTE_READONLY);
    SetSelector(1, L"F9");
    SetWindowTextW(window->Control(kEdit2), L"70");
    window->Button2Click();
    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(messages.errors.size(), 1u);
    EXPECT_EQ(messages.errors[0].rfind("Cannot create file \"", 0), 0u) << messages.errors[0];
    EXPECT_TRUE(IsWindow(window->Handle()));
    EXPECT_EQ(folder.Read("itemindex.itm"), before);
    EXPECT_EQ(folder.Read("interval.int"), "100\r\n");
}

INSTANTIATE_TEST_SUITE_P(PhoneAnswers, SettingsFaultTest, testing::Bool(),
                         [](const auto& info) { return info.param ? "On" : "Off"; });

TEST_F(MainWindowTest, DefaultsThenCloseCarryTheDefaultFilesExtraLines) {
    folder.Write("default.itm", MappingText("defaults", {{25, "Up"}, {45, "COM2"}}, "extra"));
    Open();
    window->N4Click();
    EXPECT_EQ(WindowText(window->ComboBox(25).Handle()), L"Up");
    EXPECT_EQ(WindowText(window->ComboBox(45).Handle()), L"COM2");
    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(folder.Read("itemindex.itm"), MappingText("defaults", {{25, "Up"}, {45, "COM2"}}, "extra"));
}

TEST_F(MainWindowTest, SavesWhenTheSessionEnds) {
    Open();
    SetSelector(2, L"Num2");
    SendMessageW(window->Handle(), WM_QUERYENDSESSION, 0, 0);
    SendMessageW(window->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_NE(folder.Read("itemindex.itm").find("\r\nNum2\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tastolink::wintest
