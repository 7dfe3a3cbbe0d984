// Planning the typing of a 160-character Russian message: by multi-tap with the wait between two
// letters on one key, by multi-tap with a next key, and by alpha entries. Each reports the floor
// of its plan, the pauses the phone needs added up, against which typing on a phone is timed.
#include <benchmark/benchmark.h>

#include <string>

#include "phone/text_entry.h"

namespace tastolink {
namespace {

// 160 characters of an ordinary message, two letters in a row on one key among them ("вв").
constexpr char kMessage[] =
    "Привет, мама! Доехал хорошо, поезд пришёл вовремя, соседи были тихие. Завтра позвоню после "
    "работы, ввод данных закончу к вечеру. Целую, твой сын. До встречи, па";

void Plan(benchmark::State& state, const PhoneProfile& profile) {
    std::uint64_t floorMs = 0;
    std::size_t commands = 0;
    for (auto _ : state) {
        const auto planned = PlanTyping(kMessage, profile);
        const TypingPlan& plan = std::get<TypingPlan>(planned);
        floorMs = plan.FloorMs();
        commands = plan.presses.size();
        benchmark::DoNotOptimize(floorMs);
    }
    state.counters["characters"] =
        static_cast<double>(std::get<TypingPlan>(PlanTyping(kMessage, profile)).characters);
    state.counters["commands"] = static_cast<double>(commands);
    state.counters["floor_s"] = static_cast<double>(floorMs) / 1000.0;
}

void MultitapWithWait(benchmark::State& state) { Plan(state, BuiltInProfiles().at(0)); }
BENCHMARK(MultitapWithWait);

void MultitapWithNextKey(benchmark::State& state) {
    PhoneProfile profile = BuiltInProfiles().at(1);
    profile.typing.nextCode = ">";
    Plan(state, profile);
}
BENCHMARK(MultitapWithNextKey);

void AlphaEntries(benchmark::State& state) {
    PhoneProfile profile = BuiltInProfiles().at(1);
    profile.typing.mode = TextEntryMode::Alpha;
    profile.typing.charset = AlphaCharset::Ucs2;
    Plan(state, profile);
}
BENCHMARK(AlphaEntries);

}  // namespace
}  // namespace tastolink
