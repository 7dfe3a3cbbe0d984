#pragma once

#include <optional>
#include <string>

#include "app/features/player.h"
#include "recording/playback.h"

namespace tastolink {

// A part of the window whose presses the Player plays: key sequences from files, typed texts. An
// unattended run plays either through this.
class PressSource {
public:
    virtual ~PressSource() = default;
    // What `subject` (a file's name, a text) plays, checked whole before anything is sent; nothing
    // when it can't be played, and a box has said why.
    virtual std::optional<Playback> Prepare(const std::string& subject) = 0;
    // Plays it on the Player; `ended` hears its end, whatever ends it.
    virtual void Play(Playback playback, Player::Ended ended) = 0;
};

}  // namespace tastolink
