// Fuzzes the check that sets a derivation from outside, as a page's address
// hands one over: the input is the string. An accepted string is walked
// and grown; a refused one leaves the plant as it was.
#include "turtle/plant.h"

#include "check.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string symbols(reinterpret_cast<const char*>(data), size);
    Plant p("{o:a[+ao]-ao;}ao", 300, 300);
    const std::string before = p.derivation;

    // What the check must find, told apart symbol by symbol.
    long depth = 0;
    bool nested = !symbols.empty();
    for (const char c : symbols) {
        if (!c || !std::strchr("ao[]+-", c)) nested = false;
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        if (depth < 0) nested = false;
    }
    nested = nested && depth == 0;

    const bool taken = p.setDerivation(symbols);
    check(taken == nested);
    check(p.derivation == (taken ? symbols : before));
    if (!taken) return 0;

    int walked = 0;
    for (p.beginWalk(); !p.walkFinished(); p.advance(), ++walked) {
        p.step();
        if (p.symbolAtCursor() == 'o') p.select();
    }
    check(walked == p.length());
    check(p.branchStack.empty());
    p.growAtSelection();
    check(p.length() >= walked);
    return 0;
}
