#include "app/message_boxes.h"

#include <algorithm>
#include <vector>

#include "app/text_encoding.h"

namespace tastolink {
namespace {

constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kTextId = 100;

struct SimpleBoxState {
    std::wstring text;
    HFONT font = nullptr;
};

int Scaled(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

HFONT CreateMessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
}

SIZE MeasureWrapped(HWND window, HFONT font, const std::wstring& text, int maxWidth) {
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, font);
    RECT bounds{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// Lays the box out around its text: wrapped at half the screen's width, OK below it.
void LayOutSimpleBox(HWND box, SimpleBoxState& state) {
    const UINT dpi = GetDpiForWindow(box);
    state.font = CreateMessageFont(dpi);
    const int margin = Scaled(kMargin, dpi);
    const int buttonWidth = Scaled(kButtonWidth, dpi);
    const int buttonHeight = Scaled(kButtonHeight, dpi);
    const SIZE text = MeasureWrapped(box, state.font, state.text, GetSystemMetrics(SM_CXSCREEN) / 2);

    const int clientWidth = std::max<int>(text.cx, buttonWidth) + 2 * margin;
    const int clientHeight = margin + text.cy + margin + buttonHeight + margin;

    HWND label = CreateWindowExW(0, L"STATIC", state.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                 margin, margin, text.cx, text.cy, box, reinterpret_cast<HMENU>(kTextId),
                                 nullptr, nullptr);
    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                              (clientWidth - buttonWidth) / 2, margin + text.cy + margin, buttonWidth,
                              buttonHeight, box, reinterpret_cast<HMENU>(IDOK), nullptr, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    SendMessageW(ok, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(box, GWL_EXSTYLE)), dpi);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(box, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
    SetFocus(ok);
}

INT_PTR CALLBACK SimpleBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<SimpleBoxState*>(GetWindowLongPtrW(box, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(box, DWLP_USER, lParam);
            LayOutSimpleBox(box, *reinterpret_cast<SimpleBoxState*>(lParam));
            return FALSE;  // the focus is already on OK
        case WM_COMMAND:
            // OK is both the default and the cancel button: Enter and Esc close the box.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, IDOK);
            return TRUE;
        case WM_DESTROY:
            if (state && state->font) DeleteObject(state->font);
            return FALSE;
    }
    return FALSE;
}

// An empty dialog template with the program's title; the controls are made at init.
std::vector<WORD> SimpleBoxTemplate(const std::wstring& title) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialog->cx = 100;
    dialog->cy = 40;
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    return words;
}

}  // namespace

std::wstring ProgramTitleFromPath(const std::wstring& modulePath) {
    std::wstring name = modulePath.substr(modulePath.find_last_of(L"\\/") + 1);
    name = name.substr(0, name.find(L'.'));
    if (name.size() > 1) CharLowerBuffW(name.data() + 1, static_cast<DWORD>(name.size() - 1));
    return name;
}

std::wstring ProgramTitle() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return ProgramTitleFromPath(path);
        }
        path.resize(path.size() * 2);
    }
}

std::wstring ErrorBoxText(const std::wstring& message) {
    if (!message.empty() && message.back() > L'.') return message + L'.';
    return message;
}

void ScreenMessages::ShowSimpleMessage(HWND owner, const std::string& utf8Text) {
    SimpleBoxState state{WideFromUtf8(utf8Text)};
    std::vector<WORD> dialog = SimpleBoxTemplate(ProgramTitle());
    DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<DLGTEMPLATE*>(dialog.data()), owner,
                            SimpleBoxProc, reinterpret_cast<LPARAM>(&state));
}

void ScreenMessages::ShowError(HWND owner, const std::string& utf8Message) {
    MessageBoxW(owner, ErrorBoxText(WideFromUtf8(utf8Message)).c_str(), ProgramTitle().c_str(),
                MB_OK | MB_ICONSTOP);
}

}  // namespace tastolink
