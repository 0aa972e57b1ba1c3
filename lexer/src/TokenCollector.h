// Records the tokens the scanner matches, with their positions: the
// position of a token is the sum of the lengths of the tokens reported
// before it in the same call.
#ifndef LEXORA_TOKEN_COLLECTOR_H
#define LEXORA_TOKEN_COLLECTOR_H

#include "TokenList.h"
#include "TokenRecord.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

// The running state of a collection: where the next record goes, the
// position counter and the previous length. A scanner may take it into a
// local variable for the length of its scan, where the compiler can keep
// it in registers, and hand it back at the end.
class TokenAppender {
public:
    TokenAppender(TokenRecord* next, TokenRecord* end) : next_(next), end_(end) {}

    void Report(int32_t code, std::size_t length)
    {
        // The list has room for one token per byte of the text; more would
        // be a fault of the scanner, never of the text.
        if (next_ == end_) {
            throw std::length_error("more tokens than bytes of text");
        }
        position_ += previousLength_;
        previousLength_ = static_cast<uint32_t>(length);
        next_->code = code;
        next_->position = WrapTo16(position_);
        next_->length = WrapTo16(previousLength_);
        ++next_;
    }

    TokenRecord* Next() const { return next_; }

private:
    // Positions and lengths travel as 16-bit signed fields; larger values wrap.
    static int16_t WrapTo16(uint32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }

    TokenRecord* next_;
    TokenRecord* end_;
    uint32_t position_ = 0;
    uint32_t previousLength_ = 0;
};

class TokenCollector {
public:
    // Room for the tokens of a text of textLength bytes.
    explicit TokenCollector(std::size_t textLength)
        : tokens_(textLength), appender_(tokens_.records_.get(), tokens_.records_.get() + tokens_.capacity_)
    {
    }

    void Report(int32_t code, std::size_t length) { appender_.Report(code, length); }

    // For a scanner that reports through a local copy of the state.
    TokenAppender Appender() const { return appender_; }
    void Resume(const TokenAppender& appender) { appender_ = appender; }

    TokenList TakeTokens()
    {
        tokens_.size_ = static_cast<std::size_t>(appender_.Next() - tokens_.records_.get());
        return std::move(tokens_);
    }

private:
    TokenList tokens_;
    TokenAppender appender_;
};

#endif
