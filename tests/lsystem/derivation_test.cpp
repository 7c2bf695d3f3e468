#include "lsystem/lsystem.h"

#include <gtest/gtest.h>

namespace {

LSystem builtIn()
{
    LSystem l;
    l.parse("{o:a[+ao]-ao;}ao");
    return l;
}

LSystem withDerivation(const std::string& derivation)
{
    LSystem l = builtIn();
    l.derivation = derivation;
    return l;
}

std::string rewritten(const std::string& derivation, int from, int ruleSet = 0)
{
    LSystem l = withDerivation(derivation);
    l.rewrite(from, ruleSet);
    return l.derivation;
}

std::string erased(const std::string& derivation, int p)
{
    LSystem l = withDerivation(derivation);
    l.eraseBranch(p);
    return l.derivation;
}

} // namespace

TEST(Derivation, FullStepsGrowByTheLaw)
{
    LSystem l = builtIn();
    const char* expected[] = {
        "aa[+ao]-ao",
        "aa[+aa[+ao]-ao]-aa[+ao]-ao",
        "aa[+aa[+aa[+ao]-ao]-aa[+ao]-ao]-aa[+aa[+ao]-ao]-aa[+ao]-ao",
    };
    for (int n = 1; n <= 10; ++n) {
        l.rewrite(0, 0);
        if (n <= 3) {
            EXPECT_EQ(l.derivation, expected[n - 1]);
        }
        EXPECT_EQ(l.length(), 8 * (1 << n) - 6) << "after " << n << " steps";
    }
}

TEST(Derivation, SymbolsAndBranchLengths)
{
    const LSystem l = withDerivation("aa[+ao]-ao");
    EXPECT_EQ(l.symbolAt(0), 'a');
    EXPECT_EQ(l.symbolAt(2), '[');
    EXPECT_EQ(l.symbolAt(6), ']');
    EXPECT_EQ(l.symbolAt(10), '\0');
    EXPECT_EQ(l.symbolAt(-1), '\0');

    const int expected[] = {10, 9, 8, 4, 3, 2, 1, 3, 2, 1, 0};
    for (int p = 0; p <= 10; ++p) EXPECT_EQ(l.branchLength(p), expected[p]) << "at " << p;
    EXPECT_EQ(l.branchLength(-1), 0);

    // Position 0 is the whole length even where a stray "]" would end a scan.
    EXPECT_EQ(withDerivation("a]bc").branchLength(0), 4);
    EXPECT_EQ(withDerivation("a]bc").branchLength(1), 1);
}

TEST(Derivation, RewriteFromAPosition)
{
    EXPECT_EQ(rewritten("aa[+ao]-ao", 5), "aa[+aa[+ao]-ao]-ao");
    EXPECT_EQ(rewritten("aa[+ao]-ao", 9), "aa[+ao]-aa[+ao]-ao");
    EXPECT_EQ(rewritten("aa[+ao]-ao", 6), "aa[+ao]-ao");
    EXPECT_EQ(rewritten("aa[+ao]-ao", 10), "aa[+ao]-ao");
    EXPECT_EQ(rewritten("aa[+ao]-ao", -5), rewritten("aa[+ao]-ao", 0));

    // A "]" without its "[" stops rewriting for good, even inside a later "[".
    EXPECT_EQ(rewritten("o]o[o]o", 0), "a[+ao]-ao]o[o]o");

    // Rule sets that do not exist leave the string as it is.
    EXPECT_EQ(rewritten("ao", 0, 1), "ao");
    EXPECT_EQ(rewritten("ao", 0, -1), "ao");
}

TEST(Derivation, RewriteRules)
{
    LSystem l;
    l.parse("{o:;ab:x;[:<;}o[o]ab");
    l.rewrite(0, 0);
    // An empty successor removes its symbol; "[" met at a non-negative depth
    // is looked up like any other; a two-symbol predecessor never applies.
    EXPECT_EQ(l.derivation, "<]ab");
}

TEST(Derivation, EraseBranch)
{
    EXPECT_EQ(erased("aa[+ao]-ao", 4), "aa[+]-ao");
    EXPECT_EQ(erased("aa[+ao]-ao", 3), "aa[]-ao");
    EXPECT_EQ(erased("aa[+ao]-ao", 8), "aa[+ao]-o");
    EXPECT_EQ(erased("aa[+ao]-ao", 2), "aao");
    EXPECT_EQ(erased("aa[+ao]-ao", 6), "aa[+ao]-ao");
    EXPECT_EQ(erased("aa[+ao]-ao", 9), "aa[+ao]-ao");
    EXPECT_EQ(erased("a[+ao]", 1), "a]");

    // Positions outside the string change nothing.
    EXPECT_EQ(erased("aa[+ao]-ao", 10), "aa[+ao]-ao");
    EXPECT_EQ(erased("aa[+ao]-ao", 11), "aa[+ao]-ao");
    EXPECT_EQ(erased("aa[+ao]-ao", -1), "aa[+ao]-ao");
}

TEST(Derivation, PrintWritesOneLine)
{
    const LSystem l = withDerivation("aa[+ao]-ao");
    testing::internal::CaptureStdout();
    l.print();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "aa[+ao]-ao\n");
}
