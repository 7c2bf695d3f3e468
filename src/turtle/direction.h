#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

// The step of one unit along a heading: its sine and cosine, each taken in
// double and rounded to float.
struct Direction {
    float sine;
    float cosine;
};

// The same values as taking them afresh. A plant turns by a few fixed
// angles, and its steps and the shadows cast from them come in runs that
// share a heading, so the last headings' values are kept, 256 of them by
// their bits (so -0 is not 0).
inline Direction directionOf(float heading)
{
    struct Kept {
        std::uint32_t bits = 0;   // the heading +0
        Direction direction{0.0f, 1.0f};
    };
    thread_local Kept kept[256];
    std::uint32_t bits;
    std::memcpy(&bits, &heading, sizeof bits);
    Kept& k = kept[(bits * 0x9e3779b1u) >> 24];
    if (k.bits != bits) {
        const double h = static_cast<double>(heading);
        k.direction = {static_cast<float>(std::sin(h)), static_cast<float>(std::cos(h))};
        k.bits = bits;
    }
    return k.direction;
}
