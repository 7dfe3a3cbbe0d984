#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "app/features/phone_profiles.h"
#include "app/features/player.h"
#include "app/features/press_source.h"
#include "app/window/message_boxes.h"
#include "phone/text_entry.h"

namespace tastolink {

// Typing a text into the phone: "Файл → Набрать текст…" asks for the text in a dialog and types
// it under the current profile, by multi-tap or alpha entry, on the Player. A text the profile
// can't type is refused before anything is sent. While it types, the item stops it; it waits
// while a key sequence plays.
class TypedTexts : public PressSource {
public:
    static constexpr std::string_view kTypeItem = "Набрать текст…";

    TypedTexts(Player& player, const PhoneProfiles& profiles, UserMessages& messages)
        : player_(player), profiles_(profiles), messages_(messages) {}
    void Attach(HWND window) { window_ = window; }
    void TypeClick();
    // The menu opens: the item says what a click does now.
    void ShowMenu() const;

    // A text, planned under the current profile.
    std::optional<Playback> Prepare(const std::string& text) override;
    void Play(Playback playback, Player::Ended ended) override;

private:
    // The text planned under the current profile; or why not, which a box over `owner` has said.
    std::variant<Playback, TypingRefusal> Plan(HWND owner, const std::string& text);

    Player& player_;
    const PhoneProfiles& profiles_;
    UserMessages& messages_;
    HWND window_ = nullptr;
    std::string lastText_;  // offered again by the next dialog
};

}  // namespace tastolink
