// The formula scanner: breaks a text into the tokens that the formula rules
// define and collects them, with their positions, in scanning order.
#ifndef LEXORA_FORMULA_SCANNER_H
#define LEXORA_FORMULA_SCANNER_H

#include <cstddef>
#include <cstdint>
#include <memory>

// One token as it is kept until delivery. Position and length travel as
// 16-bit signed fields; larger values wrap.
struct TokenRecord {
    int32_t code;
    int16_t position;
    int16_t length;
};

// The tokens of one text. Every token takes at least one byte of the text,
// so a list sized by the text's length always has room: it is allocated
// once, uninitialised, and never grows.
class TokenList {
public:
    explicit TokenList(std::size_t capacity)
        : records_(capacity > 0 ? new TokenRecord[capacity] : nullptr)
    {
    }

    const TokenRecord* begin() const { return records_.get(); }
    const TokenRecord* end() const { return records_.get() + size_; }
    std::size_t size() const { return size_; }

private:
    friend TokenList ScanFormula(const char* text, std::size_t length);

    std::unique_ptr<TokenRecord[]> records_;
    std::size_t size_ = 0;
};

// Scans the length bytes of text, which a zero byte must follow (no rule
// takes a zero byte, so it ends the scan). The position of a token is the sum
// of the lengths of the tokens before it; skipped brackets count for nothing.
// Throws std::bad_alloc when there is no room for the list.
TokenList ScanFormula(const char* text, std::size_t length);

#endif
