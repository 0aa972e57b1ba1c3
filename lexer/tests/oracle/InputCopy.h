// The oracle's copy of a text, read by the flex scanner in pieces from a read
// position that only moves forward, as its buffer refills.
#ifndef LEXORA_INPUT_COPY_H
#define LEXORA_INPUT_COPY_H

#include <cstddef>
#include <vector>

class InputCopy {
public:
    // Largest piece handed to the scanner per refill.
    static constexpr std::size_t kMaxPiece = 8192;

    // Replaces the copy with text up to and including its terminating zero.
    // Throws std::bad_alloc when there is no room for it; the previous copy
    // is then kept as it was.
    void Replace(const char* text);

    // Copies the next piece (at most capacity and kMaxPiece bytes, never the
    // terminating zero) into destination and advances past it. Returns the
    // number of bytes copied; 0 at the end of the text.
    std::size_t Take(char* destination, std::size_t capacity);

private:
    std::vector<char> bytes_;
    std::size_t length_ = 0;
    std::size_t readPosition_ = 0;
};

#endif
