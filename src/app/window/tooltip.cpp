#include "app/window/tooltip.h"

#include <commctrl.h>

namespace tastolink {
namespace {

// A tool of the window `owner`: all of the window `tool`.
TTTOOLINFOW ToolInfo(HWND owner, HWND tool) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    return info;
}

}  // namespace

bool Tooltip::Create(HWND owner) {
    owner_ = owner;
    return Subclass(CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr));
}

void Tooltip::AddTool(HWND tool, const std::wstring& text, Mouse mouse) {
    TTTOOLINFOW info = ToolInfo(owner_, tool);
    if (mouse == Mouse::Watched) info.uFlags |= TTF_SUBCLASS;
    // The control keeps a copy of the text.
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(Handle(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Tooltip::SetText(HWND tool, const std::wstring& text) {
    TTTOOLINFOW info = ToolInfo(owner_, tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(Handle(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(Handle(), TTM_UPDATE, 0, 0);
}

void Tooltip::Relay(const MSG& mouse) {
    SendMessageW(Handle(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&mouse));
}

void Tooltip::FollowEntry(HWND list, const MSG& move, int entry, const std::wstring& text) {
    Relay(move);
    if (entry == followed_) return;
    followed_ = entry;
    SetText(list, text);
}

void Tooltip::Hide() {
    SendMessageW(Handle(), TTM_POP, 0, 0);
    followed_ = -1;
}

}  // namespace tastolink
