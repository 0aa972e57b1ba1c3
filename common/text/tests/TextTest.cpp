#include "CaseFolding.h"
#include "ControlCharacter.h"
#include "Gb2312LeadByte.h"
#include "HexText.h"
#include "LeadingInteger.h"

#include <gtest/gtest.h>

namespace {

TEST(HexText, TwoDigitsPerByteInTheLettersAsked) {
    const unsigned char bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
    EXPECT_EQ(HexText(bytes, sizeof bytes, HexLetters::kUpper), "000FA5FF");
    EXPECT_EQ(HexText(bytes, sizeof bytes, HexLetters::kLower), "000fa5ff");
    EXPECT_EQ(HexText(bytes, 2, HexLetters::kUpper), "000F");  // only the bytes counted
    EXPECT_EQ(HexText(nullptr, 0, HexLetters::kUpper), "");
}

TEST(Gb2312LeadByte, TheRangeOfTheCodePagesLeadBytes) {
    const struct {
        unsigned char byte;
        bool lead;
    } cases[] = {{0x7F, false}, {0x80, false}, {0x81, true}, {0xB0, true}, {0xFE, true}, {0xFF, false}, {'A', false}};
    for (const auto& c : cases) EXPECT_EQ(IsGb2312LeadByte(c.byte), c.lead) << int(c.byte);
}

TEST(CaseFolding, CaseInsensitiveComparisonLeavesTrailBytesAlone) {
    EXPECT_EQ(CompareIgnoreCase("abc.DLL", "ABC.dll"), 0);
    EXPECT_LT(CompareIgnoreCase("1.0.0.10", "1.0.0.9"), 0);
    EXPECT_LT(CompareIgnoreCase("", "1"), 0);
    // 0x81 0x61 and 0x81 0x41 are two different double-byte characters.
    EXPECT_NE(CompareIgnoreCase("\x81\x61", "\x81\x41"), 0);

    // "中" is D6 D0. The characters B0 41 and B0 61 have second bytes in the
    // letter range that differ only in what would be letter case.
    EXPECT_TRUE(EqualsIgnoreCase("\xD6\xD0" "Abc", "\xD6\xD0" "aBC"));
    EXPECT_FALSE(EqualsIgnoreCase("\xB0\x41", "\xB0\x61"));
    EXPECT_FALSE(EqualsIgnoreCase("\xD6\xD0", "\xD6"));
    EXPECT_FALSE(EqualsIgnoreCase("abc", "abcd"));
}

TEST(ControlCharacter, BytesBelowBlankAndDelete) {
    EXPECT_TRUE(HasControlCharacter("a\rb"));
    EXPECT_TRUE(HasControlCharacter(std::string("a\0b", 3)));
    EXPECT_TRUE(HasControlCharacter("\x7F"));
    EXPECT_FALSE(HasControlCharacter("a b~"));
    EXPECT_FALSE(HasControlCharacter("\xD6\xD0\xA1\xA1"));
}

TEST(LeadingInteger, ReadsLikeAtoiAndSaturatesBeyond32Bits) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"", 0},           {"42", 42},         {"  -17xyz", -17},      {"\t\n+5", 5},
        {"abc", 0},        {"- 5", 0},         {"1 2", 1},             {"007", 7},
        {"\v\f\r9", 9},
        {"2147483647", 2147483647},            {"2147483648", 2147483647},
        {"-2147483648", -2147483647 - 1},      {"-99999999999999999999", -2147483647 - 1},
        {"99999999999999999999999999999999", 2147483647},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, LeadingInteger(c.text)) << '"' << c.text << '"';
}

}  // namespace
