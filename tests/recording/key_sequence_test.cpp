#include "recording/key_sequence.h"

#include <gtest/gtest.h>

#include "recording/playback_schedule.h"

namespace tastolink {
namespace {

using Presses = std::vector<RecordedPress>;

std::variant<Presses, SequenceError> Parse(std::string_view file, Language language = Language::Russian) {
    return ParseKeySequence(
        file, [](std::string_view text) { return std::string(text); }, language);
}

TEST(KeySequence, ReadsCommandsAndLeavesOutBlankAndCommentLines) {
    EXPECT_EQ(
        Parse("# open messages\r\n0 M\r\n\r\n400 :R\n  250\t5,20  \r# done\n4294967295 #,0"),
        (std::variant<Presses, SequenceError>{Presses{
            {0, "M", std::nullopt}, {400, ":R", std::nullopt}, {250, "5", 20}, {4294967295u, "#", 0}}}));
    // Any keys AT+CKPD takes, as a profile sent them; a comma inside an alpha entry is text.
    EXPECT_EQ(Parse("0 ^\n0 5555\n0 :X41\n0 ;Привет, мир;,20\n0 ;a;;b;\n0 ;;\n0 :,"),
              (std::variant<Presses, SequenceError>{Presses{{0, "^", std::nullopt},
                                                            {0, "5555", std::nullopt},
                                                            {0, ":X41", std::nullopt},
                                                            {0, ";Привет, мир;", 20},
                                                            {0, ";a;;b;", std::nullopt},
                                                            {0, ";;", std::nullopt},
                                                            {0, ":,", std::nullopt}}}));
}

TEST(KeySequence, NamesTheFirstBadLineAndWhatIsWrong) {
    const std::pair<const char*, SequenceError> cases[] = {
        {"0 5\n100 é\n",
         {2, "«é» — не клавиши для AT+CKPD: пробел, запятая или не латинский знак вне «;…;»"}},
        {"0 5\r\n\r\n# x\r\n100\r\n", {4, "после паузы нет клавиши: «100»"}},
        {"0 5\r100 5\r200 ;a\r", {3, "«;a» — не клавиши для AT+CKPD: текст после «;» не закрыт второй «;»"}},
        {"-1 5", {1, "пауза «-1» — не число миллисекунд"}},
        {"4294967296 5", {1, "пауза «4294967296» — не число миллисекунд"}},
        {"1e3 5", {1, "пауза «1e3» — не число миллисекунд"}},
        {"0 5,256", {1, "время нажатия «256» — не число десятых секунды от 0 до 255"}},
        {"0 5,", {1, "время нажатия «» — не число десятых секунды от 0 до 255"}},
        {"0 5,-2", {1, "время нажатия «-2» — не число десятых секунды от 0 до 255"}},
        {"0 ;a;,2,0", {1, "время нажатия «2,0» — не число десятых секунды от 0 до 255"}},
        {"0 :", {1, "«:» — не клавиши для AT+CKPD: двоеточие без клавиши после него"}},
        {"0 5 5", {1, "«5 5» — не клавиши для AT+CKPD: пробел, запятая или не латинский знак вне «;…;»"}},
        {"0 \"5\"", {1, "«\"5\"» — не клавиши для AT+CKPD: кавычка закончила бы команду"}},
        {"0 ;a\x7F;", {1, "«;a\x7F;» — не клавиши для AT+CKPD: управляющий символ"}},
        {"0 ,20", {1, "«,20» — не клавиши для AT+CKPD: нет ни одной клавиши"}},
        {"# only a comment\r\n\r\n", {0, "в файле нет ни одного нажатия"}},
        {"", {0, "в файле нет ни одного нажатия"}},
    };
    for (const auto& [file, error] : cases)
        EXPECT_EQ(Parse(file), (std::variant<Presses, SequenceError>{error})) << file;
    EXPECT_EQ(Parse("0 5\n100 \"5\"", Language::English),
              (std::variant<Presses, SequenceError>{SequenceError{
                  2, "\"\"5\"\" is no keys for AT+CKPD: a quotation mark would end the command"}}));
}

TEST(KeySequence, RecordsWhatThePhoneIsSentWithThePauseBeforeIt) {
    Recorder recorder;
    EXPECT_EQ(recorder.LineFor("AT+CKPD=\"M\"\r\n", 1000), "0 M");
    EXPECT_EQ(recorder.LineFor("AT+CKPD=\":R\"\r\n", 1400), "400 :R");
    EXPECT_EQ(recorder.LineFor("AT+CKPD=\"5\",20\r\n", 1650), "250 5,20");
    EXPECT_EQ(recorder.LineFor("AT+CMGF=1\r\n", 1700), std::nullopt);
    EXPECT_EQ(recorder.LineFor("AT+CKPD=\"5\"5\"\r\n", 1700), std::nullopt);
    EXPECT_EQ(recorder.LineFor("AT+CKPD=\";a,\"b;\"\r\n", 1700), std::nullopt);
    EXPECT_EQ(recorder.LineFor("AT+CKPD=\";a, b;\"\r\n", 1650), "0 ;a, b;");
    EXPECT_EQ(recorder.LineFor("AT+CKPD=\"#\"\r\n", 1650 + 4294967296ull), "4294967295 #");
    EXPECT_EQ(CommandOf({0, ":T", 20}), "AT+CKPD=\":T\",20\r\n");
    EXPECT_EQ(CommandOf({7, "*", std::nullopt}), "AT+CKPD=\"*\"\r\n");
}

TEST(KeySequence, EachCommandIsDueAtItsPausesAddedUpFromTheStart) {
    EXPECT_EQ(DueTimes({{0, "M", {}}, {400, ":R", {}}, {250, "5", 20}, {4294967295u, "#", {}}, {1, "#", {}}}),
              (std::vector<std::uint64_t>{0, 400, 650, 4294967945ull, 4294967946ull}));
}

}  // namespace
}  // namespace tastolink
