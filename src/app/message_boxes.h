#pragma once

#include <windows.h>

#include <string>

namespace tastolink {

// The title of every box: the executable's file name without its folder, cut at its
// first ".", with every character after the first in lower case.
std::wstring ProgramTitleFromPath(const std::wstring& modulePath);
std::wstring ProgramTitle();

// The error box adds a full stop when the text does not end in one or in punctuation
// below it.
std::wstring ErrorBoxText(const std::wstring& message);

// How the window tells the user about failures; tests put a recorder in its place.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    // Plain box for the phone link's failures: no icon, one OK, centred on the screen.
    virtual void ShowSimpleMessage(HWND owner, const std::string& utf8Text) = 0;
    // Stop-icon box for an error that ended a handler.
    virtual void ShowError(HWND owner, const std::string& utf8Message) = 0;
};

class ScreenMessages : public UserMessages {
public:
    void ShowSimpleMessage(HWND owner, const std::string& utf8Text) override;
    void ShowError(HWND owner, const std::string& utf8Message) override;
};

}  // namespace tastolink
