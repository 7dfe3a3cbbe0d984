#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "link/answer_parser.h"
#include "link/conversation_event.h"

namespace tastolink {

// Which line each answer of the phone belongs to. A phone answers its lines one after the other,
// in the order they came, so each final answer (OK, ERROR, +CME ERROR) belongs to the oldest line
// still waiting, and the lines it says before it are that line's information.
//
// A line that has waited a second is reported unanswered, but it keeps waiting: a phone that
// answers late has its answer taken for the line it belongs to, never for one sent after it. A
// line that has waited five seconds, or that a long queue pushes out, is given up for good, so
// that a phone that lost an answer is back in step soon after.
class AnswerCrediting {
public:
    static constexpr std::uint64_t kQuietMs = 1000;  // a phone answers within a few tenths of a second
    static constexpr std::uint64_t kGoneMs = 5000;
    static constexpr std::size_t kMostWaiting = 128;
    static constexpr std::size_t kMostInformationLines = 16;

    // Each call appends what it found out to `heard`, in order.
    void Sent(const PhoneCommand& command, std::uint64_t nowMs, std::vector<ConversationEvent>& heard);
    void Line(const PhoneAnswer& answer, std::uint64_t nowMs, std::vector<ConversationEvent>& heard);
    // Bytes the phone sent were lost: the answers of the lines waiting may have been among them.
    void BytesLost(std::vector<ConversationEvent>& heard);
    // Reports the lines that have waited too long.
    void Check(std::uint64_t nowMs, std::vector<ConversationEvent>& heard);
    // Nothing waits any more (a new port, or nobody hears the phone): given up without a word.
    void Forget() { waiting_.clear(); }

    bool Expecting() const { return !waiting_.empty(); }
    // When Check has something to do next, on the clock of the calls.
    std::optional<std::uint64_t> NextCheckAt() const;

private:
    struct Waiting {
        PhoneCommand command;
        std::uint64_t sentMs;
        bool reported = false;  // as unanswered
        std::vector<std::string> information{};
    };
    void GiveUpOldest(std::vector<ConversationEvent>& heard);

    std::deque<Waiting> waiting_;  // oldest first
};

}  // namespace tastolink
