// The parser of what the phone sends and the status bar's texts it feeds, two ways, as the
// input's last byte says (FuzzedDataProvider takes choices from the end, pieces from the front):
//
// - any bytes at all, among keys sent, silences and bytes dropped: the lines cut stay short and
//   printable, the texts stay bounded, and no more answers are counted than keys were sent;
// - a phone that answers its keys in order, each "+CME ERROR: <number of the key>", on time or
//   late (but before the second silence after its key), cut into two reads, among lines of its own
//   and bytes dropped between lines: an answer is shown for its own key, under the name shown
//   when that key was sent, when the key still waits; for a key given up it is shown for none.
//
// A broken property aborts, so that libFuzzer keeps the input.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

#include "link/answer_status.h"
#include "link/phone_key_table.h"

using namespace tastolink;

namespace {

// An answer line (at most 256 bytes) after the longest key name and its arrow.
constexpr std::size_t kLongestLine = 256;
constexpr std::size_t kLongestKeyText = kLongestLine + 64;

void Check(bool property) {
    if (!property) std::abort();
}

void CheckTexts(const AnswerStatus& status, long sent) {
    Check(status.LastKey().size() <= kLongestKeyText && status.Unsolicited().size() <= kLongestLine);
    long counted = -1, ok = -1;
    Check(std::sscanf(status.Counts().c_str(), "Отправлено: %ld, OK: %ld", &counted, &ok) == 2);
    Check(counted == sent && ok >= 0 && ok <= sent);
}

std::string AnyKeyLine(FuzzedDataProvider& input) {
    const PhoneKey& key = kPhoneKeyTable[input.ConsumeIntegralInRange<std::size_t>(0, kPhoneKeyCount - 1)];
    return input.ConsumeBool() ? LongPressCommand(key) : KeypadCommand(key);
}

void AnyBytes(FuzzedDataProvider& input) {
    AnswerParser parser;
    AnswerStatus status;
    long sent = 0;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 4)) {
            case 0: {
                const std::string bytes = input.ConsumeRandomLengthString();
                for (const PhoneAnswer& answer : parser.Feed(bytes)) {
                    Check(!answer.line.empty() && answer.line.size() <= kLongestLine);
                    for (char byte : answer.line) Check(byte >= 0x20 && byte < 0x7f);
                }
                status.Received(bytes);
                break;
            }
            case 1:
                status.Sent(AnyKeyLine(input));
                ++sent;
                break;
            case 2:
                status.Sent(input.ConsumeRandomLengthString());  // not even a command line
                ++sent;
                break;
            case 3:
                status.Silence();
                break;
            case 4:
                parser.Break();
                status.Dropped();
                break;
        }
        CheckTexts(status, sent);
    }
}

struct KeyAtThePhone {
    long number;
    std::string shownAs;  // the name the status bar showed when it was sent
    int silences = 0;
    bool dropsSince = false;
};

class InOrderPhone {
public:
    explicit InOrderPhone(FuzzedDataProvider& input) : input_(input) {}

    void Run() {
        while (input_.remaining_bytes() > 0) {
            switch (input_.ConsumeIntegralInRange(0, 5)) {
                case 0:
                    SendKey();
                    break;
                case 1:
                    AnswerOldest();
                    break;
                case 2:
                    // Answers not given by now would be lost: the phone gives them first.
                    while (!phone_.empty() && phone_.front().silences > 0) AnswerOldest();
                    status_.Silence();
                    for (KeyAtThePhone& key : phone_) ++key.silences;
                    break;
                case 3:
                    // A line of the phone's own, whatever its bytes: its first makes it no answer.
                    status_.Received("\r\n" + std::string(input_.ConsumeBool() ? "AT" : "~") +
                                     WithoutLineEnds(input_.ConsumeRandomLengthString()) + "\r\n");
                    break;
                case 4:
                    status_.Dropped();  // between lines: no answer is cut
                    for (KeyAtThePhone& key : phone_) key.dropsSince = true;
                    break;
                case 5:
                    status_.Received(input_.ConsumeBool() ? "\r\n" : "\n");  // blank lines
                    break;
            }
            CheckTexts(status_, sent_);
        }
    }

private:
    static std::string WithoutLineEnds(std::string text) {
        std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
        return text;
    }

    void SendKey() {
        if (phone_.size() >= 100) return;  // the phone's own buffer is full: it takes no more
        status_.Sent(AnyKeyLine(input_));
        ++sent_;
        const std::string shown = status_.LastKey();
        constexpr std::string_view kWaiting = " → …";
        Check(shown.ends_with(kWaiting));
        phone_.push_back({sent_, shown.substr(0, shown.size() - kWaiting.size())});
    }

    void AnswerOldest() {
        if (phone_.empty()) return;
        const KeyAtThePhone key = phone_.front();
        phone_.pop_front();
        const std::string line = "+CME ERROR: " + std::to_string(key.number);
        const std::string answer = "\r\n" + line + "\r\n";
        const std::size_t cut = input_.ConsumeIntegralInRange<std::size_t>(0, answer.size());
        status_.Received(answer.substr(0, cut));
        const std::string before = status_.LastKey();
        status_.Received(answer.substr(cut));
        const bool waits = key.silences == 0 && !key.dropsSince;
        Check(status_.LastKey() == (waits ? key.shownAs + " → " + line : before));
    }

    FuzzedDataProvider& input_;
    AnswerStatus status_;
    std::deque<KeyAtThePhone> phone_;
    long sent_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    if (input.ConsumeBool())
        AnyBytes(input);
    else
        InOrderPhone(input).Run();
    return 0;
}
