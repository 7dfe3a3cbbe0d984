#include "link/answer_parser.h"

namespace tastolink {
namespace {

AnswerKind KindOf(std::string_view line) {
    if (line == "OK") return AnswerKind::Ok;
    if (line == "ERROR") return AnswerKind::Error;
    if (line.starts_with("+CME ERROR:")) return AnswerKind::CmeError;
    if (line.starts_with("AT") || line.starts_with("at")) return AnswerKind::Echo;
    return AnswerKind::Unsolicited;
}

}  // namespace

std::vector<PhoneAnswer> AnswerParser::Feed(std::string_view bytes) {
    std::vector<PhoneAnswer> answers;
    for (char byte : bytes) {
        if (byte == '\r' || byte == '\n') {
            EndLine(answers);
        } else if (byte >= 0x20 && byte < 0x7f) {
            if (pending_.size() < kLongestAnswerLine)
                pending_ += byte;
            else
                broken_ = true;
        }
    }
    return answers;
}

void AnswerParser::Break() {
    pending_.clear();
    broken_ = true;
}

void AnswerParser::EndLine(std::vector<PhoneAnswer>& answers) {
    if (!pending_.empty() && !broken_) answers.push_back({KindOf(pending_), pending_});
    pending_.clear();
    broken_ = false;
}

}  // namespace tastolink
