// Every byte value other than zero, alone and after a name, scans by the
// character class the rules give it.
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

bool IsBlank(unsigned char b)
{
    return b == ' ' || b == '\n' || b == '\r';
}

bool IsRunCharacter(unsigned char b)
{
    return (b >= 0x21 && b <= 0x27) || b == '.' || b == '?' || b == '@' || b == '^' || b == '`' || b == '|' || b == '~';
}

bool IsNameStart(unsigned char b)
{
    return (b >= 0x01 && b <= 0x09) || (b >= 0x0B && b <= 0x1F) || (b >= 'A' && b <= 'Z') || b == '\\' || b == '_' ||
           (b >= 'a' && b <= 'z') || b >= 0x7F;
}

bool IsNameByte(unsigned char b)
{
    return IsNameStart(b) || (b >= '0' && b <= '9') || b == '.' || b == '?';
}

// The code of the one token that a text of the single byte b gives.
int SingleByteCode(unsigned char b)
{
    static const char kOperators[] = "+-*/<=>:(),{};";
    static const int kOperatorCodes[] = {0, 1, 2, 3, 8, 10, 12, 14, 16, 17, 18, 19, 20, 21};
    if (const char* found = std::strchr(kOperators, b)) {
        return kOperatorCodes[found - kOperators];
    }
    if (b >= '0' && b <= '9') {
        return 5;
    }
    // Carriage return is both a blank and a name start; the earlier rule wins.
    if (IsBlank(b) || IsRunCharacter(b)) {
        return 24;
    }
    return 22;
}

TEST(ByteClassesTest, EachByteAloneGivesTheTokenOfItsClass)
{
    for (int value = 1; value <= 0xFF; ++value) {
        const auto b = static_cast<unsigned char>(value);
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << value);
        const std::vector<Token> tokens = Tokenize(std::string(1, static_cast<char>(b)));
        if (b == '[' || b == ']') {
            EXPECT_TRUE(tokens.empty());
        } else {
            EXPECT_EQ(tokens, (std::vector<Token>{{SingleByteCode(b), 0, 1}}));
        }
    }
}

TEST(ByteClassesTest, NameBytesContinueANameAndOthersEndIt)
{
    for (int value = 1; value <= 0xFF; ++value) {
        const auto b = static_cast<unsigned char>(value);
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << value);
        const std::vector<Token> tokens = Tokenize(std::string("n") + static_cast<char>(b));
        ASSERT_FALSE(tokens.empty());
        if (IsNameByte(b)) {
            EXPECT_EQ(tokens, (std::vector<Token>{{22, 0, 2}}));
        } else if (b == '(') {
            EXPECT_EQ(tokens, (std::vector<Token>{{4, 0, 1}, {16, 1, 1}}));
        } else {
            EXPECT_EQ(tokens.front(), (Token{22, 0, 1}));
        }
    }
}

TEST(ByteClassesTest, HighBytesStartNamesAndFunctions)
{
    for (int value = 0x80; value <= 0xFF; ++value) {
        SCOPED_TRACE(testing::Message() << "byte 0x" << std::hex << value);
        const char b = static_cast<char>(value);
        EXPECT_EQ(Tokenize(std::string{b, '.', '9', '?', b, '('}), (std::vector<Token>{{4, 0, 5}, {16, 5, 1}}));
    }
}

}  // namespace
