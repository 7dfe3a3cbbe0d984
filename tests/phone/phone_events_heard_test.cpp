#include "phone/phone_events_heard.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

using std::chrono::milliseconds;

struct Presses : PhoneKeyListener {
    void PhoneKeyPressed(const PhoneKeyPress& press) override {
        const auto ms = std::chrono::duration_cast<milliseconds>(press.pressedAt.time_since_epoch()).count();
        shown += press.key + "@" + std::to_string(ms) + (press.holdTenths ? " long " : " ");
    }
    std::string shown;
};

// With keyp 2 each key the program writes comes back as a report, which is neither shown nor taken
// as a press; with keyp 1 every report is the phone's own. A report later than the wait, or of
// another key, is the phone's. The conversation tells, at a time, a keypad line written ("AT...")
// or a line the phone said.
TEST(PhoneEventsHeard, TakesTheProgramsOwnKeysOutOfTheReportsWhereThePhoneTellsThemBack) {
    using Told = std::vector<std::pair<int, std::string>>;
    // clang-format off
    const Told five{{0, "AT+CKPD=\"5\"\r\n"}, {20, "+CKEV: 53,1"}, {120, "+CKEV: 53,0"}};
    const std::tuple<bool, Told, std::string, std::string> cases[] = {
        {true, five, "", ""},
        {false, five, "5@20 ", "5"},
        {true, {{0, "AT+CKPD=\":X;a5;;;\",20\r\n"}, {10, "+CKEV: \":X\",1"}, {30, "+CKEV: \"5\",1"},  // no 5 of the line
                {2010, "+CKEV: \":X\",0"}, {2100, "+CKEV: \"5\",0"}}, "5@30 long ", "5"},
        {true, {{0, "AT+CKPD=\"M\"\r\n"}, {3000, "+CKEV: \"M\",1"}, {3100, "+CKEV: \"M\",0"}}, "", ""},
        {true, {{0, "AT+CKPD=\"M\"\r\n"}, {3001, "+CKEV: \"M\",1"}, {3100, "+CKEV: \"M\",0"}}, "M@3001 ", "M"},
        {true, {{0, "AT+CKPD=\"MM\"\r\n"}, {10, "+CKEV: 77,1"}, {20, "+CKEV: 77,0"}, {30, "+CKEV: 77,1"},  // two back,
                {40, "+CKEV: 77,0"}, {50, "+CKEV: 77,1"}, {60, "+CKEV: 77,0"}}, "M@50 ", "M"},               // a third own
    };
    // clang-format on
    for (const auto& [programKeysReported, told, expected, lastKey] : cases) {
        int nowMs = 0;
        PhoneEventsHeard heard([&] { return std::chrono::steady_clock::time_point(milliseconds(nowMs)); });
        heard.Expect(CharacterSet::Gsm, programKeysReported);
        Presses presses;
        heard.AddListener(presses);
        for (const auto& [atMs, line] : told) {
            nowMs = atMs;
            if (line.starts_with("AT")) heard.Heard(heard::Written{{line, "key"}});
            if (!line.starts_with("AT")) heard.Heard(heard::PhoneSaid{line});
        }
        EXPECT_EQ(presses.shown, expected) << told.front().second << " keyp 2: " << programKeysReported;
        EXPECT_EQ(heard.Status().LastKey(), lastKey) << told.front().second;
    }
}

// Reports are read in the profile's character set, and a new port starts from nothing: not even
// the last phone's report of the program's own key, still held, swallows the new phone's release.
TEST(PhoneEventsHeard, ReadsTheProfilesCharacterSetAndForgetsTheLastPhone) {
    PhoneEventsHeard heard([] { return std::chrono::steady_clock::time_point(); });
    heard.Expect(CharacterSet::Ucs2, true);
    heard.Heard(heard::Written{{"AT+CKPD=\"5\"\r\n", "5"}});
    for (const char* line : {"+CDEV: 1,\"041C0435043D044E\"", "+CKEV: \"0023\",1", "+CKEV: \"0035\",1"})
        heard.Heard(heard::PhoneSaid{line});
    EXPECT_EQ(heard.Status().DisplayText() + heard.Status().LastKey(), "Меню#");
    heard.Forget();
    EXPECT_EQ(heard.Status().DisplayText() + heard.Status().LastKey(), "");
    Presses presses;
    heard.AddListener(presses);
    for (const char* line : {"+CKEV: \"0035\",1", "+CKEV: \"0035\",0"}) heard.Heard(heard::PhoneSaid{line});
    EXPECT_EQ(presses.shown, "5@0 ");
}

}  // namespace
}  // namespace tastolink
