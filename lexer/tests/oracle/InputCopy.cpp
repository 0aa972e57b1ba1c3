#include "InputCopy.h"

#include <algorithm>
#include <cstring>

void InputCopy::Replace(const char* text)
{
    // The old copy stays whole until the new one is made.
    const std::size_t length = std::strlen(text);
    bytes_.assign(text, text + length + 1);
    length_ = length;
    readPosition_ = 0;
}

std::size_t InputCopy::Take(char* destination, std::size_t capacity)
{
    const std::size_t count = std::min({capacity, kMaxPiece, length_ - readPosition_});
    if (count == 0) {
        return 0;
    }
    std::memcpy(destination, bytes_.data() + readPosition_, count);
    readPosition_ += count;
    return count;
}
