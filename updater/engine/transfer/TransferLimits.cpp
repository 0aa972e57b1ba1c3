#include "transfer/TransferLimits.h"

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

namespace {

// Decimal digits at `pos` up to a non-digit; false when there are none or
// the value does not fit 64 bits.
bool ReadNumber(const std::string& text, size_t* pos, uint64_t* value) {
    const uint64_t kMax = std::numeric_limits<uint64_t>::max();
    size_t start = *pos;
    uint64_t result = 0;
    for (; *pos < text.size() && text[*pos] >= '0' && text[*pos] <= '9'; ++*pos) {
        uint64_t digit = static_cast<uint64_t>(text[*pos] - '0');
        if (result > (kMax - digit) / 10) return false;
        result = result * 10 + digit;
    }
    *value = result;
    return *pos != start;
}

}  // namespace

bool ParseContentRange(const std::string& text, ContentRange* range) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    const std::string unit = "bytes ";
    if (text.compare(pos, unit.size(), unit) != 0) return false;
    pos += unit.size();
    while (pos < text.size() && text[pos] == ' ') ++pos;
    ContentRange parsed;
    if (!ReadNumber(text, &pos, &parsed.first)) return false;
    if (pos >= text.size() || text[pos++] != '-') return false;
    if (!ReadNumber(text, &pos, &parsed.last)) return false;
    if (pos >= text.size() || text[pos++] != '/') return false;
    if (!ReadNumber(text, &pos, &parsed.total)) return false;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos != text.size() || parsed.last < parsed.first || parsed.last >= parsed.total) return false;
    *range = parsed;
    return true;
}

bool ParseUnsatisfiedRange(const std::string& text, uint64_t* total) {
    size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    const std::string prefix = "bytes */";
    if (text.compare(pos, prefix.size(), prefix) != 0) return false;
    pos += prefix.size();
    uint64_t parsed = 0;
    if (!ReadNumber(text, &pos, &parsed)) return false;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos != text.size()) return false;
    *total = parsed;
    return true;
}

bool RangeContinues(const ContentRange& range, uint64_t offset, bool hasContentLength, uint64_t contentLength) {
    if (range.first != offset || range.last + 1 != range.total) return false;
    return !hasContentLength || contentLength == range.last - range.first + 1;
}
