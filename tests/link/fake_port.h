#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/serial_port.h"

namespace tastolink::fake {

// Ports that record "<port>:<line>" for each line written, and whose reader hears what the test
// has the phone say. Like a real port opened without sharing, the one port that is open can't be
// opened again.
struct Ports : SerialPortOpener {
    struct Port : SerialPort {
        Port(Ports& ports, std::string name) : ports(ports), name(std::move(name)) {
            ports.open = this->name;
        }
        ~Port() override {
            std::lock_guard lock(ports.mutex);
            ports.open.clear();
        }
        WriteOutcome Write(std::string_view bytes) override {
            std::lock_guard lock(ports.mutex);
            if (ports.writes != WriteOutcome::Written) return ports.writes;
            ports.written.push_back(name + ":" + std::string(bytes));
            return WriteOutcome::Written;
        }
        ReadOutcome Read(std::string& into) override {
            std::unique_lock lock(ports.mutex);
            ++ports.reads;
            ports.changed.wait(lock, [&] { return stops > 0 || !ports.said.empty() || ports.lost; });
            if (stops > 0) {
                --stops;
                return ReadOutcome::Stopped;
            }
            if (ports.lost) return ReadOutcome::Lost;
            into += ports.said.front();
            ports.said.pop_front();
            return ReadOutcome::Received;
        }
        void StopReading() override {
            std::lock_guard lock(ports.mutex);
            ++stops;
            ports.changed.notify_all();
        }
        void DiscardReceived() override {
            std::lock_guard lock(ports.mutex);
            ports.said.clear();
        }
        Ports& ports;
        std::string name;
        int stops = 0;
    };

    PortOpening Open(const std::string& name) override {
        ++opens;
        if (missing) return PortFailure{PortFailure::Kind::Absent, 2};
        if (name == open) return PortFailure{PortFailure::Kind::Busy, 5};
        return std::make_unique<Port>(*this, name);
    }
    // The phone says `bytes`, which the reader, if one runs, reads as one piece.
    void Say(std::string bytes) {
        std::lock_guard lock(mutex);
        said.push_back(std::move(bytes));
        changed.notify_all();
    }
    void Vanish() {
        std::lock_guard lock(mutex);
        lost = true;
        changed.notify_all();
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::string open;
    std::vector<std::string> written;
    std::deque<std::string> said;
    WriteOutcome writes = WriteOutcome::Written;
    bool missing = false;
    bool lost = false;
    int opens = 0;
    int reads = 0;
};

}  // namespace tastolink::fake
