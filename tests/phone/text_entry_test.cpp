#include "phone/text_entry.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

// A plan as "<keys>@<pause>/<characters done>" for each command.
std::string Shown(const std::variant<TypingPlan, TypingRefusal>& planned) {
    if (const auto* refusal = std::get_if<TypingRefusal>(&planned))
        return RefusalText(*refusal, Language::English);
    std::string shown;
    const TypingPlan& plan = std::get<TypingPlan>(planned);
    for (std::size_t at = 0; at < plan.presses.size(); ++at) {
        const RecordedPress& press = plan.presses[at];
        EXPECT_EQ(press.pressTenths, std::nullopt);
        shown += (at ? " " : "") + press.code + "@" + std::to_string(press.pauseMs) + "/" +
                 std::to_string(plan.charactersDone[at]);
    }
    return shown;
}

PhoneProfile Ordinary() { return BuiltInProfiles().at(0); }

PhoneProfile Alpha(AlphaCharset charset, int longest) {
    PhoneProfile profile = Ordinary();
    profile.typing.mode = TextEntryMode::Alpha;
    profile.typing.charset = charset;
    profile.typing.alphaLongest = longest;
    return profile;
}

TEST(TextEntry, MultitapPressesEachLetterByItsPlaceOnItsKey) {
    const auto privet = PlanTyping("Привет", Ordinary());
    EXPECT_EQ(Shown(privet),
              "5@0/0 5@200/0 5@200/0 5@200/1 6@200/2 4@200/3 2@200/3 2@200/3 2@200/4 3@200/4 3@200/5 "
              "6@200/5 6@200/5 6@200/6");
    EXPECT_EQ(std::get<TypingPlan>(privet).FloorMs(), 2600u);
    EXPECT_EQ(std::get<TypingPlan>(privet).characters, 6u);
    // Punctuation on 1, the space on 0, and a key's own digit past its letters.
    EXPECT_EQ(
        Shown(PlanTyping("я, 5", Ordinary())),
        "9@0/0 9@200/0 9@200/0 9@200/1 1@200/1 1@200/2 0@200/3 5@200/3 5@200/3 5@200/3 5@200/3 5@200/4");
}

TEST(TextEntry, ASecondLetterOnTheSameKeyWaitsOrIsEndedByTheNextKey) {
    PhoneProfile profile = Ordinary();
    profile.typing.letters = LettersOf(KeypadLayout::Latin);
    EXPECT_EQ(Shown(PlanTyping("NEED", profile)), "6@0/0 6@200/1 3@200/1 3@200/2 3@1700/2 3@200/3 3@1700/4");
    profile.typing.nextCode = ">";
    profile.typing.keysPerCommand = 3;
    profile.codes[RowNamed("3")] = ":3";
    const auto next = PlanTyping("need", profile);
    EXPECT_EQ(Shown(next), "66@0/1 :3:3@400/2 >:3:3@400/3 >:3@600/4");
    EXPECT_EQ(std::get<TypingPlan>(next).FloorMs(), 1400u);
    profile.typing.keysPerCommand = 2;
    EXPECT_EQ(Shown(PlanTyping("ee", profile)), ":3:3@0/1 >:3@400/1 :3@400/2");
}

TEST(TextEntry, AlphaEntriesWriteTheTextInTheProfilesCharacterSet) {
    const std::pair<std::string, std::string> cases[] = {
        {Shown(PlanTyping("a;b c", Alpha(AlphaCharset::Ira, 40))), ";a;;b c;@0/5"},
        {Shown(PlanTyping("Да", Alpha(AlphaCharset::Ucs2, 40))), ";04140430;@0/2"},
        {Shown(PlanTyping("é", Alpha(AlphaCharset::Latin1, 40))), ";\xE9;@0/1"},
        {Shown(PlanTyping("é", Alpha(AlphaCharset::Utf8, 40))), ";é;@0/1"},
        {Shown(PlanTyping("Äa", Alpha(AlphaCharset::Gsm, 40))), ";[a;@0/2"},
        // Split at the longest entry and one past it, never inside a doubled semicolon or a pair.
        {Shown(PlanTyping("abc", Alpha(AlphaCharset::Ira, 3))), ";abc;@0/3"},
        {Shown(PlanTyping("abcd", Alpha(AlphaCharset::Ira, 3))), ";abc;@0/3 ;d;@200/4"},
        {Shown(PlanTyping("a;b", Alpha(AlphaCharset::Ira, 2))), ";a;;;@0/2 ;b;@200/3"},
        {Shown(PlanTyping("ab😀", Alpha(AlphaCharset::Ucs2, 3))), ";00610062;@0/2 ;D83DDE00;@200/3"},
    };
    for (const auto& [shown, expected] : cases) EXPECT_EQ(shown, expected);
}

TEST(TextEntry, RefusesTheFirstCharacterTheProfileCantType) {
    PhoneProfile noFive = Ordinary();
    noFive.codes[RowNamed("5")] = "";
    const auto refusal = [](const std::variant<TypingPlan, TypingRefusal>& planned) {
        return std::get_if<TypingRefusal>(&planned) ? std::get<TypingRefusal>(planned) : TypingRefusal{};
    };
    const std::pair<TypingRefusal, TypingRefusal> cases[] = {
        {refusal(PlanTyping("да Hi", Ordinary())), {4, "H", RefusalReason::NotInLayout}},
        {refusal(PlanTyping("ок\r\n", Ordinary())), {3, "U+000D", RefusalReason::ControlCharacter}},
        {refusal(PlanTyping("ок\xFF", Ordinary())), {3, "\uFFFD", RefusalReason::NotUtf8}},
        {refusal(PlanTyping("дым", noFive)), {3, "м", RefusalReason::KeyDisabled}},
        {refusal(PlanTyping("naïve", Alpha(AlphaCharset::Ira, 40))), {3, "ï", RefusalReason::NotInCharset}},
        {refusal(PlanTyping("say \"hi\"", Alpha(AlphaCharset::Utf8, 40))),
         {5, "\"", RefusalReason::NotInCharset}},
        {refusal(PlanTyping("$", Alpha(AlphaCharset::Gsm, 40))), {1, "$", RefusalReason::NotInCharset}},
        {refusal(PlanTyping("a😀", Alpha(AlphaCharset::Ucs2, 1))), {2, "😀", RefusalReason::LongerThanEntry}},
    };
    for (const auto& [refused, expected] : cases) EXPECT_EQ(refused, expected) << expected.character;
    EXPECT_EQ(Shown(PlanTyping("ок\r\n", Ordinary())),
              "Can't type \"U+000D\" (character 3): it is a control character");
    EXPECT_EQ(RefusalText({4, "H", RefusalReason::NotInLayout}, Language::Russian),
              "Не набрать «H» (знак 4): его нет ни на одной клавише раскладки профиля");
}

}  // namespace
}  // namespace tastolink
