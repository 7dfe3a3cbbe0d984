#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "phone/phone_profile.h"
#include "shared/wording.h"

namespace tastolink {

// "Определить" and --identify ask the phone these, in this order.
inline constexpr std::array<std::string_view, 5> kIdentificationCommands = {"AT+CGMI", "AT+CGMM", "AT+CGMR",
                                                                            "AT+CKPD=?", "AT+CMEC=?"};

// An identification that the phone answered nothing at all, on the port named.
inline constexpr Wording kPhoneSilent{"Телефон на {} не отвечает", "The phone on {} does not answer"};

enum class FinalResult { None, Ok, Error, CmeError };

// What the phone answered one command: the lines before its final result, and that result
// (None when it gave none in time).
struct CommandAnswer {
    std::vector<std::string> lines;
    FinalResult result = FinalResult::None;
};

// The answers to kIdentificationCommands, in order.
using IdentificationAnswers = std::array<CommandAnswer, kIdentificationCommands.size()>;

struct PhoneIdentity {
    std::string manufacturer;  // UTF-8, short, printable; empty where the phone did not say
    std::string model;
    std::string revision;
    bool keypadOffered = false;
    std::string profile;  // the first profile that matches; empty for none

    bool operator==(const PhoneIdentity&) const = default;
};

PhoneIdentity Identify(const IdentificationAnswers& answers, const std::vector<PhoneProfile>& profiles);

// The first profile whose match words all occur in the manufacturer and model, regardless of
// case; nullptr when none does. A profile without match words matches no phone.
const PhoneProfile* MatchingProfile(const std::vector<PhoneProfile>& profiles, std::string_view manufacturer,
                                    std::string_view model);

// Each fact as a label and its value: for the dialog in Russian; in English as --identify
// prints them, "manufacturer", "model", "revision", "keypad" (yes or no), "profile" (or none).
std::vector<std::pair<std::string, std::string>> IdentityFacts(const PhoneIdentity& identity,
                                                               Language language);

}  // namespace tastolink
