// What reading the phone's own event lines costs, a line at a time, as a phone that floods the
// port with them (the virtual phone's --flood-events) would have the window thread do.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "phone/phone_event_status.h"

namespace tastolink {
namespace {

const std::vector<std::string> kEventLines = {
    "+CKEV: 49,1",
    "+CKEV: \":X\",0",
    "+CIEV: 2,3",
    "+CDEV: 1,\"" + std::string(240, 'a') + "\"",
    "+CIND: (\"battchg\",(0-5)),(\"signal\",(0-5)),(\"service\",(0-1)),(\"message\",(0-1)),(\"call\",(0-1))",
    "+CIND: 4,3,1,0,0",
    "+CKEV: 4294967296,1",
    "+CDEV: 1,\"unfinished",
};

void EventLine(benchmark::State& state, CharacterSet set, const std::vector<std::string>& lines) {
    PhoneEventStatus status;
    std::size_t next = 0, events = 0;
    for (auto _ : state) {
        const auto event = ParsePhoneEvent(lines[next], set);
        if (event) {
            status.Take(*event);
            ++events;
        }
        next = next + 1 == lines.size() ? 0 : next + 1;
    }
    benchmark::DoNotOptimize(status.LastKey());
    state.counters["events/line"] = static_cast<double>(events) / static_cast<double>(state.iterations());
}

void FloodOfEventLines(benchmark::State& state) { EventLine(state, CharacterSet::Gsm, kEventLines); }
BENCHMARK(FloodOfEventLines);

void LongestDisplayTextInUcs2(benchmark::State& state) {
    std::string hex;
    while (hex.size() + 4 <= 244) hex += "041F";
    EventLine(state, CharacterSet::Ucs2, {"+CDEV: 1,\"" + hex + "\""});
}
BENCHMARK(LongestDisplayTextInUcs2);

}  // namespace
}  // namespace tastolink
