// Fuzzes the L-system and the walker: the input is a grammar text, a root
// and a sequence of string operations, walks and selections.
#include "turtle/plant.h"

#include "check.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr int maxSymbols = 20000;   // keeps a run bounded: rewriting doubles

void walk(Plant& p, FuzzedDataProvider& in)
{
    const int every = in.ConsumeIntegralInRange(1, 64);
    int walked = 0;
    for (p.beginWalk(); !p.walkFinished(); p.advance(), ++walked) {
        p.step();
        const TurtleState s = p.currentState();
        (void)s.getX();
        (void)s.getY();
        (void)s.getStepLength();
        check(p.symbolAtCursor() == p.symbolAt(p.cursor));
        if (walked % every == 0) p.select();
    }
    check(walked == p.length());
    check(p.selection >= 0 && p.selection <= p.length());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string grammar = in.ConsumeRandomLengthString(256);
    const int x = in.ConsumeIntegral<int16_t>();
    const int y = in.ConsumeIntegral<int16_t>();
    Plant p(grammar, x, y);
    check(!p.ruleSets.empty());

    while (in.remaining_bytes() > 0) {
        const int length = p.length();
        const int pos = in.ConsumeIntegralInRange(-3, length + 3);
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0:
            if (length < maxSymbols) p.rewrite(pos, in.ConsumeIntegralInRange(-1, 3));
            break;
        case 1:
            p.eraseBranch(pos);
            check(p.length() <= length);
            break;
        case 2:
            walk(p, in);
            break;
        case 3:
            if (length < maxSymbols) p.growAtSelection();
            break;
        case 4:
            p.cutAtSelection();
            check(p.length() <= length);
            break;
        case 5:
            p.selection = pos;
            check(p.branchLength(pos) <= (pos >= 0 && pos < length ? length - pos : 0) || pos == 0);
            break;
        }
    }
    return 0;
}
