#include "app/features/typed_texts.h"

#include <stdexcept>

#include "app/features/typing_dialog.h"
#include "app/window/message_ids.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr std::string_view kStopTypingItem = "Остановить набор";

}  // namespace

void TypedTexts::TypeClick() {
    if (player_.Plays(*this)) return player_.Stop();
    if (player_.Running()) return;
    std::optional<Playback> planned;
    TypingDialog dialog([&](HWND owner, const std::string& text) -> std::optional<std::size_t> {
        auto plan = Plan(owner, text);
        if (const auto* refusal = std::get_if<TypingRefusal>(&plan)) return refusal->position;
        planned = std::move(std::get<Playback>(plan));
        return std::nullopt;
    });
    std::optional<std::string> text;
    try {
        text = dialog.Ask(window_, lastText_);
    } catch (const std::runtime_error& error) {  // the dialog could not be made
        return messages_.ShowError(window_, error.what());
    }
    if (!text) return;
    lastText_ = *text;
    Play(std::move(*planned), nullptr);
}

std::variant<Playback, TypingRefusal> TypedTexts::Plan(HWND owner, const std::string& text) {
    auto plan = PlanTyping(text, profiles_.Current());
    if (const auto* refusal = std::get_if<TypingRefusal>(&plan)) {
        messages_.ShowError(owner, RefusalText(*refusal, Language::Russian));
        return *refusal;
    }
    auto& typed = std::get<TypingPlan>(plan);
    return Playback::OfText(std::move(typed.presses), std::move(typed.charactersDone), typed.characters);
}

std::optional<Playback> TypedTexts::Prepare(const std::string& text) {
    auto plan = Plan(window_, text);
    if (auto* playback = std::get_if<Playback>(&plan)) return std::move(*playback);
    return std::nullopt;
}

void TypedTexts::Play(Playback playback, Player::Ended ended) {
    player_.Start(std::move(playback), *this, std::move(ended));
}

void TypedTexts::ShowMenu() const {
    const bool typing = player_.Plays(*this), waits = player_.Running() && !typing;
    ModifyMenuW(GetMenu(window_), kMenuType, MF_BYCOMMAND | MF_STRING | (waits ? MF_GRAYED : MF_ENABLED),
                kMenuType, WideFromUtf8(typing ? kStopTypingItem : kTypeItem).c_str());
}

}  // namespace tastolink
