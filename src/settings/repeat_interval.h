#pragma once

#include <cstdint>
#include <string>

#include "settings/line_buffer.h"
#include "settings/settings_files.h"

namespace tastolink {

// The repeat timer (Timer2) as the period setting drives it.
class RepeatTimerControl {
public:
    virtual ~RepeatTimerControl() = default;
    virtual void Stop() = 0;
    // Starts ticking every periodMs milliseconds (never 0); false when the system has no timer left.
    virtual bool Start(std::uint32_t periodMs) = 0;
};

// The repeat period in milliseconds: the Get and Set buttons and the file "interval.int",
// whose line 0 holds the period and whose other lines pass through unread.
class RepeatIntervalSetting {
public:
    static constexpr std::uint32_t kInitialPeriod = 100;

    // The timer is expected to run with kInitialPeriod already.
    RepeatIntervalSetting(SettingsFiles& files, RepeatTimerControl& timer) : files_(files), timer_(timer) {}

    std::uint32_t Period() const { return period_; }
    // A new period restarts the timer, so the next tick comes a full period later; 0 stops it.
    // The same period changes nothing. Throws SettingsError ("Not enough timers available")
    // when the timer can't be restarted; the new period is kept all the same.
    void SetPeriod(std::uint32_t periodMs);

    // Reads "interval.int" and sets the period from its line 0. Throws SettingsError for a
    // file that can't be read (the period and the kept file text stay) or a line 0 that is
    // no integer (the file text is kept, the period stays).
    void Load();
    // Writes the period into line 0 of the last loaded text and saves it to "interval.int".
    // When no file was loaded in this run, only a period the user set is saved over an existing
    // file (into its text as it is now), nothing over one that can't be read, and a missing file
    // is created with the period alone.
    void Save();

    // Button1Click: the period as unsigned decimal digits.
    std::string Get() const;
    // Button2Click: the field's text converted as a signed 32-bit integer whose bits are the
    // period ("-1" gives 4294967295). Throws SettingsError for a text that is no integer.
    void Set(const std::string& fieldTextUtf8);

private:
    SettingsFiles& files_;
    RepeatTimerControl& timer_;
    LineBuffer intervalScratch_;
    bool loaded_ = false;
    bool setByUser_ = false;  // with "Set"
    std::uint32_t period_ = kInitialPeriod;
};

}  // namespace tastolink
