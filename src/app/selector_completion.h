#pragma once

#include <windows.h>

namespace tastolink {

// Makes a typed character in the combo box complete its text to the first list entry that
// begins with what was typed, the completed part selected: F shows "F1", N shows "Num0".
void CompleteFromList(HWND comboBox);

}  // namespace tastolink
