#pragma once

#include <string>
#include <string_view>

#include "link/answer_parser.h"

namespace tastolink {

// What the status bar says about the port and the phone's answers. Everything arrives on the
// window thread: the lines written, the bytes the reader received, and the silence timer.
class AnswerStatus {
public:
    void PortOpened(const std::string& portName);
    void PortFailed(const std::string& portName, const std::string& reason);
    void PortLost(const std::string& portName);
    // A command line went out: its key now waits for an answer.
    void Sent(std::string_view commandLine);
    void Received(std::string_view bytes);
    // Bytes the phone sent were thrown away unread: the line they were in is lost.
    void Dropped();
    // About a second went by after Sent with no final answer.
    void Silence();

    bool Waiting() const { return waiting_; }
    const std::string& Port() const { return port_; }
    const std::string& LastKey() const { return lastKey_; }
    const std::string& Unsolicited() const { return unsolicited_; }
    std::string Counts() const;

private:
    void Answered(const std::string& answer);

    AnswerParser parser_;
    std::string port_ = "Порт не выбран";
    std::string key_;  // the name of the last key sent
    std::string lastKey_;
    std::string unsolicited_;
    long sent_ = 0;
    long answeredOk_ = 0;
    bool waiting_ = false;
};

// The name of the key a command line presses as the status bar shows it: the digit, star
// or hash, otherwise the row label without its dots; "долго" added for a long press.
std::string KeyNameOfCommand(std::string_view commandLine);

}  // namespace tastolink
