#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <semaphore>
#include <string>
#include <vector>

#include "app/main/main_window.h"
#include "settings/settings_files_win32.h"
#include "shared/text_encoding.h"

namespace tastolink::wintest {

// A port that records every line and can be told to refuse to open; the phone says nothing.
class RecordingPorts : public SerialPortOpener {
public:
    PortOpening Open(const std::string& portName) override {
        struct Port : SerialPort {
            explicit Port(std::vector<std::string>& lines) : lines(lines) {}
            WriteOutcome Write(std::string_view bytes) override {
                lines.emplace_back(bytes);
                return WriteOutcome::Written;
            }
            ReadOutcome Read(std::string&) override {
                stopped.acquire();
                return ReadOutcome::Stopped;
            }
            void StopReading() override { stopped.release(); }
            void DiscardReceived() override {}
            std::vector<std::string>& lines;
            std::binary_semaphore stopped{0};
        };
        opened.push_back(portName);
        if (refuseOpen) return PortFailure{PortFailure::Kind::Absent, ERROR_FILE_NOT_FOUND};
        return std::make_unique<Port>(lines);
    }

    std::vector<std::string> opened;
    std::vector<std::string> lines;
    bool refuseOpen = false;
};

// Records the boxes instead of showing them.
class RecordingMessages : public UserMessages {
public:
    void ShowSimpleMessage(HWND, const std::string& utf8Text) override { simple.push_back(utf8Text); }
    void ShowError(HWND, const std::string& utf8Message) override { errors.push_back(utf8Message); }

    std::vector<std::string> simple;
    std::vector<std::string> errors;
};

// A scratch working directory, removed afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// Hands a message to its window the way the program's loop does.
void Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam = 0);
// Runs the program's loop for a while (timers included).
void PumpFor(std::chrono::milliseconds duration);
// Gives the selector the focus, which brings the shared edit field into it, and returns the field.
HWND FieldOf(const Selector& selector);
// The tip a tooltip control holds for `tool`, a window of `owner`.
std::wstring TipOf(HWND tooltip, HWND owner, HWND tool);

// The 58 key names, one per line, as the delivered catalogue holds them.
std::string CatalogueText();
// A mapping file: line 0, then the given texts for ComboBox1..53 (missing ones empty).
std::string MappingText(const std::string& lineZero, const std::vector<std::pair<int, std::string>>& texts,
                        const std::string& tail = "");

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Creates the window over the scratch folder as it is at that moment.
    void Open();
    void SetSelector(int comboBoxNumber, const std::wstring& text);

    ScratchDirectory folder;
    RecordingPorts ports;
    RecordingMessages messages;
    Win32SettingsFiles files;
    std::unique_ptr<MainWindow> window;
};

}  // namespace tastolink::wintest
