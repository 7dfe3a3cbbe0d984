#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "recording/key_sequence.h"

namespace tastolink {

// A key sequence, or a typed text, as it plays: which presses went out, what the status line says
// of its progress, and the exit code of an unattended run. The clock that says when each press is
// due is the front end's; this is what both front ends share.
class Playback {
public:
    // The presses of a file, counted as presses.
    static Playback OfSequence(std::vector<RecordedPress> presses);
    // The presses that type a text, counted as its characters: `charactersAfter[i]` are done once
    // press i has gone out.
    static Playback OfText(std::vector<RecordedPress> presses, std::vector<std::size_t> charactersAfter,
                           std::size_t characters);

    const std::vector<RecordedPress>& Presses() const { return presses_; }
    // Press `index` went out (`written`) or could not be written, which ends a text.
    void Played(std::size_t index, bool written);
    // Ends it before its end: the user stopped it, or the run was closed.
    void Stop() { running_ = false; }
    bool Running() const { return running_ && played_ < presses_.size(); }
    // 0 when every press was written; 1 when one was not written, or not played at all.
    int ExitCode() const;
    // "Воспроизведение: 12 из 120", "Воспроизведено: 120 из 120", "Набор: 12 из 160", "Набрано: ...".
    std::string ProgressText() const;

private:
    enum class Counting { Presses, Characters };
    Playback(std::vector<RecordedPress> presses, Counting counting, std::vector<std::size_t> done,
             std::size_t total);

    std::vector<RecordedPress> presses_;
    Counting counting_;
    std::vector<std::size_t> done_;  // of the total, after each press
    std::size_t total_;
    std::size_t played_ = 0;
    std::size_t notWritten_ = 0;
    bool running_ = true;
};

}  // namespace tastolink
