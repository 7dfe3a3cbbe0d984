// The handlers of the main window: keys, the repeat timer, buttons, menu, create and close.
#include <windowsx.h>

#include <exception>
#include <new>

#include "app/main/author_window.h"
#include "app/main/main_window.h"
#include "capture/repeat_scan.h"
#include "settings/key_catalogue.h"
#include "settings/settings_error.h"
#include "shared/text_encoding.h"

namespace tastolink {

// An error ends the handler that raised it and is shown in the error box; the program goes on.
template <typename Handler>
void MainWindow::Guarded(Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        services_.messages.ShowError(Handle(), error.what());
    }
}

void MainWindow::FormCreate() {
    Guarded([&] {
        LoadKeyCatalogue(services_.files, *this);
        mappings_.LoadBindings(kUserBindingsFile, *this);
        interval_.Load();
    });
}

bool MainWindow::FormClose() {
    bool saved = false;
    Guarded([&] {
        mappings_.SaveBindings(*this);
        interval_.Save();
        saved = true;
    });
    return saved;
}

void MainWindow::FormKeyDown(WORD key) { heldKeys_.KeyDown(key); }
void MainWindow::FormKeyUp(WORD key) { heldKeys_.KeyUp(key); }

void MainWindow::Timer2Timer() {
    Guarded([&] { RunRepeatScan(heldKeys_, *this, [this](int row) { SpeedButtonClick(row); }); });
}

void MainWindow::SpeedButtonClick(int row) {
    Guarded([&] { SendToPhone(KeypadCommand(kPhoneKeyTable[row])); });
}

void MainWindow::SpeedButtonLongPress(int row) {
    Guarded([&] { SendToPhone(LongPressCommand(kPhoneKeyTable[row])); });
}

void MainWindow::AnswersClick() {
    Guarded([&] { answers_.Toggle(); });  // a switch that can't be saved holds until the program ends
    CheckMenuItem(GetMenu(Handle()), kMenuAnswers, answers_.On() ? MF_CHECKED : MF_UNCHECKED);
    UpdateStatusBar();
}

void MainWindow::WatchPortsClick() {
    Guarded([&] { portWatch_.Toggle(); });  // a switch that can't be saved holds until the program ends
    CheckMenuItem(GetMenu(Handle()), kMenuWatchPorts, portWatch_.On() ? MF_CHECKED : MF_UNCHECKED);
    portWatch_.FillPortSelector(selectors_[kPortSelectorNumber]);
    channel_.SetWatching(portWatch_.On());
    FollowWaiting();
    UpdateStatusBar();
}

void MainWindow::Button1Click() {
    Guarded([&] { SetWindowTextW(Control(kEdit2), WideFromUtf8(interval_.Get()).c_str()); });
}

void MainWindow::Button2Click() {
    Guarded([&] { interval_.Set(Utf8FromWide(WindowText(Control(kEdit2)))); });
}

void MainWindow::Button3Click() {
    Guarded([&] { portOpened_ = channel_.OpenPort(Utf8FromWide(ComboBox(kPortSelectorNumber).Text())); });
    FollowWaiting();
}

void MainWindow::N4Click() {
    Guarded([&] { mappings_.LoadBindings(kDefaultBindingsFile, *this); });
}

void MainWindow::AuthorClick() {
    if (author_) author_->ShowModal(Handle());
}

std::string MainWindow::Text(int comboBoxNumber) const {
    return AnsiFromWide(ComboBox(comboBoxNumber).Text());
}

void MainWindow::SetText(int comboBoxNumber, const std::string& ansiText) {
    selectors_[comboBoxNumber].SetText(WideFromAnsi(ansiText));
}

void MainWindow::ReplaceItems(int comboBoxNumber, const std::vector<std::string>& ansiEntries) {
    // Every selector gets the same catalogue: convert it once, and share it.
    if (!lastWideEntries_ || ansiEntries != lastEntries_) {
        try {
            std::vector<std::wstring> wide;
            wide.reserve(ansiEntries.size());
            for (const std::string& entry : ansiEntries) wide.push_back(WideFromAnsi(entry));
            lastWideEntries_ = std::make_shared<const std::vector<std::wstring>>(std::move(wide));
            lastEntries_ = ansiEntries;
        } catch (const std::bad_alloc&) {
            throw SettingsError(std::string(kUnableToInsertLine));
        }
    }
    selectors_[comboBoxNumber].SetEntries(lastWideEntries_);
}

}  // namespace tastolink
