#include "app/features/unattended_runner.h"

namespace tastolink {

void UnattendedRunner::Start(UnattendedRun run, const ChoosePort& choosePort) {
    run_ = std::move(run);
    if (!run_->profile.empty() && !profiles_.Use(run_->profile)) {
        messages_.ShowError(window_,
                            "Нет профиля «" + run_->profile + "» ни среди встроенных, ни в phones.ini");
        return End(kBadFileOrArguments);
    }
    PressSource& source = run_->text.empty() ? files_ : texts_;
    auto playback = source.Prepare(run_->text.empty() ? run_->file : run_->text);
    if (!playback) return End(kBadFileOrArguments);
    if (!choosePort(run_->port)) return End(kSomethingNotWritten);
    source.Play(std::move(*playback), [this](int code) { End(code); });
}

void UnattendedRunner::End(int code) {
    if (exitCode_ == kEverythingWritten) exitCode_ = code;
    if (run_->exitWhenDone) PostMessageW(window_, WM_CLOSE, 0, 0);
}

}  // namespace tastolink
