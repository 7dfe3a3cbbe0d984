// The handlers of the main window: keys, the repeat timer, buttons, menu, create and close.
#include <windowsx.h>

#include <exception>

#include "app/main/author_window.h"
#include "app/main/main_window.h"
#include "capture/repeat_scan.h"
#include "settings/key_catalogue.h"
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

void MainWindow::ToggleSwitch(const std::function<void()>& toggle) {
    Guarded(toggle);
    ShowPortLine();
}

void MainWindow::FormCreate() {
    Guarded([&] {
        LoadKeyCatalogue(services_.files, selectors_);
        mappings_.LoadBindings(kUserBindingsFile, selectors_);
        interval_.Load();
    });
}

bool MainWindow::FormClose() {
    bool saved = false;
    Guarded([&] {
        mappings_.SaveBindings(selectors_);
        interval_.Save();
        saved = true;
    });
    return saved;
}

void MainWindow::Timer2Timer() {
    Guarded([&] { RunRepeatScan(keys_.HeldKeys(), selectors_, [this](int row) { SpeedButtonClick(row); }); });
}

void MainWindow::SpeedButtonClick(int row) {
    Guarded([&] {
        if (const auto command = profiles_.KeyCommand(row, false)) phone_.Phone().Send(*command);
    });
}

void MainWindow::SpeedButtonLongPress(int row) {
    Guarded([&] {
        if (const auto command = profiles_.KeyCommand(row, true)) phone_.Phone().Send(*command);
    });
}

void MainWindow::Button1Click() {
    Guarded([&] { SetWindowTextW(Control(kEdit2), WideFromUtf8(interval_.Get()).c_str()); });
}

void MainWindow::Button2Click() {
    Guarded([&] { interval_.Set(Utf8FromWide(WindowText(Control(kEdit2)))); });
}

void MainWindow::Button3Click() {
    Guarded([&] {
        phone_.Phone().Open(Utf8FromWide(selectors_[kPortSelectorNumber].Text()), profiles_.Preparation());
    });
}

void MainWindow::N4Click() {
    Guarded([&] { mappings_.LoadBindings(kDefaultBindingsFile, selectors_); });
}

void MainWindow::AuthorClick() {
    if (author_) author_->ShowModal(Handle());
}

void MainWindow::PhoneClick() {
    Guarded([&] { phoneDialog_.ShowModal(Handle()); });
}

}  // namespace tastolink
