#include "recording/playback.h"

#include <numeric>

#include "recording/unattended_run.h"

namespace tastolink {

Playback::Playback(std::vector<RecordedPress> presses, Counting counting, std::vector<std::size_t> done,
                   std::size_t total)
    : presses_(std::move(presses)), counting_(counting), done_(std::move(done)), total_(total) {}

Playback Playback::OfSequence(std::vector<RecordedPress> presses) {
    std::vector<std::size_t> done(presses.size());
    std::iota(done.begin(), done.end(), std::size_t{1});
    const std::size_t total = presses.size();
    return Playback(std::move(presses), Counting::Presses, std::move(done), total);
}

Playback Playback::OfText(std::vector<RecordedPress> presses, std::vector<std::size_t> charactersAfter,
                          std::size_t characters) {
    charactersAfter.resize(presses.size(), characters);
    return Playback(std::move(presses), Counting::Characters, std::move(charactersAfter), characters);
}

void Playback::Played(std::size_t index, bool written) {
    if (index >= presses_.size()) return;
    if (!written) ++notWritten_;
    // A text that misses a press types wrong letters from there on: it ends at the first press not
    // written, whose characters are not done. A file goes on, as each of its presses stands alone.
    if (!written && counting_ == Counting::Characters) {
        running_ = false;
        return;
    }
    played_ = index + 1;
}

int Playback::ExitCode() const {
    return notWritten_ || played_ < presses_.size() ? kSomethingNotWritten : kEverythingWritten;
}

std::string Playback::ProgressText() const {
    const bool running = Running();
    const char* what = counting_ == Counting::Presses ? (running ? "Воспроизведение: " : "Воспроизведено: ")
                                                      : (running ? "Набор: " : "Набрано: ");
    const std::size_t done = played_ == 0 ? 0 : done_[played_ - 1];
    return what + std::to_string(done) + " из " + std::to_string(total_);
}

}  // namespace tastolink
