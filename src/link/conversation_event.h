#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "link/serial_port.h"

namespace tastolink {

// A line for the phone and what the user calls it: the key it presses ("5", "Вверх долго") or,
// for a line of the program's own, the line itself ("AT+CMEC=2").
struct PhoneCommand {
    std::string line;  // with its CR LF
    std::string name;  // UTF-8

    // A line of the program's own, named as itself: "AT+CGMI" goes out as "AT+CGMI\r\n".
    static PhoneCommand OfLine(std::string_view line) {
        return {std::string(line) + "\r\n", std::string(line)};
    }
    bool operator==(const PhoneCommand&) const = default;
};

// What happened between the program and the phone. The conversation tells each of its listeners,
// in the order it happened, and shows nothing itself: the front end turns events into boxes,
// status texts or lines on the standard error.
namespace heard {

struct Opened {
    std::string port;
};
struct NotOpened {
    std::string port;
    PortFailure failure;
};
struct Written {
    PhoneCommand command;
};
struct NotWritten {
    enum class Why {
        NoPort,   // none was chosen, or the last choice did not open
        Failed,   // the write timed out, went out in part or was refused
        Lost,     // the device went away under it (and the ports are not watched)
        Waiting,  // the port went away and is waited for: the key is not sent later
    };
    PhoneCommand command;
    Why why;
    std::string port;           // the port chosen last, as chosen ("" before any)
    long notSentMeanwhile = 0;  // Waiting: the keys not sent since the port went away, this one too
};
// The final answer to a line: OK, ERROR, +CME ERROR: <n>, with the lines the phone said before it.
struct Answered {
    PhoneCommand command;
    std::string answer;
    std::vector<std::string> information;
    std::uint64_t afterMs = 0;  // since the line was written
    bool late = false;          // after it was reported Unanswered
};
// A line whose answer has not come in time (or whose answer was in bytes the driver lost). Its
// answer is still taken for it if it comes, until the conversation gives up on it for good.
struct Unanswered {
    PhoneCommand command;
    bool bytesLost = false;
};
// A line whose answer never came: no answer will be taken for it any more.
struct AnswerGone {
    PhoneCommand command;
};
// A line the phone sent of its own: RING, +CKEV: 49,1, ...
struct PhoneSaid {
    std::string line;
};
// The port went away under the program; with the ports watched it is waited for.
struct PortLost {
    std::string port;
    bool waiting = false;
};
// A port waited for is open again under its name.
struct PortBack {
    std::string port;
};

}  // namespace heard

using ConversationEvent =
    std::variant<heard::Opened, heard::NotOpened, heard::Written, heard::NotWritten, heard::Answered,
                 heard::Unanswered, heard::AnswerGone, heard::PhoneSaid, heard::PortLost, heard::PortBack>;

// Whoever follows the conversation: the status line's segments, a recording, a playing sequence,
// the identification of a phone, a front end's boxes.
class ConversationListener {
public:
    virtual ~ConversationListener() = default;
    virtual void Heard(const ConversationEvent& event) = 0;
};

}  // namespace tastolink
