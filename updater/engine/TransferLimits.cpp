#include "TransferLimits.h"

#include <limits>

uint64_t BodyCeiling(bool hasContentLength, uint64_t contentLength, int64_t manifestLength) {
    if (hasContentLength) return contentLength;
    if (manifestLength > 0) return static_cast<uint64_t>(manifestLength);
    return kUnannouncedBodyCeiling;
}

bool ParseContentLength(const std::string& text, uint64_t* length) {
    const uint64_t kMax = std::numeric_limits<uint64_t>::max();
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    size_t firstDigit = pos;
    uint64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        uint64_t digit = static_cast<uint64_t>(text[pos] - '0');
        if (value > (kMax - digit) / 10) return false;
        value = value * 10 + digit;
    }
    if (pos == firstDigit) return false;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos != text.size()) return false;
    *length = value;
    return true;
}

bool BodyIsComplete(bool hasContentLength, uint64_t contentLength, uint64_t received) {
    return !hasContentLength || received == contentLength;
}
