#include "app/features/key_sequences.h"

// commdlg.h needs windows.h before it.
#include <commdlg.h>

#include "app/window/message_ids.h"
#include "recording/sequence_file.h"
#include "settings/settings_error.h"
#include "shared/late_bound_win32.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr wchar_t kSequenceFilter[] = L"Нажатия (*.txt)\0*.txt\0Все файлы (*.*)\0*.*\0";
constexpr std::string_view kStopRecordingItem = "Остановить запись";
constexpr std::string_view kStopPlayingItem = "Остановить воспроизведение";

}  // namespace

KeySequences::KeySequences(WindowConversation& phone, Player& player, PhoneEventsHeard& phoneKeys,
                           SettingsFiles& files, UserMessages& messages)
    : phone_(phone), player_(player), phoneKeys_(phoneKeys), files_(files), messages_(messages) {}

KeySequences::~KeySequences() { StopRecording(); }

std::optional<std::string> KeySequences::AskForFile(bool save) const {
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window_;
    dialog.lpstrFilter = kSequenceFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"txt";
    dialog.Flags = OFN_NOCHANGEDIR | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    using Dialog = decltype(&GetOpenFileNameW);
    static const auto saveDialog = LateBound<Dialog>(L"comdlg32.dll", "GetSaveFileNameW");
    static const auto openDialog = LateBound<Dialog>(L"comdlg32.dll", "GetOpenFileNameW");
    const Dialog ask = save ? saveDialog : openDialog;
    if (!ask || !ask(&dialog)) return std::nullopt;
    return Utf8FromWide(path);
}

void KeySequences::RecordClick() {
    if (recorder_) return StopRecording();
    if (player_.Running()) return;
    const auto path = AskForFile(true);
    if (!path) return;
    try {
        recorder_ = std::make_unique<KeyRecorder>(files_.Create(*path), PhoneConversation::SteadyMs,
                                                  [this](const std::string& reason) {
                                                      recordingEnded_ = reason;
                                                      PostMessageW(window_, kRecordingEndedMessage, 0, 0);
                                                  });
    } catch (const SettingsError& error) {
        messages_.ShowError(window_, "Невозможно записать нажатия в «" + *path + "»: " + error.Reason());
        return;
    }
    recordingPath_ = *path;
    phone_.Phone().AddListener(*recorder_);
    phoneKeys_.AddListener(*recorder_);
}

void KeySequences::StopRecording() {
    if (!recorder_) return;
    phone_.Phone().RemoveListener(*recorder_);
    phoneKeys_.RemoveListener(*recorder_);
    recorder_.reset();
}

void KeySequences::OnRecordingEnded() {
    if (!recorder_ || recorder_->Recording()) return;
    StopRecording();
    messages_.ShowError(window_, "Запись нажатий в «" + recordingPath_ + "» остановлена: " + recordingEnded_);
}

void KeySequences::PlayClick() {
    if (player_.Plays(*this)) return player_.Stop();
    if (recorder_ || player_.Running()) return;
    if (const auto path = AskForFile(false))
        if (auto playback = Prepare(*path)) Play(std::move(*playback), nullptr);
}

std::optional<Playback> KeySequences::Prepare(const std::string& path) {
    auto read = ReadKeySequenceFile(files_, path);
    if (auto* presses = std::get_if<std::vector<RecordedPress>>(&read))
        return Playback::OfSequence(std::move(*presses));
    messages_.ShowError(window_, std::get<std::string>(read));
    return std::nullopt;
}

void KeySequences::Play(Playback playback, Player::Ended ended) {
    player_.Start(std::move(playback), *this, std::move(ended));
}

void KeySequences::Closing() {
    player_.Stop();
    StopRecording();
}

void KeySequences::ShowMenu() const {
    HMENU menu = GetMenu(window_);
    const bool recording = recorder_ != nullptr, busy = player_.Running(), playing = player_.Plays(*this);
    // A recording goes on while a text is typed, and can be stopped meanwhile.
    ModifyMenuW(menu, kMenuRecord, MF_BYCOMMAND | MF_STRING | (busy && !recording ? MF_GRAYED : MF_ENABLED),
                kMenuRecord, WideFromUtf8(recording ? kStopRecordingItem : kRecordItem).c_str());
    ModifyMenuW(menu, kMenuPlay,
                MF_BYCOMMAND | MF_STRING | (recording || (busy && !playing) ? MF_GRAYED : MF_ENABLED),
                kMenuPlay, WideFromUtf8(playing ? kStopPlayingItem : kPlayItem).c_str());
}

}  // namespace tastolink
