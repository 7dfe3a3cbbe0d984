#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tastolink {

enum class AnswerKind {
    Echo,         // the phone repeating the command line (ATE1, the default of most phones)
    Ok,           // OK
    Error,        // ERROR
    CmeError,     // +CME ERROR: <n>
    Unsolicited,  // a line the phone sends on its own: RING, +CIEV: ...
};

struct PhoneAnswer {
    AnswerKind kind;
    std::string line;  // as received, without its line break

    bool operator==(const PhoneAnswer&) const = default;
};

// Longer lines are noise, not answers: they are dropped and the buffer stays bounded.
inline constexpr std::size_t kLongestAnswerLine = 256;

// Cuts what the phone sends into answer lines. Reads may split a line anywhere or carry
// several; CR LF, a lone CR and a lone LF all end a line; empty lines and bytes outside
// printable ASCII (line noise) are dropped.
class AnswerParser {
public:
    std::vector<PhoneAnswer> Feed(std::string_view bytes);
    // Bytes were lost here: the line they were in is no answer, whatever its two ends say.
    void Break();

private:
    void EndLine(std::vector<PhoneAnswer>& answers);

    std::string pending_;
    bool broken_ = false;  // overlong, or bytes lost: dropped at its end
};

}  // namespace tastolink
