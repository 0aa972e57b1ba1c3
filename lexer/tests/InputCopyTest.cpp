// The scanner's source of bytes: pieces of at most 8192 bytes, each
// continuing where the previous one ended, never the terminating zero.
#include "InputCopy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string PatternText(std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        text += static_cast<char>('a' + i % 23);
    }
    return text;
}

TEST(InputCopyTest, PiecesAreBoundedAndContinueWithoutGapOrRepeat)
{
    const std::string text = PatternText(20000);
    InputCopy input;
    input.Replace(text.c_str());

    // Requested sizes as the scanner asks for them: larger or smaller than a piece.
    const struct {
        std::size_t capacity;
        std::size_t expected;
    } steps[] = {{16383, 8192}, {100, 100}, {8192, 8192}, {9000, 3516}, {8192, 0}};
    std::vector<char> buffer(16384, '\0');
    std::size_t offset = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.capacity);
        const std::size_t taken = input.Take(buffer.data(), step.capacity);
        ASSERT_EQ(taken, step.expected);
        EXPECT_EQ(std::string(buffer.data(), taken), text.substr(offset, taken));
        offset += taken;
    }
}

TEST(InputCopyTest, ReplaceStartsOverAndStopsAtTheZero)
{
    InputCopy input;
    input.Replace(PatternText(9000).c_str());
    char buffer[64] = {};
    ASSERT_EQ(input.Take(buffer, sizeof buffer), 64u);

    const char text[] = "ab\0cd";
    input.Replace(text);
    EXPECT_EQ(input.Take(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    EXPECT_EQ(input.Take(buffer, sizeof buffer), 0u);

    input.Replace("");
    EXPECT_EQ(input.Take(buffer, sizeof buffer), 0u);
}

}  // namespace
