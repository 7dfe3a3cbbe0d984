#pragma once

#include <string>

namespace tastolink::virtual_phone {

// A pseudo-terminal pair in raw mode. The slave end is what Wine opens as a COM port; the
// phone reads and answers on the master end.
class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::runtime_error with the failing call and its reason
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Held open for the whole run: while one slave descriptor stays open, a peer that
    // closes and reopens the port never leaves the master hung up.
    int slave_ = -1;
    std::string slavePath_;
};

// A symbolic link that points at the slave, such as $WINEPREFIX/dosdevices/com1.
class PortLink {
public:
    PortLink(std::string path, std::string target);  // replaces what is there; throws on failure
    ~PortLink();                                     // removes the link if it is still ours
    PortLink(const PortLink&) = delete;
    PortLink& operator=(const PortLink&) = delete;

    // Wine re-creates its comN links when a prefix's server starts. Points the link back at
    // the slave when something else has replaced it; true when it had to.
    bool Restore();

private:
    bool PointsAtTarget() const;
    void Make();

    std::string path_;
    std::string target_;
};

}  // namespace tastolink::virtual_phone
