#include "lsystem.h"

namespace {

// The text of s from p with at most n characters; empty when p lies past the
// end, so that no position ever throws.
std::string textFrom(const std::string& s, std::size_t p, std::size_t n)
{
    if (p > s.size()) return std::string();
    return s.substr(p, n);
}

} // namespace

// Positions are unsigned and wrap on purpose: a block without "{" has
// open == npos, so open + 1 is 0 and the block starts at the text's start.
void LSystem::parse(std::string text)
{
    grammarText = text;

    std::size_t close = 0;
    do {
        const std::size_t open = text.find('{', close);
        close = text.find('}', open);
        std::string tmpRulezStr = textFrom(text, open + 1, close - open - 1);
        parseRuleBlock(tmpRulezStr);
    } while (text.find('{', close) != std::string::npos);

    const std::size_t last = text.rfind('}');
    derivation = last == std::string::npos ? text : text.substr(last + 1);
}

void LSystem::parseRuleBlock(std::string block)
{
    RuleTable tmpRuleMap;
    const std::size_t end = block.find('}');

    std::size_t open = block.find('{');
    std::size_t colon = block.find(':');
    std::size_t semi = block.find(';');
    do {
        std::string successor = textFrom(block, colon + 1, semi - colon - 1);
        std::string predecessor = textFrom(block, open + 1, colon - open - 1);
        tmpRuleMap[predecessor] = successor;

        open = semi;
        colon = block.find(':', open);
        semi = block.find(';', colon);
    } while (colon < end);

    ruleSets.push_back(std::move(tmpRuleMap));
}
