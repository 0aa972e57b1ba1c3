// The hand-written scanner the library uses must give exactly the token
// stream of the table-driven scanner that flex generates from the rules:
// on every edge case of the rules and on long random texts, both of bytes
// of every value and of the formula alphabet, where operators, keywords,
// numbers and names meet in every combination.
#include "FormulaScanner.h"
#include "OracleTokens.h"
#include "TokenCases.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

bool operator==(const TokenRecord& a, const TokenRecord& b)
{
    return a.code == b.code && a.position == b.position && a.length == b.length;
}

// Index of the first token where the two streams part, or the shorter
// length when one is a prefix of the other; -1 when they are equal.
long long FirstDifference(const std::vector<TokenRecord>& a, const std::vector<TokenRecord>& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (!(a[i] == b[i])) {
            return static_cast<long long>(i);
        }
    }
    return a.size() == b.size() ? -1 : static_cast<long long>(common);
}

class ScannerOracleTest : public testing::Test {
protected:
    void ExpectSameTokens(const std::string& text)
    {
        const std::vector<TokenRecord> expected = OracleTokens(text.c_str());
        const TokenList scanned = ScanFormula(text.c_str(), text.size());
        const std::vector<TokenRecord> actual(scanned.begin(), scanned.end());
        EXPECT_EQ(FirstDifference(expected, actual), -1)
            << "tokens: oracle " << expected.size() << ", scanner " << actual.size();
    }
};

std::string RandomText(std::mt19937& random, std::size_t length, const std::string& alphabet)
{
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::string text(length, '\0');
    for (char& c : text) {
        c = alphabet[pick(random)];
    }
    return text;
}

std::string EveryNonZeroByte()
{
    std::string bytes;
    for (int value = 1; value <= 0xFF; ++value) {
        bytes += static_cast<char>(value);
    }
    return bytes;
}

TEST_F(ScannerOracleTest, EdgeCasesOfTheRules)
{
    for (const TokenCase& tokenCase : kCases) {
        SCOPED_TRACE(tokenCase.name);
        ExpectSameTokens(tokenCase.text);
    }
}

TEST_F(ScannerOracleTest, LongRandomTexts)
{
    // The formula alphabet repeats the bytes that start or continue
    // multi-byte tokens, so that AND, OR, :=, <=, 1.5. and name( occur often.
    const struct {
        const char* name;
        std::string alphabet;
    } alphabets[] = {
        {"every byte", EveryNonZeroByte()},
        {"formula", "AANNDDOORR  \r\n\t..0123456789xy_\\?+-*/&&||<<==!!>>::(),{};[]$@~\xB9\xC9"},
        {"blanks and numbers", "  \r\r\n..0099x("},
    };
    std::mt19937 random(20261209);
    for (const auto& entry : alphabets) {
        SCOPED_TRACE(entry.name);
        for (std::size_t length : {1u, 7u, 100u, 8191u, 8193u, 70000u, 1u << 20}) {
            SCOPED_TRACE(length);
            ExpectSameTokens(RandomText(random, length, entry.alphabet));
        }
    }
}

TEST_F(ScannerOracleTest, ManyShortTextsInSuccession)
{
    // Each call starts clean: nothing of one text carries into the next.
    std::mt19937 random(7);
    const std::string alphabet = "AND OR:=<=.5x(\r\n[]";
    for (int i = 0; i < 2000; ++i) {
        ExpectSameTokens(RandomText(random, 1 + i % 13, alphabet));
    }
}

}  // namespace
