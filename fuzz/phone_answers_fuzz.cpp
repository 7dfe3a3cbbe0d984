// The parser of what the phone sends and the status texts it feeds, among keys sent, silences and
// bytes dropped. The input's last byte picks one of two phones:
// - one that sends any bytes at all: lines stay short and printable, texts bounded, and no more
//   answers are counted than keys were sent;
// - one that answers its keys in order, "+CME ERROR: <number of the key>", each in two reads, on
//   time or late (before the second silence after its key), among lines of its own and drops
//   between lines: an answer is shown for its own key, under the name shown when that key was
//   sent, while the key waits; for a key given up, for none.
// Every line either phone sends also goes through the parser of the phone's event lines, in a
// character set picked by the line's length, and into the status and the key holds it feeds: what
// they keep stays within an answer line.
// A broken property aborts, so that libFuzzer keeps the input.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <deque>

#include "link/answer_status.h"
#include "phone/phone_event_status.h"
#include "phone/phone_key_table.h"

using namespace tastolink;

namespace {

void Check(bool property) {
    if (!property) std::abort();
}

enum { kKey, kSilence, kDrop, kPhone };

struct EventsHeard {
    PhoneEventStatus status;
    PhoneKeyHolds holds;
    long lines = 0;

    void Hear(const std::string& line) {
        const auto event = ParsePhoneEvent(line, static_cast<CharacterSet>(line.size() % 5));
        if (!event) return;
        status.Take(*event);
        if (const auto* key = std::get_if<PhoneKeyEvent>(&*event)) {
            Check(key->key.size() == 1 || (key->key.size() == 2 && key->key[0] == ':'));
            const auto at = std::chrono::steady_clock::time_point(std::chrono::seconds(++lines));
            if (const auto press = holds.Take(*key, at))
                Check(!press->holdTenths || (*press->holdTenths >= 15 && *press->holdTenths <= 255));
        }
        if (const auto* list = std::get_if<IndicatorList>(&*event)) Check(list->indicators.size() <= 256 / 8);
        Check(status.LastKey().size() <= 2 && status.DisplayText().size() <= 256);
        for (const auto level : {status.Battery(), status.Signal()})
            Check(!level || (level->value >= 0 && level->value <= level->highest));
    }
};

// One step, which it returns; every step leaves texts no longer than an answer line (256 bytes)
// after a key's name.
int Step(FuzzedDataProvider& input, AnswerStatus& status, long& sent, auto&& phone) {
    const int step = input.ConsumeIntegralInRange(0, 3);
    switch (step) {
        case kKey: {
            const PhoneKey& key = kPhoneKeyTable[input.ConsumeIntegralInRange(0, kPhoneKeyCount - 1)];
            status.Sent(input.ConsumeBool() ? LongPressCommand(key) : KeypadCommand(key));
            ++sent;
            break;
        }
        case kSilence:
            status.Silence();
            break;
        case kDrop:
            status.Dropped();
            break;
        case kPhone:
            phone();
            break;
    }
    long counted = -1, ok = -1;
    Check(std::sscanf(status.Counts().c_str(), "Отправлено: %ld, OK: %ld", &counted, &ok) == 2);
    Check(counted == sent && ok >= 0 && ok <= sent);
    Check(status.LastKey().size() <= 320 && status.Unsolicited().size() <= 256);
    return step;
}

void AnyBytes(FuzzedDataProvider& input) {
    AnswerParser parser;
    AnswerStatus status;
    EventsHeard events;
    long sent = 0;
    while (input.remaining_bytes() > 0) {
        Step(input, status, sent, [&] {
            const std::string bytes = input.ConsumeRandomLengthString();
            for (const PhoneAnswer& answer : parser.Feed(bytes)) {
                Check(!answer.line.empty() && answer.line.size() <= 256);
                for (char byte : answer.line) Check(byte >= 0x20 && byte < 0x7f);
                events.Hear(answer.line);
            }
            status.Received(bytes);
        });
    }
}

void InOrderPhone(FuzzedDataProvider& input) {
    struct Key {
        long number;
        std::string shownAs;
        bool givenUp = false;  // a silence or a drop came after it
        int silences = 0;
    };
    std::deque<Key> unanswered;
    AnswerStatus status;
    EventsHeard events;
    long sent = 0;
    auto answerOldest = [&] {
        const Key key = unanswered.front();
        unanswered.pop_front();
        const std::string line = "+CME ERROR: " + std::to_string(key.number);
        const std::string answer = "\r\n" + line + "\r\n";
        const std::size_t cut = input.ConsumeIntegralInRange<std::size_t>(0, answer.size());
        status.Received(answer.substr(0, cut));
        const std::string before = status.LastKey();
        status.Received(answer.substr(cut));
        Check(status.LastKey() == (key.givenUp ? before : key.shownAs + " → " + line));
    };
    while (input.remaining_bytes() > 0) {
        // Answers not given by a second silence would be lost, and a phone holds at most 100 keys
        // (fewer than the status waits for): the phone answers first.
        while (!unanswered.empty() && (unanswered.front().silences > 0 || unanswered.size() >= 100))
            answerOldest();
        const int step = Step(input, status, sent, [&] {
            if (!unanswered.empty() && input.ConsumeBool()) return answerOldest();
            // A line of its own, whatever its bytes: its first makes it no answer.
            std::string own = input.ConsumeRandomLengthString();
            std::erase_if(own, [](char c) { return c == '\r' || c == '\n'; });
            status.Received((input.ConsumeBool() ? "\r\nAT" : "\r\n~") + own + "\r\n");
            events.Hear(own);
        });
        if (step == kKey) {
            std::string shown = status.LastKey();
            Check(shown.ends_with(" → …"));
            unanswered.push_back({sent, shown.erase(shown.size() - std::string_view(" → …").size())});
        }
        // Silences and drops give up every key then waiting; the phone still owes their answers.
        for (Key& key : unanswered) {
            key.givenUp |= step == kSilence || step == kDrop;
            key.silences += step == kSilence;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        AnyBytes(input);
    else
        InOrderPhone(input);
    return 0;
}
