#pragma once

#include <memory>

#include "link/port_events.h"
#include "link/serial_port.h"

namespace tastolink {

// COM ports opened for reading as well as writing, overlapped, so that a read waiting on
// the reader's own thread never holds up a write of the window thread. Whatever the phone
// sends, and the opens, writes and loss of the port, go to the inbox.
class AnsweringPortOpener : public PortOpener {
public:
    explicit AnsweringPortOpener(std::shared_ptr<PortEventInbox> inbox) : inbox_(std::move(inbox)) {}
    std::unique_ptr<OpenedPort> Open(const std::string& portName) override;

private:
    std::shared_ptr<PortEventInbox> inbox_;
};

}  // namespace tastolink
