#pragma once

namespace tastolink {

// Who delivered a key event inside the main window.
enum class KeySource {
    MainWindow,         // the window itself, when none of its controls has the focus
    FocusField,         // Edit1
    CapturingSelector,  // a selector of rows 1 to 21 (ComboBox1 to ComboBox42)
    OtherControl,       // any other control of the main window
};

struct KeyRoute {
    bool marksOnKeyDown;
    bool clearsOnKeyUp;
};

// Key-downs mark keys only through the main window, the focus field and the selectors
// of the first 21 rows. A key-up clears its key wherever it lands in the main window,
// so a key released anywhere there never stays held.
constexpr KeyRoute RouteOf(KeySource source) {
    switch (source) {
        case KeySource::MainWindow:
        case KeySource::FocusField:
        case KeySource::CapturingSelector:
            return {true, true};
        case KeySource::OtherControl:
            return {false, true};
    }
    return {false, false};
}

}  // namespace tastolink
