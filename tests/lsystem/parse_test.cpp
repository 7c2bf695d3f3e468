#include "lsystem/lsystem.h"

#include <gtest/gtest.h>

#include <random>

namespace {

LSystem parsed(const std::string& text)
{
    LSystem l;
    l.parse(text);
    return l;
}

} // namespace

TEST(Parse, BuiltInGrammar)
{
    const LSystem l = parsed("{o:a[+ao]-ao;}ao");
    EXPECT_EQ(l.grammarText, "{o:a[+ao]-ao;}ao");
    ASSERT_EQ(l.ruleSets.size(), 1u);
    EXPECT_EQ(l.ruleSets[0], (RuleTable{{"o", "a[+ao]-ao"}}));
    EXPECT_EQ(l.derivation, "ao");
    EXPECT_EQ(l.length(), 2);
}

TEST(Parse, RulesInsideABlock)
{
    // The last rule may leave out its ";": its successor runs to the "}".
    EXPECT_EQ(parsed("{a:b;c:d}x").ruleSets[0], (RuleTable{{"a", "b"}, {"c", "d"}}));
    // A later rule for the same predecessor replaces the earlier one.
    EXPECT_EQ(parsed("{a:b;a:c;}x").ruleSets[0], (RuleTable{{"a", "c"}}));
    // Nothing is trimmed: blanks belong to predecessor and successor.
    EXPECT_EQ(parsed("{ a : b ;}x").ruleSets[0], (RuleTable{{" a ", " b "}}));
    // A missing ";" takes the next rule into the successor, ":" and all.
    EXPECT_EQ(parsed("{a:b c:d;e:f;}x").ruleSets[0], (RuleTable{{"a", "b c:d"}, {"e", "f"}}));
    // Text after the last ";" without a ":" is ignored.
    EXPECT_EQ(parsed("{a:b;junk}x").ruleSets[0], (RuleTable{{"a", "b"}}));
    // Neither ":" nor ";": the whole block is both predecessor and successor.
    EXPECT_EQ(parsed("{xyz}w").ruleSets[0], (RuleTable{{"xyz", "xyz"}}));
    // An empty block maps the empty text to the empty text.
    const LSystem empty = parsed("{}ao");
    EXPECT_EQ(empty.ruleSets[0], (RuleTable{{"", ""}}));
    EXPECT_EQ(empty.derivation, "ao");
}

TEST(Parse, Blocks)
{
    SCOPED_TRACE("two blocks, text before and between them");
    const LSystem two = parsed("pre{a:b;}mid{a:c;}ax");
    ASSERT_EQ(two.ruleSets.size(), 2u);
    EXPECT_EQ(two.ruleSets[0], (RuleTable{{"a", "b"}}));
    EXPECT_EQ(two.ruleSets[1], (RuleTable{{"a", "c"}}));
    EXPECT_EQ(two.derivation, "ax");

    // A second "{" inside a block starts the first predecessor after it.
    EXPECT_EQ(parsed("{skip{o:x;}ao").ruleSets[0], (RuleTable{{"o", "x"}}));

    // A text ending in "}" has an empty axiom.
    EXPECT_EQ(parsed("{a:b;}").derivation, "");

    // "}" without "{": the whole text is one block, read up to its first "}".
    const LSystem open = parsed("a:b;}c:d;}ax");
    ASSERT_EQ(open.ruleSets.size(), 1u);
    EXPECT_EQ(open.ruleSets[0], (RuleTable{{"a", "b"}}));
    EXPECT_EQ(open.derivation, "ax");

    // The last "{" has no "}": that block runs to the end, and the axiom,
    // after the last "}", holds the unclosed block.
    const LSystem unclosed = parsed("{a:b;}x{c:d;");
    ASSERT_EQ(unclosed.ruleSets.size(), 2u);
    EXPECT_EQ(unclosed.ruleSets[1], (RuleTable{{"c", "d"}}));
    EXPECT_EQ(unclosed.derivation, "x{c:d;");
}

TEST(Parse, TextsWithoutClosingBrace)
{
    const LSystem empty = parsed("");
    ASSERT_EQ(empty.ruleSets.size(), 1u);
    EXPECT_EQ(empty.ruleSets[0], (RuleTable{{"", ""}}));
    EXPECT_EQ(empty.derivation, "");

    // With no "}" at all the axiom is the whole text.
    EXPECT_EQ(parsed("ao").derivation, "ao");
    EXPECT_EQ(parsed("{o:a;").derivation, "{o:a;");
}

TEST(Parse, SecondParseAppendsTables)
{
    LSystem l = parsed("{o:x;}ao");
    l.parse("{o:y;}b");
    ASSERT_EQ(l.ruleSets.size(), 2u);
    EXPECT_EQ(l.ruleSets[0], (RuleTable{{"o", "x"}}));
    EXPECT_EQ(l.ruleSets[1], (RuleTable{{"o", "y"}}));
    EXPECT_EQ(l.derivation, "b");
    EXPECT_EQ(l.grammarText, "{o:y;}b");
}

// Any text parses, and every string operation returns on what it gives.
TEST(Parse, OddTextsAlwaysReturn)
{
    std::mt19937 rng(7);
    const std::string alphabet = "{}:;[]ao+-";
    for (int n = 0; n < 4000; ++n) {
        std::string text(rng() % 24, ' ');
        for (char& c : text)
            c = n % 2 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
        LSystem l;
        l.parse(text);
        ASSERT_GE(l.ruleSets.size(), 1u) << text;
        for (int i = -2; i <= l.length() + 2; ++i) {
            EXPECT_LE(l.branchLength(i), l.length());
            LSystem copy = l;
            const int ruleSet = static_cast<int>(rng() % 3) - 1;
            copy.rewrite(i, ruleSet);
            if (ruleSet < 0 || ruleSet >= static_cast<int>(l.ruleSets.size())) {
                EXPECT_EQ(copy.derivation, l.derivation);
            }
            const int before = copy.length();
            copy.eraseBranch(i);
            EXPECT_LE(copy.length(), before);
        }
    }
}
