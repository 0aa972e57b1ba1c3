// The formula lexer on any text a user can type or paste.
//
// Rules checked: the hand-written scanner the library uses gives exactly the
// token stream of the table-driven scanner flex generates from the rules;
// the export delivers that stream to the sink unchanged; every token takes
// at least one byte and a valid code; positions are the running sum of the
// lengths (as 16-bit values); the tokens never cover more than the text.
#include "FuzzCheck.h"

#include <Lexora.h>

#include "FormulaScanner.h"
#include "OracleTokens.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class RecordingSink : public TokenSink {
public:
    bool OnToken(TokenCode code, int16_t position, int16_t length) override {
        tokens.push_back(TokenRecord{code, position, length});
        return true;
    }
    std::vector<TokenRecord> tokens;
};

bool SameTokens(const TokenList& a, const std::vector<TokenRecord>& b) {
    if (a.size() != b.size()) return false;
    std::size_t i = 0;
    for (const TokenRecord& token : a) {
        if (token.code != b[i].code || token.position != b[i].position || token.length != b[i].length) return false;
        ++i;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // The library takes a zero-terminated text: it ends at the first zero.
    const std::string input(InputText(data, size));
    const char* text = input.c_str();

    const TokenList actual = ScanFormula(text, std::strlen(text));
    FUZZ_CHECK(SameTokens(actual, OracleTokens(text)));

    RecordingSink sink;
    FUZZ_CHECK(!LexicalAnalysis(text, &sink));
    FUZZ_CHECK(SameTokens(actual, sink.tokens));

    uint16_t position = 0;
    std::size_t covered = 0;
    for (const TokenRecord& token : sink.tokens) {
        FUZZ_CHECK(token.code >= TK_PLUS && token.code <= TK_OTHER && token.code != 23);
        FUZZ_CHECK(static_cast<uint16_t>(token.position) == position);
        const uint16_t length = static_cast<uint16_t>(token.length);
        FUZZ_CHECK(length >= 1);
        position = static_cast<uint16_t>(position + length);
        covered += length;
    }
    FUZZ_CHECK(covered <= std::strlen(text));
    return 0;
}
