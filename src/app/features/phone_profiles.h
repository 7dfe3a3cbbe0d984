#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "link/conversation_event.h"
#include "phone/phone_profile.h"
#include "settings/settings_files.h"

namespace tastolink {

// The phone profiles the window knows: the built-in ones and those of phones.ini, and the one
// chosen, kept in phone.ini. With neither file the profile is "Обычный", whose keys are the
// program's of old and which sends nothing beside them.
class PhoneProfiles {
public:
    // `follow` is told the current profile whenever it may have changed: the keypad shows its codes.
    using Follower = std::function<void(const PhoneProfile&)>;
    PhoneProfiles(SettingsFiles& files, Follower follow) : files_(files), follow_(std::move(follow)) {}

    // Reads both files. The text of the one box that names every bad line of phones.ini, or
    // nothing when there is none; a bad line never stops the start.
    std::optional<std::string> Load();
    const std::vector<PhoneProfile>& All() const { return profiles_; }
    const PhoneProfile& Current() const { return profiles_[current_]; }
    // Chooses the profile called `name` and keeps the choice in phone.ini. Throws SettingsError
    // when the file can't be written; the choice holds all the same, until the program ends.
    void Choose(const std::string& name);
    // Uses the profile called `name` until the program ends, leaving phone.ini alone: an unattended
    // run's --profile.
    // False when there is none of that name.
    bool Use(std::string_view name);

    // What a row's button sends under the current profile, short or long; nothing for a button the
    // profile leaves out.
    std::optional<PhoneCommand> KeyCommand(int row, bool longPress) const;
    // The lines the current profile sends at each opening of the port, in order.
    std::vector<PhoneCommand> Preparation() const;

private:
    SettingsFiles& files_;
    Follower follow_;
    std::vector<PhoneProfile> profiles_ = BuiltInProfiles();
    std::size_t current_ = 0;
};

}  // namespace tastolink
