#include "app/features/player.h"

#include "phone/key_names.h"
#include "recording/playback_schedule.h"
#include "recording/unattended_run.h"
#include "settings/settings_error.h"

namespace tastolink {
namespace {

// A press as the phone is sent it, named as its key: a file's "5", or a typed text's "5555".
PhoneCommand CommandOfPress(const RecordedPress& press) {
    return {CommandOf(press), KeyNameOfCode(press.code, press.pressTenths.has_value())};
}

}  // namespace

void Player::Start(Playback playback, const PressSource& source, Ended ended) {
    Stop();
    source_ = &source;
    playback_ = std::move(playback);
    atStart_ = phone_.Texts().Tally();
    if (!clock_.Start(window_, DueTimes(playback_->Presses()))) {
        playback_.reset();
        messages_.ShowError(window_, std::string(kNotEnoughTimers));
        if (ended) ended(kSomethingNotWritten);
        return;
    }
    ended_ = std::move(ended);
    ShowProgress();
}

void Player::OnPressDue(WPARAM index, LPARAM run) {
    if (!clock_.IsOfThisRun(run)) return;
    if (index >= playback_->Presses().size()) return End();
    const bool written = phone_.Phone().Send(CommandOfPress(playback_->Presses()[index]));
    // A box for a press not written may have stopped the playing meanwhile.
    if (!clock_.IsOfThisRun(run)) return;
    playback_->Played(index, written);
    if (!playback_->Running()) return End();
    clock_.Sent(index);
    ShowProgress();
}

void Player::Stop() {
    if (!Running()) return;
    End();
}

void Player::End() {
    clock_.Stop();
    playback_->Stop();
    ShowProgress();
    if (ended_) std::exchange(ended_, nullptr)(playback_->ExitCode());
}

// While the phone is heard, the answers to the presses are counted.
void Player::ShowProgress() {
    std::string text = playback_->ProgressText();
    if (phone_.Phone().Hears()) {
        const AnswerTally now = phone_.Texts().Tally();
        text += ", OK " + std::to_string(now.ok - atStart_.ok) + ", не OK " +
                std::to_string(now.notOk - atStart_.notOk);
    }
    // Played through, the summary stays only beside the answers it counts.
    status_.Write(Segment::Progress,
                  Running() || phone_.Phone().Hears() ? std::optional(text) : std::nullopt);
}

}  // namespace tastolink
