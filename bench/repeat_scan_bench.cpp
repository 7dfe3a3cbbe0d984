// What one tick of the repeat timer costs, apart from the writes to the port.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "capture/repeat_scan.h"
#include "phone/phone_key_table.h"

namespace tastolink {
namespace {

// Selector texts as the window returns them: a fresh string per read.
class FixedTexts : public Selectors {
public:
    explicit FixedTexts(const std::string& everywhere) { texts_.fill(everywhere); }
    std::string Text(int comboBoxNumber) const override { return texts_[comboBoxNumber]; }
    void SetText(int, const std::string&) override {}
    void ReplaceItems(std::span<const int>, std::string_view) override {}

private:
    std::array<std::string, kSelectorCount + 1> texts_;
};

void RunTicks(benchmark::State& state, const HeldKeyTable& held, const Selectors& texts) {
    int presses = 0;
    for (auto _ : state) {
        RunRepeatScan(held, texts, [&presses](int row) { presses += row >= 0; });
        benchmark::DoNotOptimize(presses);
    }
    state.counters["presses/tick"] = static_cast<double>(presses) / static_cast<double>(state.iterations());
}

void NoKeyHeld(benchmark::State& state) {
    HeldKeyTable held;
    RunTicks(state, held, FixedTexts("A"));
}
BENCHMARK(NoKeyHeld);

void OneKeyBoundInEveryRow(benchmark::State& state) {
    HeldKeyTable held;
    held.KeyDown('A');
    RunTicks(state, held, FixedTexts("A"));
}
BENCHMARK(OneKeyBoundInEveryRow);

void AllKeysHeldNoneBound(benchmark::State& state) {
    HeldKeyTable held;
    for (const PcKey& key : kPcKeys) held.KeyDown(key.code);
    RunTicks(state, held, FixedTexts("Foo"));
}
BENCHMARK(AllKeysHeldNoneBound);

void AllKeysHeldOneBoundInEveryRow(benchmark::State& state) {
    HeldKeyTable held;
    for (const PcKey& key : kPcKeys) held.KeyDown(key.code);
    RunTicks(state, held, FixedTexts("Z"));
}
BENCHMARK(AllKeysHeldOneBoundInEveryRow);

}  // namespace
}  // namespace tastolink
