#include "phone/phone_events.h"

#include <gtest/gtest.h>

#include "phone/phone_event_status.h"

namespace tastolink {

using enum CharacterSet;
using std::chrono::milliseconds;
using Stamp = std::chrono::steady_clock::time_point;

TEST(ParsePhoneEvent, ReadsEachEventLineAndNothingMalformed) {
    const std::tuple<CharacterSet, std::string, std::optional<PhoneEvent>> cases[] = {
        {Gsm, "+CKEV: 49,1", PhoneKeyEvent{"1", true}},
        {Gsm, "+CKEV:35,0", PhoneKeyEvent{"#", false}},
        {Gsm, "+CKEV: \"M\",1", PhoneKeyEvent{"M", true}},
        {Gsm, "+CKEV: \":X\" , 0", PhoneKeyEvent{":X", false}},
        {Ucs2, "+CKEV: \"003A004A\",1", PhoneKeyEvent{":J", true}},
        {Ucs2, "+CKEV: \"5\",1", PhoneKeyEvent{"5", true}},
        {Gsm, "+CIEV: 2,5", IndicatorEvent{2, 5}},
        {Gsm, "+CDEV: 1,\"Menu \"", DisplayEvent{1, "Menu "}},
        {Ira, "+CDEV: 1,\"say \"hi\"\" ", DisplayEvent{1, "say \"hi\""}},
        {Ucs2, "+CDEV: 1,\"041F0440D83DDE00\"", DisplayEvent{1, "Пр\xF0\x9F\x98\x80"}},
        {Utf8, "+CDEV: 2,\"\"", DisplayEvent{2, ""}},
        {Ira, "+CIND: (\"battchg\",(0-5)),(\"roam\",(0,1)), (\"signal\",(0-2,4))",
         IndicatorList{{{"battchg", 0, 5}, {"roam", 0, 1}, {"signal", 0, 4}}}},
        {Ucs2, "+CIND: (\"0062\",(1-3))", IndicatorList{{{"b", 1, 3}}}},
        {Gsm, "+CIND: 5, 0,3", IndicatorValues{{5, 0, 3}}},
        // Malformed: a press beyond 1, a code no key has, two characters, a part missing or left
        // over, indicator 0, unfinished quotes, hex that is no UCS2, a range upside down.
        {Gsm, "+CKEV: 49,2", std::nullopt},
        {Gsm, "+CKEV: 200,1", std::nullopt},
        {Gsm, "+CKEV: 31,1", std::nullopt},
        {Gsm, "+CKEV: \"12\",1", std::nullopt},
        {Gsm, "+CKEV: \"\",1", std::nullopt},
        {Gsm, "+CKEV: 49", std::nullopt},
        {Gsm, "+CKEV: 49,1,", std::nullopt},
        {Gsm, "+CKEV: 123456,1", std::nullopt},
        {Gsm, "+CIEV: 0,1", std::nullopt},
        {Gsm, "+CIEV: 2,-1", std::nullopt},
        {Gsm, "+CDEV: 1,\"Menu", std::nullopt},
        {Ucs2, "+CDEV: 1,\"041\"", std::nullopt},
        {Ucs2, "+CDEV: 1,\"D83D0041\"", std::nullopt},
        {Ucs2, "+CDEV: 1,\"DC00DC00\"", std::nullopt},
        {Ucs2, "+CDEV: 1,\"+041\"", std::nullopt},
        {Gsm, "+CIND: (\"signal\",(5-1))", std::nullopt},
        {Gsm, "+CIND: (\"signal\",(0-5)", std::nullopt},
        {Gsm, "+CIND: 1,,2", std::nullopt},
        {Gsm, "+CIND:", std::nullopt},
        {Gsm, "RING", std::nullopt},
    };
    for (const auto& [set, line, expected] : cases) EXPECT_EQ(ParsePhoneEvent(line, set), expected) << line;
}

TEST(ParsePhoneEvent, TakesALineOfTheLongestAnswerAndNoLonger) {
    const std::string longest = "+CDEV: 1,\"" + std::string(245, 'a') + "\"";
    ASSERT_EQ(longest.size(), 256u);
    EXPECT_TRUE(ParsePhoneEvent(longest, Gsm));
    EXPECT_FALSE(ParsePhoneEvent("+CDEV: 1,\"a" + longest.substr(10), Gsm));
}

TEST(NarrowerEventReports, FollowTheRefusedFormToTheEnd) {
    auto lines = [](std::string_view refused) {
        std::vector<std::string_view> lines;
        for (const EventReportForm& form : NarrowerEventReports(refused)) lines.push_back(form.line);
        return lines;
    };
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(lines("AT+CMER=3,1,1,1"), (Lines{"AT+CMER=3,1,0,1", "AT+CMER=3,1,0,0", "AT+CMER=2,1,0,0",
                                               "AT+CMER=3,2,0,0", "AT+CMER=3,0,0,1"}));
    EXPECT_EQ(lines("at+cmer=3, 2,0,0"), Lines{"AT+CMER=3,0,0,1"});
    EXPECT_EQ(lines("AT+CMER=3,0,0,1"), Lines{});
    EXPECT_EQ(lines("AT+CMER=1,2,2,2").size(), 6u);
}

TEST(PhoneEventStatus, ShowsKeysIndicatorsByTheirNamesAndTheDisplay) {
    PhoneEventStatus status;
    status.Take(IndicatorEvent{1, 3});  // before the names are known: nothing
    status.Take(PhoneKeyEvent{"M", true});
    status.Take(PhoneKeyEvent{"M", false});
    status.Take(DisplayEvent{1, "Меню"});
    EXPECT_EQ(status.Battery(), std::nullopt);
    EXPECT_EQ(status.LastKey(), "M");
    EXPECT_EQ(status.DisplayText(), "Меню");

    status.Take(IndicatorList{{{"service", 0, 1}, {"SIGNAL", 0, 4}, {"bogus", 0, 9}, {"battchg", 1, 5}}});
    status.Take(IndicatorValues{{1, 2, 9, 4}});
    EXPECT_EQ(status.Signal(), (IndicatorLevel{2, 4}));
    EXPECT_EQ(status.Battery(), (IndicatorLevel{4, 5}));
    status.Take(IndicatorEvent{4, 5});  // the top of the range
    status.Take(IndicatorEvent{2, 5});  // one past it: kept as it was
    status.Take(IndicatorEvent{4, 0});  // below the lowest
    status.Take(IndicatorEvent{3, 1});  // another indicator
    EXPECT_EQ(status.Signal(), (IndicatorLevel{2, 4}));
    EXPECT_EQ(status.Battery(), (IndicatorLevel{5, 5}));

    status.Take(IndicatorList{{{"battchg", 0, 5}}});  // another phone: its values are not known yet
    EXPECT_EQ(status.Battery(), std::nullopt);
    EXPECT_EQ(status.Signal(), std::nullopt);
}

TEST(PhoneKeyHolds, MakesPressesOfReleasesLongFromOneAndAHalfSeconds) {
    struct Heard {
        std::string key;
        bool pressed;
        int atMs;
    };
    const std::pair<std::vector<Heard>, std::vector<std::tuple<std::string, int, std::optional<int>>>>
        cases[] = {
            {{{"5", true, 100}, {"5", false, 250}}, {{"5", 100, std::nullopt}}},
            {{{"5", true, 0}, {"5", false, 1499}}, {{"5", 0, std::nullopt}}},
            {{{"5", true, 0}, {"5", false, 1500}}, {{"5", 0, 15}}},
            {{{"E", true, 0}, {"E", false, 2340}}, {{"E", 0, 23}}},
            {{{":X", true, 0}, {":X", false, 40000}}, {{":X", 0, 255}}},
            {{{"5", false, 10}}, {}},  // never pressed
            {{{"5", true, 0}, {"5", true, 3000}, {"5", false, 3100}}, {{"5", 3000, std::nullopt}}},
            {{{"1", true, 0}, {"2", true, 50}, {"1", false, 1600}, {"2", false, 1700}},
             {{"1", 0, 16}, {"2", 50, 17}}},
        };
    for (const auto& [heard, expected] : cases) {
        PhoneKeyHolds holds;
        std::vector<std::tuple<std::string, int, std::optional<int>>> presses;
        for (const auto& [key, pressed, atMs] : heard)
            if (auto press = holds.Take({key, pressed}, Stamp(milliseconds(atMs))))
                presses.emplace_back(
                    press->key,
                    std::chrono::duration_cast<milliseconds>(press->pressedAt.time_since_epoch()).count(),
                    press->holdTenths);
        EXPECT_EQ(presses, expected) << heard.size() << " events, first at " << heard.front().atMs;
    }
}

TEST(PhoneKeyHolds, ForgetsTheOldestBeyondAHandsWorthHeld) {
    PhoneKeyHolds holds;
    const std::string keys = "0123456789*";  // eleven
    for (char key : keys) holds.Take({std::string(1, key), true}, Stamp());
    EXPECT_FALSE(holds.Take({"0", false}, Stamp()));
    EXPECT_TRUE(holds.Take({"1", false}, Stamp()));
    EXPECT_TRUE(holds.Take({"*", false}, Stamp()));
}

}  // namespace tastolink
