// The token streams the formula rules define, for the cases that show how
// the rules interact: longest match, ties, leading blanks, skipped brackets.
#include "TokenCases.h"
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TokenTableTest : public testing::TestWithParam<TokenCase> {};

TEST_P(TokenTableTest, DeliversTheRulesTokenStream)
{
    EXPECT_EQ(Tokenize(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, TokenTableTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

}  // namespace
