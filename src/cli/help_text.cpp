#include "cli/help_text.h"

namespace tastolink {

// Lines of at most 79 columns; an option's words start at column 24, as help2man reads them.
const std::string_view kHelpText = R"(Usage: tastolink --port PORT --play FILE [OPTION]...
  or:  tastolink --port PORT --type TEXT [OPTION]...
  or:  tastolink --port PORT --keys KEYS [--gap MS] [OPTION]...
  or:  tastolink --port PORT --identify [OPTION]...
  or:  tastolink --list-ports [--port PORT]
Press a mobile phone's keys from a script: each press goes to the phone on a
serial port as the keypad command of 3GPP TS 27.007, AT+CKPD="k" and CR LF.
This is the command line of Tastolink, whose window runs on Windows; both read
the same key sequence files and phone profiles.

Actions (one of them):
      --play FILE       play a key sequence file (see below): each press after
                        its pause, the pauses counted from the start, so that
                        one press sent late makes none after it late
      --type TEXT       type TEXT (UTF-8) as the profile types text: multi-tap
                        presses of the digit keys, with the profile's wait
                        between two letters of one key, or alpha entries
      --keys KEYS       press KEYS, separated by blanks: codes as AT+CKPD writes
                        them, one press each ("M 5 5 :T"); a key may end in a
                        comma and the press time in tenths of a second for a
                        long press ("0,20"), as in a file
      --identify        ask the phone who it is and print one "key: value" line
                        each for manufacturer, model, revision, keypad (yes or
                        no: whether it takes AT+CKPD) and profile (the first
                        profile whose match words fit the phone, or none)
      --list-ports      list this machine's serial ports, each with what Linux
                        knows of its device (its /dev/serial/by-id link, the
                        USB maker, product and interface); with --port, that
                        port too, whatever it is (a link to a pseudo-terminal)
      --help            print this help and exit
      --version         print the version and exit

Options:
      --port PORT       the phone's serial port: /dev/ttyACM0, a link in
                        /dev/serial/by-id, a pseudo-terminal. It is held for
                        this run alone: a port that another program holds is
                        refused, naming that program
      --profile NAME    the phone profile (default "Обычный", the program's own
                        key codes with nothing sent beside them; built in too:
                        "3GPP TS 27.007"). Its preparation lines go out as the
                        port opens, before any key; --type types with its
                        layout, keys and timing
      --phones FILE     the phone profiles file (default ./phones.ini, which
                        may be missing). A bad line is named on the standard
                        error and its profile left out; the run goes on
      --answers         hear the phone: print each line's answer as it comes
                        ("5 -> OK", "5 -> +CME ERROR: 3", "5 -> no answer",
                        and a late one "5 -> OK, after 1.5 s"), and wait for
                        the last key's. The exit status is 1 if any key was
                        answered otherwise than OK, or not at all
      --gap MS          with --keys: the pause between two keys in milliseconds
                        (default 300)
      --baud RATE       the line's rate (default 115200); a USB modem port
                        ignores it. The line is raw 8N1 without flow control

Key sequence files:
  One press to a line: the pause before it in milliseconds, the keys as AT+CKPD
  writes them and, for a long press, a comma and the press time in tenths of a
  second. Blank lines and lines that start with # are left out. The file is
  checked whole before anything is sent. The window's recordings are such files;
  the first example below writes one.

Exit status:
  0  every press was written (with --answers, and answered OK); --identify: the
     phone answered; --list-ports, --help, --version: always
  1  the port did not open or went away, a press was not written (the run ends
     there), a key was answered otherwise than OK or not at all, the phone did
     not answer, or Ctrl+C or SIGTERM ended the run early
  2  bad arguments, a bad file, a text the profile can't type, an unknown
     profile: nothing was sent

Errors go to the standard error, in English, naming the port or the file and
the line.

Examples:
  $ printf '# open messages\n0 M\n400 :R\n250 5,20\n' >menu-path.txt
  $ tastolink --port /dev/ttyACM0 --play menu-path.txt
  $ tastolink --port /dev/serial/by-id/usb-SonyEricsson-if01 --type "hello"
  $ tastolink --port /dev/ttyACM0 --keys "M 5 5 :T" --gap 500 --answers
  $ tastolink --port /dev/ttyACM1 --identify --phones lab-phones.ini
)";

}  // namespace tastolink
