#pragma once

#include <cstdio>

namespace olvane::fuzz {

// Stops the run on a broken property, saying which; libFuzzer keeps the input that did it.
inline void check(bool property, const char* file = __builtin_FILE(), int line = __builtin_LINE()) {
    if (!property) {
        std::fprintf(stderr, "propriété violée: %s:%d\n", file, line);
        __builtin_trap();
    }
}

}  // namespace olvane::fuzz
