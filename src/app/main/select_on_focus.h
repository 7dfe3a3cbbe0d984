#pragma once

#include <windows.h>

namespace tastolink {

// The edit field selects its whole text whenever the focus arrives other than by a mouse click,
// the caret at the start, so that the beginning of a long hint stays in view.
void SelectWholeTextOnFocus(HWND edit);

}  // namespace tastolink
