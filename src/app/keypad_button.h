#pragma once

#include <windows.h>

namespace tastolink {

// A button that never takes the keyboard focus, so key capture goes on while the
// mouse is used. It sends WM_COMMAND/BN_CLICKED to its parent once per press and
// release over it. Text is its caption; an optional bitmap (white drawn transparent)
// replaces it. The flat look draws a frame only under the mouse.
enum class KeypadButtonLook { Raised, Flat };

// A right click sends WM_COMMAND with this notification code instead of BN_CLICKED: hold the key.
inline constexpr WORD kKeypadLongPress = 0x4C50;

HWND CreateKeypadButton(HWND parent, int id, const wchar_t* caption, HBITMAP picture, KeypadButtonLook look);

}  // namespace tastolink
