#pragma once

#include <cstdio>
#include <cstdlib>

// Stops a fuzz run on a broken invariant, saying which.
#define check(expr)                                                                          \
    do {                                                                                     \
        if (!(expr)) {                                                                       \
            std::fprintf(stderr, "%s:%d: %s does not hold\n", __FILE__, __LINE__, #expr);    \
            std::abort();                                                                    \
        }                                                                                    \
    } while (0)
