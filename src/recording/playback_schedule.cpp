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
    auto press = PressOfCommand(commandLine, 0);
    if (!press) return std::nullopt;
    return LineFor(std::move(*press), nowMs);
}

std::string Recorder::LineFor(RecordedPress press, std::uint64_t atMs) {
    const std::uint64_t pause = lastMs_ ? atMs - std::min(*lastMs_, atMs) : 0;
    press.pauseMs = static_cast<std::uint32_t>(std::min<std::uint64_t>(pause, UINT32_MAX));
    lastMs_ = std::max(lastMs_.value_or(0), atMs);
    return SequenceLine(press);
}

}  // namespace tastolink
