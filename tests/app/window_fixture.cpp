#include "app/window_fixture.h"
// window_fixture.h brings windows.h, which commctrl.h needs before it.
#include <commctrl.h>

#include <fstream>
#include <sstream>

#include "app/window/message_loop.h"
#include "capture/pc_key_table.h"

namespace tastolink::wintest {

ScratchDirectory::ScratchDirectory() {
    previous_ = std::filesystem::current_path();
    path_ =
        std::filesystem::temp_directory_path() /
        ("tastolink-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()));
    std::filesystem::create_directories(path_);
    std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::filesystem::current_path(previous_);
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ignored))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path_, ignored);
}

void ScratchDirectory::Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
}

std::string ScratchDirectory::Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{target, message, wParam, lParam, GetTickCount(), {}};
    if (PreTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void PumpFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (PreTranslate(msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

HWND FieldOf(const Selector& selector) {
    SetFocus(selector.Handle());
    return selector.Field();
}

std::wstring TipOf(HWND tooltip, HWND owner, HWND tool) {
    wchar_t text[256] = L"";
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    SendMessageW(tooltip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
    return text;
}

std::string CatalogueText() {
    std::string text;
    for (const PcKey& key : kPcKeys) text += std::string(key.keyName) + "\r\n";
    return text;
}

std::string MappingText(const std::string& lineZero, const std::vector<std::pair<int, std::string>>& texts,
                        const std::string& tail) {
    std::vector<std::string> lines(54);
    lines[0] = lineZero;
    for (const auto& [number, text] : texts) lines[number] = text;
    std::string file;
    for (const std::string& line : lines) file += line + "\r\n";
    return file + tail;
}

void MainWindowTest::SetUp() {
    folder.Write("Items.itm", CatalogueText());
    folder.Write("itemindex.itm", MappingText("user", {{45, "COM1"}}));
    folder.Write("interval.int", "100\r\n");
}

void MainWindowTest::TearDown() {
    window.reset();
    // The closed window posted WM_QUIT; left in the queue it would end the next modal loop.
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

void MainWindowTest::Open() {
    window = std::make_unique<MainWindow>(MainWindowServices{ports, files, messages});
    ASSERT_TRUE(window->Create(SW_SHOW)) << "no window: is there a display?";
    SetForegroundWindow(window->Handle());
    PumpFor(std::chrono::milliseconds(50));
}

void MainWindowTest::SetSelector(int comboBoxNumber, const std::wstring& text) {
    SetWindowTextW(window->ComboBox(comboBoxNumber).Handle(), text.c_str());
}

}  // namespace tastolink::wintest
