// Records the tokens the scanner matches, with their positions: the
// position of a token is the sum of the lengths of the tokens reported
// before it in the same call.
#ifndef LEXORA_TOKEN_COLLECTOR_H
#define LEXORA_TOKEN_COLLECTOR_H

#include "TokenRecord.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class TokenCollector {
public:
    TokenCollector() = default;
    // Room for the tokens a text of textLength bytes is likely to give
    // (formulas average some three bytes a token), so that the list seldom
    // has to grow while the scanner reports.
    explicit TokenCollector(std::size_t textLength) { tokens_.reserve(textLength / 3 + 8); }

    void Report(int32_t code, std::size_t length)
    {
        position_ += previousLength_;
        previousLength_ = static_cast<uint32_t>(length);
        // Field by field into the list: a record assembled elsewhere and
        // copied in as a whole would be read back before its parts are
        // stored, which stalls the processor on every token.
        TokenRecord& record = tokens_.emplace_back();
        record.code = code;
        record.position = WrapTo16(position_);
        record.length = WrapTo16(previousLength_);
    }

    const std::vector<TokenRecord>& Tokens() const { return tokens_; }
    std::vector<TokenRecord> TakeTokens() { return std::move(tokens_); }

private:
    // Positions and lengths travel as 16-bit signed fields; larger values wrap.
    static int16_t WrapTo16(uint32_t value)
    {
        return static_cast<int16_t>(static_cast<uint16_t>(value));
    }

    uint32_t position_ = 0;
    uint32_t previousLength_ = 0;
    std::vector<TokenRecord> tokens_;
};

#endif
