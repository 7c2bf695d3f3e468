#pragma once

#include <map>
#include <string>
#include <vector>

// Rewriting rules of one rule block: predecessor text to successor text.
// Only one-symbol predecessors ever apply.
using RuleTable = std::map<std::string, std::string>;

// A bracketed L-system: the grammar text, one rule table per rule block and
// the current derivation string, one 8-bit symbol per character.
class LSystem {
public:
    std::string grammarText;
    std::string derivation;
    std::vector<RuleTable> ruleSets;

    // Reads "{pred:succ;...}...{...}axiom": appends one table per block and
    // sets the derivation to the axiom. Accepts any text.
    void parse(std::string text);

    // Reads one block's "pred:succ;" rules and appends their table.
    void parseRuleBlock(std::string block);

    // Symbol at position p; NUL at or past the end (negative p included).
    char symbolAt(int p) const;

    // Number of symbols in the derivation.
    int length() const;

    // Symbols from p up to and including the "]" closing the branch that
    // holds p, or up to the end of the string; the whole length for p = 0.
    int branchLength(int p) const;

    // Rewrites with rule set ruleSet from position `from` to the end of the
    // branch holding it; everything else is copied. Rule sets out of range
    // leave the derivation unchanged.
    void rewrite(int from, int ruleSet);

    // Removes branchLength(p) - 1 symbols from p: the branch from p on, its
    // closing "]" kept. Positions outside 0..length leave the string as it is.
    void eraseBranch(int p);

    // Writes the derivation and a line end to standard output and flushes.
    void print() const;
};
