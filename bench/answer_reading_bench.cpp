// What the window's thread does with one read of a phone that floods the port: cut it into lines,
// credit each one and keep the status texts, as PhoneConversation::TakeNews does. The flood is the
// virtual phone's (--flood): lines of its own, one with a zero byte and code page 1251 inside, and
// binary with its line ends.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "link/answer_crediting.h"
#include "link/answer_parser.h"
#include "link/conversation_texts.h"

namespace tastolink {
namespace {

std::string Flood() {
    std::mt19937 random(27007);
    std::string binary(1500, '\0');
    for (char& byte : binary) byte = static_cast<char>(random() & 0xff);
    const std::string piece = std::string("\r\nRING\r\n") +
                              "\r\n+CLIP: \"+79991234567\",145,,,\"\xc8\xe2\xe0\xed" + std::string(1, '\0') +
                              "\",0\r\n" + binary + "\r\n+CIEV: 2,5\r\n";
    return piece + piece + piece;
}

// One read of `state.range(0)` bytes, the most that one read takes.
void ReadOfAFlood(benchmark::State& state) {
    const std::string flood = Flood();
    const std::string ring = flood + flood;  // a read that wraps round the flood is one substring of it
    const auto size = static_cast<std::size_t>(state.range(0));
    AnswerParser parser;
    AnswerCrediting crediting;
    ConversationTexts texts;
    std::vector<ConversationEvent> events;
    std::size_t at = 0, lines = 0;
    for (auto _ : state) {
        for (const PhoneAnswer& answer : parser.Feed(std::string_view(ring).substr(at, size)))
            crediting.Line(answer, 0, events);
        for (const ConversationEvent& event : events) texts.Heard(event);
        lines += events.size();
        events.clear();
        at = (at + size) % flood.size();
    }
    benchmark::DoNotOptimize(texts.PhoneSaid());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["lines/read"] = static_cast<double>(lines) / static_cast<double>(state.iterations());
}
BENCHMARK(ReadOfAFlood)->Arg(4096);

}  // namespace
}  // namespace tastolink
