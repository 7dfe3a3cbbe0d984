#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/answer_parser.h"
#include "link/answer_status.h"
#include "link/phone_key_table.h"

namespace tastolink {
namespace {

using enum AnswerKind;

struct ParserCase {
    const char* name;
    std::vector<std::string> reads;
    std::vector<PhoneAnswer> expected;
};

class AnswerParserReads : public testing::TestWithParam<ParserCase> {};

TEST_P(AnswerParserReads, GivesTheAnswerLines) {
    AnswerParser parser;
    std::vector<PhoneAnswer> answers;
    for (const std::string& read : GetParam().reads)
        for (PhoneAnswer& answer : parser.Feed(read)) answers.push_back(std::move(answer));
    EXPECT_EQ(answers, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Phone, AnswerParserReads,
    testing::Values(
        ParserCase{"Ok", {"\r\nOK\r\n"}, {{Ok, "OK"}}},
        ParserCase{"EchoThenOk", {"AT+CKPD=\"5\"\r\r\nOK\r\n"}, {{Echo, "AT+CKPD=\"5\""}, {Ok, "OK"}}},
        ParserCase{"LoneCrBreaks", {"ERROR\rOK\r"}, {{Error, "ERROR"}, {Ok, "OK"}}},
        ParserCase{"LoneLfBreaks", {"OK\n+CME ERROR: 3\n"}, {{Ok, "OK"}, {CmeError, "+CME ERROR: 3"}}},
        ParserCase{
            "SplitAcrossReads", {"\r\n+CME ER", "ROR: 1", "0\r", "\n"}, {{CmeError, "+CME ERROR: 10"}}},
        ParserCase{"UnfinishedLineWaits", {"\r\nOK"}, {}},
        ParserCase{"SeveralInOneRead",
                   {"\r\nRING\r\n\r\nOK\r\n\r\n+CIEV: 2,5\r\n"},
                   {{Unsolicited, "RING"}, {Ok, "OK"}, {Unsolicited, "+CIEV: 2,5"}}},
        ParserCase{"GarbageBetweenLines",
                   {std::string("\x00\xff\x1b\r\n\xfeO", 7), std::string("K\x00\r\n", 4)},
                   {{Ok, "OK"}}},
        ParserCase{"OverlongLineDropped", {std::string(300, 'A') + "\r\nOK\r\n"}, {{Ok, "OK"}}},
        ParserCase{"LowerCaseEcho", {"at\r\r\nOK\r\n"}, {{Echo, "at"}, {Ok, "OK"}}}),
    [](const testing::TestParamInfo<ParserCase>& info) { return info.param.name; });

TEST(LongPressCommand, HoldsTheKeyForTwoSeconds) {
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[4]), "AT+CKPD=\"5\",20\r\n");
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[9]), "AT+CKPD=\"0\",20\r\n");
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[19]), "AT+CKPD=\"E\",20\r\n");
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[25]), "AT+CKPD=\":T\",20\r\n");
}

TEST(AnswerStatus, PairsEachAnswerWithTheLastKeySent) {
    AnswerStatus status;
    status.PortOpened("COM4");
    EXPECT_EQ(status.Port(), "COM4 открыт");
    status.Received("\r\nOK\r\n");  // nothing asked yet: no key, nothing counted
    EXPECT_EQ(status.LastKey(), "");

    status.Sent("AT+CKPD=\"5\"\r\n");
    EXPECT_TRUE(status.Waiting());
    status.Received("AT+CKPD=\"5\"\r\r\nO");
    EXPECT_TRUE(status.Waiting());
    status.Received("K\r\n");
    EXPECT_EQ(status.LastKey(), "5 → OK");

    status.Sent("AT+CKPD=\":L\"\r\n");
    status.Received("\r\n+CME ERROR: 3\r\n\r\nRING\r\n");
    EXPECT_EQ(status.LastKey(), "Влево → +CME ERROR: 3");
    EXPECT_EQ(status.Unsolicited(), "RING");

    status.Sent("AT+CKPD=\"E\",20\r\n");
    status.Silence();
    EXPECT_EQ(status.LastKey(), "Красная долго → нет ответа");
    EXPECT_FALSE(status.Waiting());
    EXPECT_EQ(status.Counts(), "Отправлено: 3, OK: 1");
}

}  // namespace
}  // namespace tastolink
