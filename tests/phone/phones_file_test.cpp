#include "phone/phones_file.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

TEST(PhonesFile, ReadsEachSectionAsAProfileOnItsBase) {
    const PhonesFile file = ReadPhonesFile(
        "\xEF\xBB\xBF; a phone that needs keypad access\r\n[Sony Ericsson K750]\r\nbase = 3GPP TS 27.007\r\n"
        "match = sony ericsson; k750\r\nprepare = AT+CMEC=2\r\nprepare = AT+CSCS=\"8859-1\"\r\n"
        "key.centre = :J\r\n\tlong = 15 \r\n\r\n# typing\r\n[Мой телефон]\r\ntext=alpha\r\nkey.up =\r\n"
        "alpha_charset = ucs2\r\nalpha_longest = 70\r\nbase = Sony Ericsson K750\r\nprepare =\r\n"
        "[Latin]\nlayout = latin\nletters.2 = абвгabc\nmultitap_wait = 900\nnext = >\nkeys_per_command = 64\n"
        "press_ms = 150\nevents = AT+CMER=3,2,0,0");
    EXPECT_TRUE(file.problems.empty());
    ASSERT_EQ(file.profiles.size(), 5u);
    const PhoneProfile &sony = file.profiles[2], &mine = file.profiles[3], &latin = file.profiles[4];
    const int centre = RowNamed("centre"), up = RowNamed("up");
    EXPECT_EQ((std::vector{sony.name, sony.codes[centre], sony.codes[up], mine.name, mine.codes[centre],
                           mine.codes[up], latin.codes[up], latin.typing.nextCode, latin.eventLine}),
              (std::vector<std::string>{"Sony Ericsson K750", ":J", "^", "Мой телефон", ":J", "", ":X", ">",
                                        "AT+CMER=3,2,0,0"}));
    EXPECT_EQ(sony.preparation, (std::vector<std::string>{"AT+CMEC=2", "AT+CSCS=\"8859-1\""}));
    EXPECT_EQ(sony.matchWords, (std::vector<std::string>{"sony ericsson", "k750"}));
    EXPECT_TRUE(mine.preparation.empty());
    EXPECT_EQ((std::vector{sony.longPressTenths, mine.typing.alphaLongest, latin.typing.keysPerCommand,
                           int(latin.typing.multitapWaitMs), int(latin.typing.pressMs)}),
              (std::vector{15, 70, 64, 900, 150}));
    EXPECT_EQ(mine.typing.mode, TextEntryMode::Alpha);
    EXPECT_EQ(mine.typing.charset, AlphaCharset::Ucs2);
    EXPECT_EQ(latin.typing.letters[2], U"абвгabc2");
    EXPECT_EQ(latin.typing.letters[3], U"def3");
}

TEST(PhonesFile, NamesEachBadLineAndLeavesItsProfileOut) {
    using enum ProblemKind;
    const std::string longest = "; " + std::string(1022, 'x');
    // The file, its one problem and how many profiles it leaves: the two built-in ones and the good.
    const std::tuple<std::string, ProfileProblem, std::size_t> cases[] = {
        {"\r\n\r\nx = 1", {3, OutsideSection, ""}, 2},
        {"[P", {1, BadSection, "[P"}, 2},
        {"[ ]", {1, BadSection, "[ ]"}, 2},
        {"[P]\n[P]", {2, DuplicateSection, "P"}, 3},
        {"[Обычный]", {1, DuplicateSection, "Обычный"}, 2},
        {"[P]\nbase = Q\n[Q]", {2, UnknownBase, "Q"}, 3},
        {"[P]\nlong 15", {2, NoEquals, "long 15"}, 2},
        {"[P]\ncolour = red", {2, UnknownSetting, "colour"}, 2},
        {"[P]\nkey.joystick = 5", {2, UnknownSetting, "key.joystick"}, 2},
        {"[P]\nlong = 0", {2, BadNumber, "0", "1–255"}, 2},
        {"[P]\nlong = 256", {2, BadNumber, "256", "1–255"}, 2},
        {"[P]\nkeys_per_command = 65", {2, BadNumber, "65", "1–64"}, 2},
        {"[P]\nmultitap_wait = -1", {2, BadNumber, "-1", "0–60000"}, 2},
        {"[P]\ntext = t9", {2, BadChoice, "t9", "alpha, multitap"}, 2},
        {"[P]\nkey.up = \"^\"", {2, BadKeys, "\"^\"", "", KeypadFault::QuoteMark}, 2},
        {"[P]\nnext = ;abc", {2, BadKeys, ";abc", "", KeypadFault::OpenAlphaEntry}, 2},
        {"[P]\nprepare = CMEC=2", {2, BadCommand, "CMEC=2"}, 2},
        {"[P]\nletters.2 =", {2, EmptyValue, "letters.2"}, 2},
        {"[P]\nmatch = \xC3\x28", {2, NotUtf8, ""}, 2},
        {"[P]\nprepare = ATE0\x01", {2, ControlCharacter, "U+0001"}, 2},
        {"[P]\nprepare = AT\tE0", {2, ControlCharacter, "U+0009"}, 2},
        {"[P]\n" + longest + "x", {2, LineTooLong, "1024"}, 2},
        {std::string(1 << 20, '\n') + "x", {0, FileTooLarge, "1048576"}, 2},
        // A line at the longest, and a file at the largest, are read.
        {"[P]\n" + longest + "\nlong = x", {3, BadNumber, "x", "1–255"}, 2},
        {std::string((1 << 20) - 1, '\n') + "x", {1 << 20, OutsideSection, ""}, 2},
    };
    for (const auto& [bytes, problem, profiles] : cases) {
        const PhonesFile file = ReadPhonesFile(bytes);
        EXPECT_EQ(file.problems, std::vector<ProfileProblem>{problem}) << bytes.substr(0, 40);
        EXPECT_EQ(file.profiles.size(), profiles) << bytes.substr(0, 40);
    }
}

TEST(PhonesFile, TheBoxNamesTheFileEachLineAndEachFault) {
    const auto problems = ReadPhonesFile("x\r\n[P]\r\nkey.up = :\r\nlong = 300").problems;
    EXPECT_EQ(ProblemsText(problems, Language::Russian),
              "В phones.ini есть ошибки; профили с ними пропущены.\n"
              "Строка 1: строка вне раздела: выше нет «[Название]»\n"
              "Строка 3: «:» — не клавиши для AT+CKPD: двоеточие без клавиши после него\n"
              "Строка 4: «300» — не целое число в пределах 1–255");
    EXPECT_EQ(ProblemsText({{0, ProblemKind::FileTooLarge, "1048576"}}, Language::English),
              "phones.ini has errors; the profiles with them are left out.\n"
              "File: the file is larger than 1048576 bytes");
}

}  // namespace
}  // namespace tastolink
