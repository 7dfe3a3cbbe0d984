#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tastolink {

// A computer key that can be bound to a phone key.
struct PcKey {
    std::string_view keyName;  // exact, case-sensitive text used in selectors and files
    std::uint16_t code;        // Windows virtual-key code
};

inline constexpr int kPcKeyCount = 58;

// The fixed PcKey order: the inner order of the repeat scan.
// clang-format off
inline constexpr std::array<PcKey, kPcKeyCount> kPcKeys{{
    {"F1", 112},  {"F2", 113},   {"F3", 114},    {"F4", 115},   {"F5", 116},   {"F6", 117},
    {"F7", 118},  {"F8", 119},   {"F9", 120},    {"F10", 121},  {"F11", 122},  {"F12", 123},
    {"Num0", 96}, {"Num1", 97},  {"Num2", 98},   {"Num3", 99},  {"Num4", 100}, {"Num5", 101},
    {"Num6", 102}, {"Num7", 103}, {"Num8", 104}, {"Num9", 105}, {"Shift", 16}, {"Ctrl", 17},
    {"Alt", 18},  {"Enter", 13}, {"Esc", 27},    {"Space", 32}, {"Left", 37},  {"Up", 38},
    {"Right", 39}, {"Down", 40}, {"A", 65},      {"B", 66},     {"C", 67},     {"D", 68},
    {"E", 69},    {"F", 70},     {"G", 71},      {"H", 72},     {"I", 73},     {"J", 74},
    {"K", 75},    {"L", 76},     {"M", 77},      {"N", 78},     {"O", 79},     {"P", 80},
    {"Q", 81},    {"R", 82},     {"S", 83},      {"T", 84},     {"U", 85},     {"V", 86},
    {"W", 87},    {"X", 88},     {"Y", 89},      {"Z", 90},
}};
// clang-format on
static_assert(kPcKeys.size() == kPcKeyCount);

// The PcKey index for a virtual-key code, or nothing for a key that can't be bound.
// Accepts the whole 16-bit range.
std::optional<int> PcKeyIndexForCode(std::uint16_t code);

}  // namespace tastolink
