#include "phone/identification.h"

#include <gtest/gtest.h>

namespace tastolink {
namespace {

IdentificationAnswers Answers(std::vector<std::string> manufacturer, std::vector<std::string> model,
                              FinalResult keypad = FinalResult::Ok,
                              std::vector<std::string> keypadModes = {}) {
    using enum FinalResult;
    return {{{std::move(manufacturer), Ok},
             {std::move(model), Ok},
             {{"R1AA008 040913"}, Ok},
             {{}, keypad},
             {std::move(keypadModes), Ok}}};
}

TEST(Identification, ReadsWhatThePhoneSaysWithoutPrefixQuotesOrEcho) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"Sony Ericsson"}, "Sony Ericsson"},
        {{"+CGMI: \"SIEMENS\""}, "SIEMENS"},
        {{"  \"Nokia\"  "}, "Nokia"},
        {{"AT+CGMI", "+GMI: Motorola"}, "Motorola"},
        {{"Samsung", "", "Electronics"}, "Samsung Electronics"},
        {{"Ph\xFFone\x01"}, "Ph\uFFFDone\uFFFD"},
        {{std::string(70, 'x')}, std::string(64, 'x') + "…"},
    };
    for (const auto& [lines, manufacturer] : cases)
        EXPECT_EQ(Identify(Answers(lines, {}), {}).manufacturer, manufacturer) << lines[0];
    auto notAnswered = Answers({"Nokia"}, {"6230"});
    notAnswered[0].result = FinalResult::CmeError;
    notAnswered[1].result = FinalResult::None;
    EXPECT_EQ(Identify(notAnswered, {}), (PhoneIdentity{"", "", "R1AA008 040913", true, ""}));
}

TEST(Identification, OffersTheKeypadOnlyWhenThePhoneTakesAtCkpdFromTheComputer) {
    using enum FinalResult;
    // clang-format off
    const std::tuple<FinalResult, const char*, bool> cases[] = {
        {Ok, "+CMEC: (0-2),(0-1),(0-2)", true}, {Ok, "+CMEC: 2,0,0", true}, {Ok, "+CMEC: (x)", true},
        {Ok, "+CMEC: (0-1),(0),(0)", true}, {Ok, "+CMEC: (0),(0-1),(0-2)", false}, {Error, "", false},
        {None, "", false},
    };
    // clang-format on
    for (const auto& [keypad, modes, offered] : cases)
        EXPECT_EQ(Identify(Answers({}, {}, keypad, {modes}), {}).keypadOffered, offered) << modes;
}

TEST(Identification, ChoosesTheFirstProfileWhoseWordsAllOccurRegardlessOfCase) {
    std::vector<PhoneProfile> profiles = BuiltInProfiles();
    for (const std::vector<std::string>& words : {std::vector<std::string>{"K750", "ericsson", "k750"},
                                                  {"Any Ericsson", "Ericsson"},
                                                  {"МТС", "мтс", "ёлка"}}) {
        profiles.emplace_back().name = words[0];
        profiles.back().matchWords.assign(words.begin() + 1, words.end());
    }
    const std::pair<IdentificationAnswers, std::string> cases[] = {
        {Answers({"SONY ERICSSON"}, {"K750i"}), "K750"},
        {Answers({"Sony Ericsson"}, {"W800i"}), "Any Ericsson"},
        {Answers({"ООО «МТС»"}, {"ЁЛКА 2"}), "МТС"},
        {Answers({"МТС"}, {"Дерево"}), ""},
        {Answers({}, {}), ""},
    };
    for (const auto& [answers, profile] : cases) EXPECT_EQ(Identify(answers, profiles).profile, profile);
}

TEST(Identification, ShowsEachFactInTheDialogAndOnTheCommandLine) {
    using Facts = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(IdentityFacts({"Sony Ericsson", "K750i", "R1AA008", true, "K750"}, Language::English),
              (Facts{{"manufacturer", "Sony Ericsson"},
                     {"model", "K750i"},
                     {"revision", "R1AA008"},
                     {"keypad", "yes"},
                     {"profile", "K750"}}));
    EXPECT_EQ(IdentityFacts({"", "", "", false, ""}, Language::Russian),
              (Facts{{"Производитель", "неизвестно"},
                     {"Модель", "неизвестно"},
                     {"Версия", "неизвестно"},
                     {"Управление клавиатурой", "нет: телефон не принимает AT+CKPD"},
                     {"Профиль", "не найден"}}));
}

}  // namespace
}  // namespace tastolink
