#include <gtest/gtest.h>

#include "link/answer_status.h"
#include "phone/phone_key_table.h"

namespace tastolink {

using enum AnswerKind;

TEST(AnswerParser, CutsReadsIntoAnswerLines) {
    const std::pair<std::vector<std::string>, std::vector<PhoneAnswer>> cases[] = {
        {{"AT+CKPD=\"5\"\r\r\nOK\r\n"}, {{Echo, "AT+CKPD=\"5\""}, {Ok, "OK"}}},
        {{"at\rERROR\nOK\r"}, {{Echo, "at"}, {Error, "ERROR"}, {Ok, "OK"}}},  // lone CR, lone LF
        {{"\r\n+CME ER", "ROR: 1", "0\r", "\n"}, {{CmeError, "+CME ERROR: 10"}}},
        {{"\r\nOK"}, {}},  // an unfinished line waits
        {{"\r\nRING\r\n\r\nOK\r\n+CIEV: 2,5\r\n"},
         {{Unsolicited, "RING"}, {Ok, "OK"}, {Unsolicited, "+CIEV: 2,5"}}},
        // Noise: an overlong line, and bytes outside printable ASCII
        {{std::string(300, 'A') + "\r\n\xfeO", std::string("K\0\x1b\r\n", 5)}, {{Ok, "OK"}}},
        // Bytes lost between "O" and "K" (an empty read stands for them): no "OK"; the next line is read.
        {{"\r\nO", "", "K\r\nERROR\r\n"}, {{Error, "ERROR"}}},
    };
    for (const auto& [reads, expected] : cases) {
        AnswerParser parser;
        std::vector<PhoneAnswer> answers;
        for (const std::string& read : reads)
            if (read.empty())
                parser.Break();
            else
                std::ranges::copy(parser.Feed(read), std::back_inserter(answers));
        EXPECT_EQ(answers, expected) << testing::PrintToString(reads);
    }
}

TEST(LongPressCommand, HoldsTheKeyForTwoSeconds) {
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[4]), "AT+CKPD=\"5\",20\r\n");
    EXPECT_EQ(LongPressCommand(kPhoneKeyTable[25]), "AT+CKPD=\":T\",20\r\n");
}

// Each text the status bar shows, written out once.
TEST(AnswerStatus, ShowsThePortEachKindOfAnswerAndThePhonesOwnLines) {
    AnswerStatus status;
    EXPECT_EQ(status.Port(), "Порт не выбран");
    status.PortFailed("COM7", "порт занят");
    EXPECT_EQ(status.Port(), "COM7 не открыт: порт занят");
    status.PortOpened("COM4");
    EXPECT_EQ(status.Port(), "COM4 открыт");
    status.Received("\r\nOK\r\n");  // nothing asked yet: no key, nothing counted
    EXPECT_EQ(status.LastKey(), "");
    status.Sent("AT+CKPD=\"5\"\r\n");
    status.Received("AT+CKPD=\"5\"\r\r\nO");
    EXPECT_EQ(status.LastKey(), "5 → …");
    status.Received("K\r\n");
    EXPECT_EQ(status.LastKey(), "5 → OK");
    status.Sent("AT+CKPD=\":L\"\r\n");
    status.Received("\r\n+CME ERROR: 3\r\n\r\nRING\r\n");
    EXPECT_EQ(status.LastKey() + " " + status.Unsolicited(), "Влево → +CME ERROR: 3 RING");
    status.Sent("AT+CKPD=\"#\"\r\n");
    status.Received("\r\nERROR\r\n");
    EXPECT_EQ(status.LastKey(), "# → ERROR");
    status.Sent("AT+CKPD=\"E\",20\r\n");
    status.Silence();
    EXPECT_EQ(status.LastKey(), "Красная долго → нет ответа");
    status.Sent("AT+CKPD=\"S\"\r\n");
    status.Dropped();
    EXPECT_EQ(status.LastKey(), "Зелёная → ответ потерян");
    EXPECT_EQ(status.Counts(), "Отправлено: 5, OK: 1");
    status.PortLost("COM4");
    EXPECT_EQ(status.Port(), "COM4 пропал");
}

// A phone answers in the order of the keys. A key given up still owes its answer, which then
// goes to no key; an answer that has not come by the next silence is lost for good.
TEST(AnswerStatus, NeverCreditsAnAnswerToAKeySentAfterItsOwn) {
    AnswerStatus status;
    status.Sent("AT+CKPD=\"5\"\r\n");
    status.Silence();
    status.Sent("AT+CKPD=\"1\"\r\n");
    status.Received("\r\nOK\r\n");  // 5's, late
    EXPECT_EQ(status.LastKey(), "1 → …");
    status.Received("\r\nERROR\r\n");
    EXPECT_EQ(status.LastKey(), "1 → ERROR");

    status.Sent("AT+CKPD=\"2\"\r\n");
    status.Sent("AT+CKPD=\"3\"\r\n");
    status.Received("\r\nOK\r\n");
    EXPECT_EQ(status.LastKey(), "2 → OK");
    status.Received("\r\nERROR\r\n");
    EXPECT_EQ(status.LastKey(), "3 → ERROR");

    status.Sent("AT+CKPD=\"4\"\r\n");
    status.Dropped();  // its answer may still come: taken for it
    status.Received("\r\nOK\r\n");
    status.Sent("AT+CKPD=\"6\"\r\n");
    status.Silence();
    EXPECT_TRUE(status.Expecting());
    status.Silence();  // 6's answer was lost
    EXPECT_FALSE(status.Expecting());
    status.Sent("AT+CKPD=\"7\"\r\n");
    status.Received("\r\nOK\r\n");
    EXPECT_EQ(status.LastKey(), "7 → OK");

    status.Sent("AT+CKPD=\"8\"\r\n");
    status.Silence();
    status.PortOpened("COM5");  // a new port owes nothing of the last
    status.Sent("AT+CKPD=\"9\"\r\n");
    status.Received("\r\nOK\r\n");
    EXPECT_EQ(status.LastKey(), "9 → OK");
    EXPECT_EQ(status.Counts(), "Отправлено: 9, OK: 3");
}

}  // namespace tastolink
