#include "capture/pc_key_table.h"

namespace tastolink {
namespace {

constexpr int kNoKey = -1;
constexpr std::size_t kCodeRange = 256;  // every bindable code is below 256

constexpr std::array<int, kCodeRange> BuildIndexByCode() {
    std::array<int, kCodeRange> byCode{};
    for (auto& entry : byCode) entry = kNoKey;
    for (int index = 0; index < kPcKeyCount; ++index) byCode[kPcKeys[index].code] = index;
    return byCode;
}

constexpr std::array<int, kCodeRange> kIndexByCode = BuildIndexByCode();

constexpr bool CodesAreUnique() {
    int mapped = 0;
    for (int index : kIndexByCode) mapped += index != kNoKey;
    return mapped == kPcKeyCount;
}
static_assert(CodesAreUnique(), "every PcKey needs a code of its own");

}  // namespace

std::optional<int> PcKeyIndexForCode(std::uint16_t code) {
    if (code >= kCodeRange || kIndexByCode[code] == kNoKey) return std::nullopt;
    return kIndexByCode[code];
}

}  // namespace tastolink
