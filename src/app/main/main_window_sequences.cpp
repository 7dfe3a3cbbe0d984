// Recording the keys sent to the phone and playing them back: from the menu, and unattended
// from the command line.
#include "app/main/main_window.h"
// commdlg.h needs windows.h, which main_window.h brings.
#include <commdlg.h>

#include <cstdio>

#include "recording/key_sequence.h"
#include "recording/unattended_run.h"
#include "shared/late_bound_win32.h"
#include "shared/text_encoding.h"

namespace tastolink {
namespace {

constexpr wchar_t kSequenceFilter[] = L"Нажатия (*.txt)\0*.txt\0Все файлы (*.*)\0*.*\0";

// The whole file, or the system's reason why not.
bool ReadWholeFile(const std::wstring& path, std::string& bytes, std::string& reason) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        reason = SystemReason(GetLastError());
        return false;
    }
    char chunk[65536];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &read, nullptr) != FALSE) && read > 0)
        bytes.append(chunk, read);
    if (!ok) reason = SystemReason(GetLastError());
    CloseHandle(file);
    return ok;
}

// A piece of a line of the file as the box quotes it: the file's code page, its control
// characters shown as their codes.
std::string Quoted(std::string_view bytes) {
    std::string shown;
    for (char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x20) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(byte));
            shown += code;
        } else {
            shown += Utf8FromWide(WideFromAnsi(std::string_view(&byte, 1)));
        }
    }
    return shown;
}

}  // namespace

std::optional<std::wstring> MainWindow::AskForSequenceFile(bool save) {
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Handle();
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
    return std::wstring(path);
}

void MainWindow::RecordClick() {
    if (recording_.IsRecording()) return StopRecording();
    if (playback_.IsRunning()) return;
    const auto path = AskForSequenceFile(true);
    if (!path) return;
    std::string reason;
    if (!recording_.Start(*path, reason)) {
        services_.messages.ShowError(
            Handle(), "Невозможно записать нажатия в «" + Utf8FromWide(*path) + "»: " + reason);
        return;
    }
    ShowSequenceMenu();
}

void MainWindow::StopRecording() {
    recording_.Stop();
    ShowSequenceMenu();
}

void MainWindow::PlayClick() {
    if (playback_.IsRunning()) return StopPlaying();
    if (recording_.IsRecording()) return;
    const auto path = AskForSequenceFile(false);
    if (!path) return;
    if (auto presses = LoadSequence(*path)) Play(std::move(*presses));
}

// The file checked whole: nothing of a bad file is sent.
std::optional<std::vector<RecordedPress>> MainWindow::LoadSequence(const std::wstring& path) {
    const std::string name = Utf8FromWide(path);
    std::string bytes, reason;
    if (!ReadWholeFile(path, bytes, reason)) {
        ReportSequenceProblem("Невозможно открыть «" + name + "»: " + reason);
        return std::nullopt;
    }
    auto parsed = ParseKeySequence(bytes, Quoted);
    if (const auto* error = std::get_if<SequenceError>(&parsed)) {
        const std::string where = error->line ? "строка " + std::to_string(error->line) + ": " : "";
        ReportSequenceProblem("Невозможно воспроизвести «" + name + "»: " + where + error->what);
        return std::nullopt;
    }
    return std::move(std::get<std::vector<RecordedPress>>(parsed));
}

void MainWindow::Play(std::vector<RecordedPress> presses) {
    playing_ = std::move(presses);
    played_ = notWritten_ = 0;
    answersAtStart_ = answers_.Tally();
    if (!playback_.Start(Handle(), DueTimes(playing_))) {
        services_.messages.ShowError(Handle(), std::string(kNotEnoughTimers));
        EndUnattendedRun(kSomethingNotWritten);
        return;
    }
    ShowSequenceMenu();
    UpdateStatusBar();
}

void MainWindow::OnPressDue(WPARAM index, LPARAM run) {
    if (!playback_.IsOfThisRun(run)) return;
    if (index >= playing_.size()) return StopPlaying();
    if (!SendToPhone(CommandOf(playing_[index]))) ++notWritten_;
    played_ = index + 1;
    playback_.Sent(index);
    UpdateStatusBar();
}

void MainWindow::StopPlaying() {
    playback_.Stop();
    ShowSequenceMenu();
    UpdateStatusBar();
    if (unattended_) EndUnattendedRun(PlayedCode());
}

// An unattended run's code for what it played: 1 as long as a press was not written or not sent.
int MainWindow::PlayedCode() const {
    return notWritten_ || played_ < playing_.size() ? kSomethingNotWritten : kEverythingWritten;
}

// The run's outcome, the first that went wrong; with --exit the window closes.
void MainWindow::EndUnattendedRun(int code) {
    if (!unattended_) return;
    if (exitCode_ == kEverythingWritten) exitCode_ = code;
    if (unattended_->exitWhenDone) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

// Each item says what a click does now; while one of them runs, the other does nothing.
void MainWindow::ShowSequenceMenu() {
    HMENU menu = GetMenu(Handle());
    const bool recording = recording_.IsRecording(), playing = playback_.IsRunning();
    const auto caption = [](MenuId id, bool stop) {
        for (const MenuItem& item : kMenu)
            if (item.id == id)
                return WideFromUtf8(stop ? (id == kMenuRecord ? kStopRecording : kStopPlaying) : item.item);
        return std::wstring();
    };
    ModifyMenuW(menu, kMenuRecord, MF_BYCOMMAND | MF_STRING | (playing ? MF_GRAYED : MF_ENABLED), kMenuRecord,
                caption(kMenuRecord, recording).c_str());
    ModifyMenuW(menu, kMenuPlay, MF_BYCOMMAND | MF_STRING | (recording ? MF_GRAYED : MF_ENABLED), kMenuPlay,
                caption(kMenuPlay, playing).c_str());
}

std::string MainWindow::PlayingText() const {
    if (playing_.empty()) return {};
    std::string text = (playback_.IsRunning() ? "Воспроизведение: " : "Воспроизведено: ") +
                       std::to_string(played_) + " из " + std::to_string(playing_.size());
    if (answers_.On()) {
        const AnswerTally now = answers_.Tally();
        text += ", OK " + std::to_string(now.ok - answersAtStart_.ok) + ", не OK " +
                std::to_string(now.notOk - answersAtStart_.notOk);
    }
    return text;
}

// A write to the phone, kept in the recording when one runs.
bool MainWindow::SendToPhone(const std::string& command) {
    const bool wasWaiting = channel_.Waiting();
    const bool written = channel_.Press(command);
    if (channel_.Waiting() || wasWaiting) FollowWaiting();
    std::string reason;
    if (written && !recording_.Written(command, reason)) {
        const std::wstring path = recording_.Path();
        ShowSequenceMenu();
        services_.messages.ShowError(Handle(),
                                     "Запись нажатий в «" + Utf8FromWide(path) + "» остановлена: " + reason);
    }
    return written;
}

// A file that can't be played; for an unattended run, its exit code.
void MainWindow::ReportSequenceProblem(const std::string& text) {
    services_.messages.ShowError(Handle(), text);
    EndUnattendedRun(kBadFileOrArguments);
}

// The file is checked, the port opens as "Выбрать" would open it, and the file plays.
void MainWindow::StartUnattendedRun() {
    auto presses = LoadSequence(WideFromUtf8(unattended_->file));
    if (!presses) return;
    selectors_[kPortSelectorNumber].SetText(WideFromUtf8(unattended_->port));
    Button3Click();
    if (portOpened_) return Play(std::move(*presses));
    EndUnattendedRun(kSomethingNotWritten);
}

}  // namespace tastolink
