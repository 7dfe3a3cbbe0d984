#pragma once

#include <cstdio>
#include <cstdlib>

namespace tastolink::fuzz {

// A broken invariant ends the run as a crash, so that libFuzzer keeps the input.
inline void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

}  // namespace tastolink::fuzz
