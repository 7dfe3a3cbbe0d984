#include "link/answer_crediting.h"

#include <algorithm>

namespace tastolink {

void AnswerCrediting::Sent(const PhoneCommand& command, std::uint64_t nowMs,
                           std::vector<ConversationEvent>& heard) {
    waiting_.push_back({command, nowMs});
    if (waiting_.size() > kMostWaiting) GiveUpOldest(heard);
}

void AnswerCrediting::Line(const PhoneAnswer& answer, std::uint64_t nowMs,
                           std::vector<ConversationEvent>& heard) {
    switch (answer.kind) {
        case AnswerKind::Echo:
            return;
        case AnswerKind::Unsolicited:
            if (!waiting_.empty() && waiting_.front().information.size() < kMostInformationLines)
                waiting_.front().information.push_back(answer.line);
            heard.push_back(heard::PhoneSaid{answer.line});
            return;
        case AnswerKind::Ok:
        case AnswerKind::Error:
        case AnswerKind::CmeError:
            break;
    }
    if (waiting_.empty()) return;  // the answer of a line sent while nobody heard the phone
    Waiting& oldest = waiting_.front();
    heard.push_back(heard::Answered{std::move(oldest.command), answer.line, std::move(oldest.information),
                                    nowMs - std::min(oldest.sentMs, nowMs), oldest.reported});
    waiting_.pop_front();
}

void AnswerCrediting::BytesLost(std::vector<ConversationEvent>& heard) {
    for (Waiting& line : waiting_) {
        if (line.reported) continue;
        line.reported = true;
        heard.push_back(heard::Unanswered{line.command, true});
    }
}

void AnswerCrediting::Check(std::uint64_t nowMs, std::vector<ConversationEvent>& heard) {
    while (!waiting_.empty() && nowMs >= waiting_.front().sentMs + kGoneMs) GiveUpOldest(heard);
    for (Waiting& line : waiting_) {
        if (nowMs < line.sentMs + kQuietMs) break;  // the others were sent later still
        if (line.reported) continue;
        line.reported = true;
        heard.push_back(heard::Unanswered{line.command, false});
    }
}

std::optional<std::uint64_t> AnswerCrediting::NextCheckAt() const {
    if (waiting_.empty()) return std::nullopt;
    std::uint64_t next = waiting_.front().sentMs + kGoneMs;
    const auto unreported = std::ranges::find(waiting_, false, &Waiting::reported);
    if (unreported != waiting_.end()) next = std::min(next, unreported->sentMs + kQuietMs);
    return next;
}

void AnswerCrediting::GiveUpOldest(std::vector<ConversationEvent>& heard) {
    heard.push_back(heard::AnswerGone{std::move(waiting_.front().command)});
    waiting_.pop_front();
}

}  // namespace tastolink
