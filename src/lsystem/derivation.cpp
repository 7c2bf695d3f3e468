#include "lsystem.h"

#include <array>
#include <cstdio>

char LSystem::symbolAt(int p) const
{
    const auto i = static_cast<std::size_t>(p);
    return i < derivation.size() ? derivation[i] : '\0';
}

int LSystem::length() const
{
    return branchLength(0);
}

int LSystem::branchLength(int p) const
{
    if (p == 0) return static_cast<int>(derivation.size());

    const auto start = static_cast<std::size_t>(p);
    std::size_t count = 0;
    int balance = 0;
    while (balance >= 0 && start + count < derivation.size()) {
        const char c = derivation[start + count];
        if (c == '[') ++balance;
        else if (c == ']') --balance;
        ++count;
    }
    return static_cast<int>(count);
}

void LSystem::rewrite(int from, int ruleSet)
{
    if (ruleSet < 0 || static_cast<std::size_t>(ruleSet) >= ruleSets.size()) return;

    // Only one-symbol predecessors apply: index their successors by symbol.
    std::array<const std::string*, 256> successorOf{};
    for (const auto& [predecessor, successor] : ruleSets[ruleSet]) {
        if (predecessor.size() == 1)
            successorOf[static_cast<unsigned char>(predecessor[0])] = &successor;
    }

    std::string iteratedTree;
    iteratedTree.reserve(derivation.size());
    int depth = 0;
    for (std::size_t i = 0; i < derivation.size(); ++i) {
        const char tmpKey = derivation[i];
        if (static_cast<long long>(i) < from) {
            iteratedTree += tmpKey;
            continue;
        }
        if (tmpKey == '[') ++depth;
        else if (tmpKey == ']') --depth;
        // Once the branch holding `from` has closed, nothing after it is
        // rewritten again, not even inside a later "[".
        if (depth < 0) depth = -1000000;

        const std::string* successor =
            depth < 0 ? nullptr : successorOf[static_cast<unsigned char>(tmpKey)];
        if (successor) iteratedTree += *successor;
        else iteratedTree += tmpKey;
    }
    derivation = std::move(iteratedTree);
}

void LSystem::eraseBranch(int p)
{
    if (p < 0 || static_cast<std::size_t>(p) > derivation.size()) return;
    const std::size_t n = static_cast<std::size_t>(branchLength(p)) - 1;
    derivation.erase(static_cast<std::size_t>(p), n);
}

void LSystem::print() const
{
    std::fwrite(derivation.data(), 1, derivation.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
