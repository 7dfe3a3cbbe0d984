#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/phone_key_table.h"

namespace tastolink::virtual_phone {

// Bytes kept waiting for a line end before they are taken as one (bad) line anyway,
// so that a peer that never sends LF can't grow the buffer without bound.
inline constexpr std::size_t kLongestLine = 1024;

// Cuts the byte stream from the port into command lines. A line ends with LF; each line
// keeps its own bytes, CR and LF included, so that the log shows exactly what came.
class LineSplitter {
public:
    std::vector<std::string> Feed(std::string_view bytes);
    const std::string& Pending() const { return pending_; }

private:
    std::string pending_;
};

// The row (index into kPhoneKeyTable) that a line presses: AT+CKPD=, one code of the
// table between double quotes, then CR LF or LF. Anything else, nothing.
std::optional<int> RowOfLine(std::string_view line);

// The key as the phone's owner would name it: the digit, star or hash of a number key,
// otherwise the row label without its trailing dots.
std::string_view ShownKeyName(const PhoneKey& key);

// Lower-case hex, two digits per byte, no separators.
std::string HexBytes(std::string_view bytes);

// A line made readable on a terminal: printable ASCII as it is, CR and LF as \r and \n,
// quotes and backslashes escaped, every other byte as \xHH.
std::string Printable(std::string_view bytes);

// One line of the machine-readable log, without its newline:
// "<monotonic ms> <hex of the received bytes> <row 1-26, or - for a bad line>".
std::string LogLine(std::int64_t monotonicMs, std::string_view line, std::optional<int> row);

inline constexpr std::string_view kReplyOk = "OK\r\n";
inline constexpr std::string_view kReplyError = "ERROR\r\n";

}  // namespace tastolink::virtual_phone
