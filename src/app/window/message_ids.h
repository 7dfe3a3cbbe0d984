#pragma once

#include <windows.h>

namespace tastolink {

// The program's own window messages, menu commands and timers, in one place so that no two parts
// take one id.

// The conversation's reader has heard the phone: the window takes the news.
inline constexpr UINT kPhoneNewsMessage = WM_APP + 14;
// A press of a playing sequence is due. wParam: its index, or the count of presses when all have
// been due; lParam: the run it belongs to, so that a message of a stopped run is left alone.
inline constexpr UINT kPressDueMessage = WM_APP + 22;
// Texts written to the status line wait for this to be shown together.
inline constexpr UINT kStatusLineMessage = WM_APP + 24;
// A recording's file refused a line: the recording has ended and says why.
inline constexpr UINT kRecordingEndedMessage = WM_APP + 23;
// A port has opened, its preparation sent since: the phone is asked for its events.
inline constexpr UINT kPhoneEventsMessage = WM_APP + 30;

// The commands of the menu bar (WM_COMMAND), laid out in the main window's menu table.
enum MenuId : int {
    kMenuSeparator = 0,
    kMenuExit = 1401,
    kMenuDefaults,
    kMenuAbout,
    kMenuAuthor,
    kMenuAnswers,
    kMenuRecord,
    kMenuPlay,
    kMenuWatchPorts,
    kMenuPhoneEvents,
    kMenuType,
    kMenuPhone,
};

inline constexpr UINT_PTR kRepeatTimerId = 2;        // Timer2: the repeat scan
inline constexpr UINT_PTR kAnswerCheckTimerId = 14;  // the phone's answers that are overdue
inline constexpr UINT_PTR kPortRetryTimerId = 21;    // a watched port that went away, tried again
inline constexpr UINT_PTR kStatusLineTimerId = 22;   // the status line's texts shown after a pause

}  // namespace tastolink
