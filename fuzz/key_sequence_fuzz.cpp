// A key sequence file of any bytes: it is refused with a line of the file, or every press read
// from it is keys of AT+CKPD with a press time in range, whose line reads back as the same press and
// whose command is what a recording writes back as that line. A broken property aborts, so that
// libFuzzer keeps the input.

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "recording/key_sequence.h"

using namespace tastolink;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const auto same = [](std::string_view text) { return std::string(text); };
    const auto parsed = ParseKeySequence(file, same);
    if (const auto* error = std::get_if<SequenceError>(&parsed)) {
        const auto breaks =
            std::count(file.begin(), file.end(), '\n') + std::count(file.begin(), file.end(), '\r');
        if (error->line < 0 || error->line > breaks + 1 || error->what.empty()) std::abort();
        return 0;
    }
    for (const RecordedPress& press : std::get<std::vector<RecordedPress>>(parsed)) {
        if (press.pressTenths && (*press.pressTenths < 0 || *press.pressTenths > kLongestPressTenths))
            std::abort();
        if (KeypadStringFault(press.code)) std::abort();
        const auto again = ParseKeySequence(SequenceLine(press), same);
        const auto* presses = std::get_if<std::vector<RecordedPress>>(&again);
        if (!presses || *presses != std::vector<RecordedPress>{press}) std::abort();
        if (PressOfCommand(CommandOf(press), press.pauseMs) != press) std::abort();
    }
    return 0;
}
