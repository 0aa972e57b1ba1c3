// A sink of this compiler that keeps every token it is given, and the
// helper that runs the library's export on a text.
#ifndef LEXORA_TESTS_RECORDING_SINK_H
#define LEXORA_TESTS_RECORDING_SINK_H

#include <Lexora.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct Token {
    int code;
    int position;
    int length;

    bool operator==(const Token& other) const
    {
        return code == other.code && position == other.position && length == other.length;
    }
};

inline std::ostream& operator<<(std::ostream& out, const Token& token)
{
    return out << "(" << token.code << ", " << token.position << ", " << token.length << ")";
}

class RecordingSink : public TokenSink {
public:
    bool OnToken(TokenCode code, int16_t position, int16_t length) override
    {
        tokens.push_back({code, position, length});
        return true;
    }

    std::vector<Token> tokens;
};

// Runs the export on text; the export's result must always be false.
inline std::vector<Token> Tokenize(const std::string& text)
{
    RecordingSink sink;
    EXPECT_FALSE(LexicalAnalysis(text.c_str(), &sink));
    return sink.tokens;
}

// Wraps a position or length the way the 16-bit fields of the export do.
inline int Wrap16(long long value)
{
    return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}

#endif
