// The handlers of the main window: keys, the repeat timer, buttons, menu, create and close.
#include <windowsx.h>

#include <exception>

#include "app/author_window.h"
#include "app/main_window.h"
#include "capture/repeat_scan.h"
#include "settings/key_catalogue.h"
#include "settings/settings_error.h"
#include "settings/text_encoding.h"

namespace tastolink {
namespace {

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

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
    Guarded([&] { channel_.Press(KeypadCommand(kPhoneKeyTable[row])); });
}

void MainWindow::Button1Click() {
    Guarded([&] { SetWindowTextW(Control(kEdit2), WideFromUtf8(interval_.Get()).c_str()); });
}

void MainWindow::Button2Click() {
    Guarded([&] { interval_.Set(Utf8FromWide(TextOf(Control(kEdit2)))); });
}

void MainWindow::Button3Click() {
    Guarded([&] { channel_.OpenPort(Utf8FromWide(TextOf(comboBoxes_[kPortSelectorNumber]))); });
}

void MainWindow::N4Click() {
    Guarded([&] { mappings_.LoadBindings(kDefaultBindingsFile, *this); });
}

void MainWindow::AuthorClick() {
    if (author_) author_->ShowModal(Handle());
}

std::string MainWindow::Text(int comboBoxNumber) const {
    return AnsiFromWide(TextOf(comboBoxes_[comboBoxNumber]));
}

void MainWindow::SetText(int comboBoxNumber, const std::string& ansiText) {
    SetWindowTextW(comboBoxes_[comboBoxNumber], WideFromAnsi(ansiText).c_str());
}

void MainWindow::ReplaceItems(int comboBoxNumber, const std::vector<std::string>& ansiEntries) {
    HWND selector = comboBoxes_[comboBoxNumber];
    // Every selector gets the same catalogue: convert it once.
    if (ansiEntries != lastEntries_) {
        lastEntries_ = ansiEntries;
        lastWideEntries_.clear();
        for (const std::string& entry : ansiEntries) lastWideEntries_.push_back(WideFromAnsi(entry));
    }
    // Emptying the list also empties the edit field; the binding shown must survive.
    const std::wstring text = TextOf(selector);
    SetWindowRedraw(selector, FALSE);
    ComboBox_ResetContent(selector);
    SendMessageW(selector, CB_INITSTORAGE, lastWideEntries_.size(), 0);
    bool refused = false;
    for (const std::wstring& entry : lastWideEntries_) {
        const int added = ComboBox_AddString(selector, entry.c_str());
        if (added == CB_ERR || added == CB_ERRSPACE) {
            refused = true;
            break;
        }
    }
    SetWindowTextW(selector, text.c_str());
    SetWindowRedraw(selector, TRUE);
    InvalidateRect(selector, nullptr, TRUE);
    if (refused) throw SettingsError(std::string(kUnableToInsertLine));
}

void MainWindow::ShowChannelFailure(const std::string& text) {
    services_.messages.ShowSimpleMessage(Handle(), text);
}

}  // namespace tastolink
