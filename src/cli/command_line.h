#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "recording/unattended_run.h"

namespace tastolink {

// What one run of the command line does: one action, and the options that go with it.
enum class CliAction { Help, Version, Play, Type, Keys, Identify, ListPorts };

struct CliRequest {
    CliAction action = CliAction::Help;
    std::string port{};      // as typed; empty where none was given
    std::string argument{};  // the file of --play, the text of --type, the keys of --keys
    std::uint32_t gapMs = 300;
    std::string profile{};  // empty: the ordinary one
    std::string phonesFile = "phones.ini";
    bool phonesFileGiven = false;
    bool answers = false;
    unsigned baud = 115200;

    bool operator==(const CliRequest&) const = default;
};

// The arguments, the program's name left out, as the user gave them; or why they can't be taken
// (the text of an English message).
std::variant<CliRequest, BadArguments> ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace tastolink
