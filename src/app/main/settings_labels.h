#pragma once

#include <windows.h>

#include <functional>

#include "app/window/window.h"

namespace tastolink {

// The settings panel's column headers and row names, drawn by the window as a label shows its
// text: each would be a window of its own, and under Wine every window costs the start a little.
// `scaled` places a box of the layout in client pixels.
void PaintSettingsLabels(HDC dc, HFONT font, const std::function<RECT(Box)>& scaled);

}  // namespace tastolink
