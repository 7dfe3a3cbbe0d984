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

// For a run that nobody watches: each message is a line on the standard error, where the
// program has one, and no box waits for a person.
class UnattendedMessages : public UserMessages {
public:
    void ShowSimpleMessage(HWND owner, const std::string& utf8Text) override;
    void ShowError(HWND owner, const std::string& utf8Message) override;
};

// A line on the standard error, or on the standard output, in UTF-8, where the program has one.
void WriteToStandardError(const std::string& utf8Line);
void WriteToStandardOutput(const std::string& utf8Line);

}  // namespace tastolink
