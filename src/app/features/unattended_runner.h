#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/features/phone_profiles.h"
#include "app/features/press_source.h"
#include "app/window/message_boxes.h"
#include "recording/unattended_run.h"

namespace tastolink {

// Tastolink.exe --port COM5 (--play FILE | --type TEXT) [--profile NAME] [--exit]: a run for a
// test rig, which plays a file or types a text as the menu would and ends with an exit code.
class UnattendedRunner {
public:
    // Opens the port as "Выбрать" would; whether it opened.
    using ChoosePort = std::function<bool(const std::string& port)>;

    UnattendedRunner(PhoneProfiles& profiles, PressSource& files, PressSource& texts, UserMessages& messages)
        : profiles_(profiles), files_(files), texts_(texts), messages_(messages) {}
    void Attach(HWND window) { window_ = window; }

    // Takes the run's profile for this run only (phone.ini keeps the user's choice), checks what it
    // plays, opens the port and plays. Nothing is sent for an unknown profile, a bad file or a text
    // the profile can't type.
    void Start(UnattendedRun run, const ChoosePort& choosePort);
    // An unattended run that closes when done closes even when the settings can't be saved:
    // nobody is there to try again.
    bool ClosesWhenDone() const { return run_ && run_->exitWhenDone; }
    // What the program ends with: 0, or the run's outcome.
    int ExitCode() const { return exitCode_; }

private:
    // The run's outcome, the first that went wrong; with --exit the window closes.
    void End(int code);

    PhoneProfiles& profiles_;
    PressSource& files_;
    PressSource& texts_;
    UserMessages& messages_;
    HWND window_ = nullptr;
    std::optional<UnattendedRun> run_;
    int exitCode_ = kEverythingWritten;
};

}  // namespace tastolink
