// What the phone sends, cut into answers and credited to the lines sent, among keys sent, the
// clock going on and bytes dropped. The input's first byte picks one of two phones:
// - one that sends any bytes at all: answer lines stay short and printable, the status texts
//   bounded, and no more answers are counted than lines were sent;
// - one that answers its keys in order, "+CME ERROR: <number of the key>", each in two reads, on
//   time or late (but before its key is given up for good), among lines of its own and drops
//   between lines: every answer is taken for its own key, and a key is reported unanswered only
//   once it has waited a second or bytes were lost.
// Everything either phone says is also heard as the phone's own events, in a character set picked
// by the line's length, with the program's keys told back or not by its parity: the status and the
// presses they make stay within an answer line, and a press is a key AT+CKPD writes.
// A broken property aborts, so that libFuzzer keeps the input.

#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstdlib>
#include <deque>

#include "link/answer_crediting.h"
#include "link/conversation_texts.h"
#include "phone/phone_events_heard.h"

using namespace tastolink;

namespace {

void Check(bool property) {
    if (!property) std::abort();
}

struct EventsHeard : PhoneKeyListener {
    long lines = 0;
    PhoneEventsHeard heard{
        [this] { return std::chrono::steady_clock::time_point(std::chrono::seconds(lines)); }};

    EventsHeard() { heard.AddListener(*this); }
    void PhoneKeyPressed(const PhoneKeyPress& press) override {
        Check(press.key.size() == 1 || (press.key.size() == 2 && press.key[0] == ':'));
        Check(!press.holdTenths || (*press.holdTenths >= 15 && *press.holdTenths <= 255));
    }
    void Hear(const ConversationEvent& event) {
        if (const auto* said = std::get_if<heard::PhoneSaid>(&event)) {
            heard.Expect(static_cast<CharacterSet>(said->line.size() % 5), said->line.size() % 2 == 0);
            const auto event = ParsePhoneEvent(said->line, CharacterSet::Ira);
            if (const auto* list = event ? std::get_if<IndicatorList>(&*event) : nullptr)
                Check(list->indicators.size() <= 256 / 8);
        }
        ++lines;
        heard.Heard(event);
        const PhoneEventStatus& status = heard.Status();
        Check(status.LastKey().size() <= 2 && status.DisplayText().size() <= 256);
        for (const auto level : {status.Battery(), status.Signal()})
            Check(!level || (level->value >= 0 && level->value <= level->highest));
    }
};

struct Phone {
    EventsHeard events;
    AnswerParser parser;
    AnswerCrediting crediting;
    ConversationTexts texts;
    std::vector<ConversationEvent> heard;
    std::uint64_t now = 0;
    long sent = 0;

    void Send() {
        ++sent;
        const PhoneCommand key{"AT+CKPD=\"5\"\r\n", "key " + std::to_string(sent)};
        heard.push_back(heard::Written{key});
        crediting.Sent(key, now, heard);
    }
    void Receive(std::string_view bytes) {
        for (const PhoneAnswer& answer : parser.Feed(bytes)) {
            Check(!answer.line.empty() && answer.line.size() <= kLongestAnswerLine);
            for (char byte : answer.line) Check(byte >= 0x20 && byte < 0x7f);
            crediting.Line(answer, now, heard);
        }
    }
    void Drop() {
        parser.Break();
        crediting.BytesLost(heard);
    }
    // Tells the texts what was heard; every event passes `check` first.
    template <typename Checker>
    void Tell(Checker&& check) {
        for (const ConversationEvent& event : std::exchange(heard, {})) {
            check(event);
            texts.Heard(event);
            events.Hear(event);
        }
        const AnswerTally tally = texts.Tally();
        Check(tally.sent == sent && tally.ok >= 0 && tally.ok + tally.notOk <= sent);
        Check(texts.LastKey().size() <= 320 && texts.PhoneSaid().size() <= kLongestAnswerLine);
    }
};

void AnyBytes(FuzzedDataProvider& input) {
    Phone phone;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
            case 0:
                phone.Send();
                break;
            case 1:
                phone.now += input.ConsumeIntegralInRange(0, 3000);
                phone.crediting.Check(phone.now, phone.heard);
                break;
            case 2:
                phone.Drop();
                break;
            case 3:
                phone.Receive(input.ConsumeRandomLengthString());
                break;
        }
        phone.Tell([](const ConversationEvent&) {});
    }
}

void InOrderPhone(FuzzedDataProvider& input) {
    struct Key {
        long number;
        std::uint64_t sentMs;
    };
    Phone phone;
    std::deque<Key> unanswered;
    std::uint64_t lastDropMs = 0;
    bool dropped = false;
    auto check = [&](const ConversationEvent& event) {
        if (const auto* answered = std::get_if<heard::Answered>(&event))
            Check("+CME ERROR: " + answered->command.name.substr(4) == answered->answer);
        if (const auto* late = std::get_if<heard::Unanswered>(&event)) {
            const long number = std::stol(late->command.name.substr(4));
            const auto key = std::find_if(unanswered.begin(), unanswered.end(),
                                          [&](const Key& k) { return k.number == number; });
            Check(key != unanswered.end());
            Check(late->bytesLost ? dropped && key->sentMs <= lastDropMs
                                  : phone.now >= key->sentMs + AnswerCrediting::kQuietMs);
        }
        Check(!std::holds_alternative<heard::AnswerGone>(event));
    };
    auto answerOldest = [&] {
        const std::string answer = "\r\n+CME ERROR: " + std::to_string(unanswered.front().number) + "\r\n";
        const std::size_t cut = input.ConsumeIntegralInRange<std::size_t>(0, answer.size());
        phone.Receive(answer.substr(0, cut));
        phone.Receive(answer.substr(cut));
        phone.Tell(check);
        unanswered.pop_front();
    };
    while (input.remaining_bytes() > 0) {
        // The phone holds fewer keys than are waited for.
        while (unanswered.size() >= AnswerCrediting::kMostWaiting) answerOldest();
        switch (input.ConsumeIntegralInRange(0, 4)) {
            case 0:
                phone.Send();
                unanswered.push_back({phone.sent, phone.now});
                break;
            case 1:
                phone.now += input.ConsumeIntegralInRange(0, 1500);
                // It answers a key before the key is given up for good.
                while (!unanswered.empty() &&
                       phone.now >= unanswered.front().sentMs + AnswerCrediting::kGoneMs)
                    answerOldest();
                phone.crediting.Check(phone.now, phone.heard);
                break;
            case 2:
                phone.Drop();
                dropped = true;
                lastDropMs = phone.now;
                break;
            case 3:
                if (!unanswered.empty()) answerOldest();
                break;
            case 4: {
                // A line of its own, whatever its bytes: its first makes it no answer.
                std::string own = input.ConsumeRandomLengthString();
                std::erase_if(own, [](char c) { return c == '\r' || c == '\n'; });
                phone.Receive((input.ConsumeBool() ? "\r\nAT" : "\r\n~") + own + "\r\n");
                break;
            }
        }
        phone.Tell(check);
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
