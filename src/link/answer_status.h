#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

#include "link/answer_parser.h"

namespace tastolink {

// How many keys the phone answered OK, and how many it answered otherwise, or not in time.
struct AnswerTally {
    long ok = 0;
    long notOk = 0;
};

// What the status bar says about the port and the phone's answers. Everything arrives on the
// window thread: the lines written, the bytes the reader received, and the silence timer.
//
// A phone answers its commands one after the other, in the order they came, so each final answer
// (OK, ERROR, +CME ERROR) belongs to the oldest key still waiting. A key that has waited a second
// is shown without an answer and given up, but its answer is still owed: when it comes late it is
// taken for that key and shown for none, so that it never passes to a key sent after it. An owed
// answer that has not come by the next silence is taken as lost, so that a phone that loses an
// answer is back in step a second or two after its last key.
class AnswerStatus {
public:
    // Keys waiting beyond this many are given up, oldest first, as if a second had passed.
    static constexpr std::size_t kMostWaiting = 128;

    // A new port: nothing of the last one is waited for any more.
    void PortOpened(const std::string& portName);
    void PortFailed(const std::string& portName, const std::string& reason);
    void PortLost(const std::string& portName);
    // A command line went out: its key now waits for an answer.
    void Sent(std::string_view commandLine);
    void Received(std::string_view bytes);
    // Bytes the phone sent were thrown away unread: the line they were in is lost, and so may be
    // the answers of the keys waiting, which are given up.
    void Dropped();
    // A second went by after the last key sent; again every second for as long as Expecting.
    void Silence();

    // A key waits for its answer, or a given-up key's answer is still owed.
    bool Expecting() const;
    const std::string& Port() const { return port_; }
    const std::string& LastKey() const { return lastKey_; }
    const std::string& Unsolicited() const { return unsolicited_; }
    std::string Counts() const;
    AnswerTally Tally() const { return {answeredOk_, answeredNotOk_}; }

private:
    void Answered(const std::string& answer);
    void GiveUpWaiting(std::string_view shownAs);

    AnswerParser parser_;
    std::string port_ = "Порт не выбран";
    std::deque<std::string> waiting_;    // the names of the keys waiting, oldest first
    std::size_t owedSinceSilence_ = 0;   // answers of keys given up since the last silence
    std::size_t owedBeforeSilence_ = 0;  // answers of keys given up before it: lost at the next
    std::string lastKey_;
    std::string unsolicited_;
    long sent_ = 0;
    long answeredOk_ = 0;
    long answeredNotOk_ = 0;
};

// The name of the key a command line presses as the status bar shows it: the digit, star
// or hash, otherwise the row label without its dots; "долго" added for a long press.
std::string KeyNameOfCommand(std::string_view commandLine);

}  // namespace tastolink
