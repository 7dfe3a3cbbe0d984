#pragma once

#include <windows.h>

#include "app/main/binding_selectors.h"
#include "app/window/window.h"
#include "capture/held_key_table.h"

namespace tastolink {

// The held-key table kept up to date from the main window's key messages, ahead of dispatch.
// Key-downs mark keys only through the window itself, the focus field and the selectors of the
// first rows (keys typed into a selector arrive at the shared field inside it); a key-up clears its
// key wherever it lands in the window, so that no key stays held; and a window that no longer sees
// key-ups forgets them all.
class KeyCapture {
public:
    KeyCapture(const Window& window, const BindingSelectors& selectors)
        : window_(window), selectors_(selectors) {}

    const HeldKeyTable& HeldKeys() const { return held_; }
    // A key message of the window or of one of its controls marks or clears its key; false for
    // any other message.
    bool Take(const MSG& message);
    // The handlers, named after the component and event they serve.
    void FormKeyDown(WORD key) { held_.KeyDown(key); }
    void FormKeyUp(WORD key) { held_.KeyUp(key); }
    // The menu and a drag run loops of their own that swallow key-ups: a key let go meanwhile
    // would stay held.
    void ReleaseAll() { held_.ReleaseAll(); }
    // WM_ACTIVATE: leaving, every key is let go; coming back, the focus goes where it was, else
    // to the focus field.
    void OnActivate(bool active, HWND focusField);

private:
    bool MarksKeyDowns(HWND target) const;

    const Window& window_;
    const BindingSelectors& selectors_;
    HeldKeyTable held_;
    HWND focusBeforeDeactivation_ = nullptr;
};

}  // namespace tastolink
