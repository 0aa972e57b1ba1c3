// Texts longer than one refill piece (8192 bytes), than the scanner's
// initial buffer, and than the 16-bit range of positions and lengths.
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Builds "v0+v1+v2+..." past minimumLength, with the tokens expected from
// it: distinct names, so a repeated or lost piece shows in the stream.
void BuildNameSum(std::size_t minimumLength, std::string& text, std::vector<Token>& expected)
{
    long long position = 0;
    for (int i = 0; text.size() < minimumLength; ++i) {
        const std::string name = "v" + std::to_string(i);
        text += name + "+";
        expected.push_back({22, Wrap16(position), static_cast<int>(name.size())});
        position += static_cast<long long>(name.size());
        expected.push_back({0, Wrap16(position), 1});
        position += 1;
    }
}

TEST(LongTextTest, PiecesFollowOnWithoutRepetitionOrGap)
{
    std::string text;
    std::vector<Token> expected;
    BuildNameSum(70000, text, expected);
    EXPECT_EQ(Tokenize(text), expected);
}

TEST(LongTextTest, TokenStraddlingThePieceBoundaryStaysWhole)
{
    for (std::size_t before : {8187u, 8190u, 8191u, 16380u, 16383u}) {
        SCOPED_TRACE(before);
        const std::string text = std::string(before, 'x') + "+123456.75 " + std::string(9000, 'y');
        const int b = static_cast<int>(before);
        EXPECT_EQ(Tokenize(text), (std::vector<Token>{{22, 0, b}, {0, b, 1}, {5, b + 1, 9}, {22, b + 10, 9001}}));
    }
}

TEST(LongTextTest, LengthAndPositionBeyond32767Wrap)
{
    const std::string text = std::string(40000, 'a') + "+1";
    EXPECT_EQ(Tokenize(text), (std::vector<Token>{{22, 0, Wrap16(40000)}, {0, Wrap16(40000), 1}, {5, Wrap16(40001), 1}}));
    EXPECT_EQ(Wrap16(40000), -25536);
}

TEST(LongTextTest, SkippedBracketsAcrossBoundaryAreNotCounted)
{
    std::string text;
    std::vector<Token> expected;
    for (int i = 0; text.size() < 20000; ++i) {
        text += "[b" + std::to_string(i) + "]";
        expected.push_back({22, 0, static_cast<int>(std::to_string(i).size()) + 1});
    }
    long long position = 0;
    for (Token& token : expected) {
        token.position = Wrap16(position);
        position += token.length;
    }
    EXPECT_EQ(Tokenize(text), expected);
}

}  // namespace
