// A broken promise found by a fuzz target: says which and aborts, so that the fuzzer
// keeps the input as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                              \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition);   \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)
