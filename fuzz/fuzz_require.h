#pragma once
// What a fuzz target insists on: a broken property prints what broke and aborts, which
// libFuzzer keeps as a crash input.
#include <cstdio>
#include <cstdlib>

inline void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}
