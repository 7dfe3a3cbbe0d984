#include "cli/phone_run.h"

#include <algorithm>
#include <sstream>

#include "cli/output.h"
#include "cli/run_report.h"
#include "cli/stop_signals.h"
#include "link/phone_session.h"
#include "link/serial_port_posix.h"
#include "phone/identify_on_port.h"
#include "phone/phones_file.h"
#include "phone/text_entry.h"
#include "recording/playback.h"
#include "recording/playback_schedule.h"
#include "recording/sequence_file.h"
#include "settings/phones_ini.h"
#include "settings/settings_files_posix.h"

namespace tastolink {
namespace {

constexpr Language kEnglish = Language::English;
// A file's pauses may add up to more than the steady clock counts in nanoseconds; no run is that long.
constexpr std::uint64_t kLongestRunMs = 100ull * 365 * 24 * 60 * 60 * 1000;

// A press as the phone is sent it, named as the keys are written: "5", ":T", "0,20".
PhoneCommand CommandOfPress(const RecordedPress& press) {
    std::string name = press.code;
    if (press.pressTenths) name.append(",").append(std::to_string(*press.pressTenths));
    return {CommandOf(press), name};
}

// --keys "M 5 5 :T": each key is a line of a key sequence, `gapMs` after the one before, so that it
// is checked as a file's keys are.
std::variant<Playback, std::string> PlaybackOfKeys(const std::string& keys, std::uint32_t gapMs,
                                                   const SettingsFiles& files) {
    std::string lines;
    std::istringstream words(keys);
    for (std::string key; words >> key;)
        lines += std::to_string(lines.empty() ? 0 : gapMs) + " " + key + "\n";
    auto parsed = ParseKeySequence(
        lines, [&files](std::string_view piece) { return QuotedPiece(files, piece); }, kEnglish);
    if (const auto* error = std::get_if<SequenceError>(&parsed))
        return error->line ? "--keys: key " + std::to_string(error->line) + ": " + error->what
                           : std::string("--keys: no key to press");
    return Playback::OfSequence(std::move(std::get<std::vector<RecordedPress>>(parsed)));
}

// The presses of --play, --type or --keys, or why there are none.
std::variant<Playback, std::string> PlaybackOf(const CliRequest& request, const PhoneProfile& profile,
                                               SettingsFiles& files) {
    if (request.action == CliAction::Keys) return PlaybackOfKeys(request.argument, request.gapMs, files);
    if (request.action == CliAction::Type) {
        auto planned = PlanTyping(request.argument, profile);
        if (const auto* refusal = std::get_if<TypingRefusal>(&planned))
            return RefusalText(*refusal, kEnglish);
        TypingPlan& plan = std::get<TypingPlan>(planned);
        return Playback::OfText(std::move(plan.presses), std::move(plan.charactersDone), plan.characters);
    }
    auto read = ReadKeySequenceFile(files, request.argument, kEnglish);
    if (auto* why = std::get_if<std::string>(&read)) return std::move(*why);
    return Playback::OfSequence(std::move(std::get<std::vector<RecordedPress>>(read)));
}

// Each press at its time counted from the start, so that one sent late makes none after it late;
// then, with the answers heard, until no key waits for one.
int Play(PhoneSession& session, Playback& playback, bool answers) {
    PhoneConversation& conversation = session.Conversation();
    const std::vector<std::uint64_t> due = DueTimes(playback.Presses());
    const auto start = PhoneSession::Clock::now();
    for (std::size_t at = 0; at < due.size(); ++at) {
        if (!session.WaitUntil(start + std::chrono::milliseconds(std::min(due[at], kLongestRunMs)))) break;
        playback.Played(at, conversation.Send(CommandOfPress(playback.Presses()[at])));
    }
    playback.Stop();
    if (answers) session.WaitFor([&conversation] { return !conversation.TimeToCheck(); });
    return playback.ExitCode();
}

int IdentifyPhone(PhoneSession& session, const std::vector<PhoneProfile>& profiles, const std::string& port) {
    const auto answer = AskWhoItIs(session, port, profiles);
    if (!answer) return kSomethingNotWritten;
    if (const auto* silent = std::get_if<PhoneSilent>(&*answer)) {
        PrintError(SilentPhoneText(*silent, kEnglish));
        return kSomethingNotWritten;
    }
    for (const auto& [label, value] : IdentityFacts(std::get<PhoneIdentity>(*answer), kEnglish))
        PrintLine(label + ": " + value);
    return kEverythingWritten;
}

}  // namespace

int RunWithPhone(const CliRequest& request) {
    PosixSettingsFiles files;
    const LoadedProfiles loaded =
        LoadPhonesFile(files, request.phonesFile, kEnglish, request.phonesFileGiven);
    if (loaded.problems) PrintError(*loaded.problems);
    const std::string profileName =
        request.profile.empty() ? std::string(kOrdinaryProfileName) : request.profile;
    const PhoneProfile* profile = ProfileNamed(loaded.profiles, profileName);
    if (!profile) {
        PrintError("no profile \"" + profileName + "\", built in or in " + request.phonesFile);
        return kBadFileOrArguments;
    }
    std::optional<Playback> playback;
    if (request.action != CliAction::Identify) {
        auto planned = PlaybackOf(request, *profile, files);
        if (const auto* why = std::get_if<std::string>(&planned)) {
            PrintError(*why);
            return kBadFileOrArguments;
        }
        playback = std::move(std::get<Playback>(planned));
    }

    PosixSerialPortOpener opener(request.baud);
    PhoneSession session(opener);
    StopSignals signals([&session] { session.Stop(); });
    RunReport report(session, request.answers);
    // Heard from the opening on, so that an answer to the profile's preparation is never taken
    // for a later line's.
    PhoneConversation::Hearing hearing;
    if (request.answers || request.action == CliAction::Identify)
        hearing = PhoneConversation::Hearing(session.Conversation());
    if (!session.Conversation().Open(request.port, PreparationCommands(*profile)))
        return kSomethingNotWritten;
    const int code = playback ? Play(session, *playback, request.answers)
                              : IdentifyPhone(session, loaded.profiles, request.port);
    return std::max(code, report.AnswersExitCode());
}

}  // namespace tastolink
