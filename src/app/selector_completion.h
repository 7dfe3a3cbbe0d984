#pragma once

#include <windows.h>

namespace tastolink {

// After a character typed at the end of a combo box's edit field: completes the text to the
// first list entry that begins with what was typed, the completed part selected, so F shows
// "F1" and N shows "Num0". Done from the message loop rather than by subclassing the field,
// which under Wine costs every message to the field a trip to the server.
void CompleteFromList(HWND edit, HWND comboBox);

}  // namespace tastolink
