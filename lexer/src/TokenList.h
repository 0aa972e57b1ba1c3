// The tokens of one call in scanning order. Every reported token takes at
// least one byte of the text, so a list sized by the text's length always
// has room: it is allocated once, uninitialised, and never grows.
#ifndef LEXORA_TOKEN_LIST_H
#define LEXORA_TOKEN_LIST_H

#include "TokenRecord.h"

#include <cstddef>
#include <memory>

class TokenList {
public:
    explicit TokenList(std::size_t capacity)
        : records_(capacity > 0 ? new TokenRecord[capacity] : nullptr), capacity_(capacity)
    {
    }

    const TokenRecord* begin() const { return records_.get(); }
    const TokenRecord* end() const { return records_.get() + size_; }
    std::size_t size() const { return size_; }

private:
    friend class TokenCollector;

    std::unique_ptr<TokenRecord[]> records_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};

#endif
