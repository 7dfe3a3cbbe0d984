#include "recording/playback_schedule.h"

#include <algorithm>

namespace tastolink {

std::vector<std::uint64_t> DueTimes(const std::vector<RecordedPress>& presses) {
    std::vector<std::uint64_t> due;
    due.reserve(presses.size());
    std::uint64_t at = 0;
    for (const RecordedPress& press : presses) due.push_back(at += press.pauseMs);
    return due;
}

std::optional<std::string> Recorder::LineFor(std::string_view commandLine, std::uint64_t nowMs) {
    const std::uint64_t pause = lastMs_ ? nowMs - std::min(*lastMs_, nowMs) : 0;
    auto press =
        PressOfCommand(commandLine, static_cast<std::uint32_t>(std::min<std::uint64_t>(pause, UINT32_MAX)));
    if (!press) return std::nullopt;
    lastMs_ = nowMs;
    return SequenceLine(*press);
}

}  // namespace tastolink
