// phones.ini of any bytes, each profile it gives then typing a text with letters, digits and
// punctuation. Reading never stops: each problem names a line of the file and quotes printable
// UTF-8; each profile's keys are keys of AT+CKPD and its lines have no line break; a plan types
// with well-formed keys only, its count of characters done never going back and ending at the
// whole text. A broken property aborts, so that libFuzzer keeps the input.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "phone/phones_file.h"
#include "phone/text_entry.h"
#include "shared/unicode_text.h"

using namespace tastolink;

namespace {

void Check(bool property) {
    if (!property) std::abort();
}

bool Printable(std::string_view text) {
    const auto characters = CharactersOf(text);
    return characters && std::ranges::none_of(*characters, IsControlCharacter);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const PhonesFile file = ReadPhonesFile(bytes);
    const auto lines = std::ranges::count(bytes, '\n') + std::ranges::count(bytes, '\r') + 1;
    for (const ProfileProblem& problem : file.problems) {
        Check(problem.line >= 0 && problem.line <= lines);
        Check(Printable(ProblemText(problem, Language::Russian)) &&
              Printable(ProblemText(problem, Language::English)));
    }
    Check(file.profiles.size() >= 2 && file.profiles[0].name == kOrdinaryProfileName);
    for (const PhoneProfile& profile : file.profiles) {
        Check(std::ranges::count(file.profiles, profile.name, &PhoneProfile::name) == 1 &&
              Printable(profile.name));
        for (const std::string& code : profile.codes) Check(code.empty() || !KeypadStringFault(code));
        for (const std::string& line : profile.preparation) Check(Printable(line));
        const auto planned = PlanTyping("Привет, Мир 5;\"ok\"", profile);
        if (std::holds_alternative<TypingRefusal>(planned)) continue;
        const TypingPlan& plan = std::get<TypingPlan>(planned);
        for (std::size_t at = 0; at < plan.presses.size(); ++at) {
            Check(!KeypadStringFault(plan.presses[at].code));
            Check(at == 0 || plan.charactersDone[at] >= plan.charactersDone[at - 1]);
        }
        Check(plan.charactersDone.empty() || plan.charactersDone.back() == plan.characters);
    }
    return 0;
}
