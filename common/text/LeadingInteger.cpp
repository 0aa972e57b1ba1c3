#include "LeadingInteger.h"

#include <limits>

namespace {

bool IsAsciiSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

int32_t LeadingInteger(const std::string& text) {
    const int64_t kMax = std::numeric_limits<int32_t>::max();
    const int64_t kMin = std::numeric_limits<int32_t>::min();
    size_t i = 0;
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kMax + 1) magnitude = kMax + 1;  // saturated; more digits change nothing
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > kMax) value = kMax;
    if (value < kMin) value = kMin;
    return static_cast<int32_t>(value);
}
