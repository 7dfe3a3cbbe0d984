#include "link/answer_parser.h"

#include <gtest/gtest.h>

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
        // Noise: bytes outside printable ASCII
        {{"\r\n\xfeO", std::string("K\0\x1b\r\n", 5)}, {{Ok, "OK"}}},
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

// The longest line that can be an answer is kept whole; one byte more and it is noise.
TEST(AnswerParser, KeepsALineAtItsLengthBoundAndDropsOneJustPastIt) {
    AnswerParser parser;
    const std::string longest = "+CDEV: 1,\"" + std::string(kLongestAnswerLine - 11, 'x') + "\"";
    ASSERT_EQ(longest.size(), 256u);
    EXPECT_EQ(parser.Feed(longest + "\r\n"), (std::vector<PhoneAnswer>{{Unsolicited, longest}}));
    EXPECT_EQ(parser.Feed(longest + "y\r\nOK\r\n"), (std::vector<PhoneAnswer>{{Ok, "OK"}}));
}

}  // namespace tastolink
