// lexora-tokens: prints the tokens of a formula file (or of standard input)
// one per line: code, name, position, length and the matched bytes.
//
// The text ends at its first zero byte, as it does for the library's
// callers. Skipped brackets sit between tokens, so the matched bytes are
// found by walking the text by the token lengths and stepping over them.
#include <Lexora.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* TokenName(int code)
{
    static const char* const kNames[] = {
        "TK_PLUS",  "TK_MINUS",  "TK_TIMES",     "TK_DIVIDE",        "TK_FUNCTION", "TK_NUMBER", "TK_AND",
        "TK_OR",    "TK_LESS",   "TK_LESS_EQUAL", "TK_EQUAL",        "TK_NOT_EQUAL", "TK_GREATER",
        "TK_GREATER_EQUAL", "TK_COLON", "TK_ASSIGN", "TK_LPAREN", "TK_RPAREN", "TK_COMMA", "TK_LBRACE",
        "TK_RBRACE", "TK_SEMICOLON", "TK_IDENTIFIER", "?", "TK_OTHER"};
    if (code < 0 || code >= static_cast<int>(std::size(kNames))) {
        return "?";
    }
    return kNames[code];
}

struct Token {
    int code;
    int16_t position;
    int16_t length;
};

class CollectingSink : public TokenSink {
public:
    bool OnToken(TokenCode code, int16_t position, int16_t length) override
    {
        tokens.push_back({code, position, length});
        return true;
    }

    std::vector<Token> tokens;
};

// Control bytes, quotes and backslashes escaped; other bytes (GB2312 text
// included) as they are.
std::string Quoted(const std::string& bytes)
{
    std::string out = "\"";
    for (unsigned char c : bytes) {
        switch (c) {
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

bool ReadAll(std::istream& in, std::string& text)
{
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 2) {
        std::cerr << "usage: lexora-tokens [file]\n";
        return 2;
    }
    std::string text;
    if (argc == 2) {
        std::ifstream file(argv[1], std::ios::binary);
        if (!file || !ReadAll(file, text)) {
            std::cerr << "lexora-tokens: cannot read " << argv[1] << ": " << std::strerror(errno) << "\n";
            return 1;
        }
    } else if (!ReadAll(std::cin, text)) {
        std::cerr << "lexora-tokens: cannot read standard input\n";
        return 1;
    }
    text.resize(std::strlen(text.c_str()));

    CollectingSink sink;
    LexicalAnalysis(text.c_str(), &sink);

    std::size_t offset = 0;
    for (const Token& token : sink.tokens) {
        while (offset < text.size() && (text[offset] == '[' || text[offset] == ']')) {
            ++offset;
        }
        // Lengths travel as 16-bit values; read them back as unsigned.
        const std::size_t length = static_cast<uint16_t>(token.length);
        const std::string bytes = text.substr(offset, length);
        offset += length;
        std::cout << token.code << '\t' << TokenName(token.code) << '\t' << token.position << '\t' << token.length
                  << '\t' << Quoted(bytes) << '\n';
    }
    return std::cout.good() ? 0 : 1;
}
