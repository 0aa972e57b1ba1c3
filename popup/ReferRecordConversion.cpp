#include "ReferRecordConversion.h"

#include <cstring>
#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A lead byte of a two-byte character in the Chinese code page.
bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

int32_t LeadingInteger(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                   : std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > limit) {
            value = limit;
            break;
        }
    }
    return static_cast<int32_t>(negative ? -value : value);
}

void CopyTextField(char* field, size_t size, const std::string& text) {
    if (size == 0) return;
    const size_t room = size - 1;
    size_t length = 0;
    while (length < text.size()) {
        size_t next = length + 1;
        if (IsLeadByte(static_cast<unsigned char>(text[length])) && next < text.size()) ++next;
        if (next > room) break;
        length = next;
    }
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
}

ReferRecord MakeReferRecord(const ReferAttributes& attributes) {
    ReferRecord record;
    std::memset(&record, 0, sizeof record);
    record.nID = LeadingInteger(attributes.c0);
    CopyTextField(record.sTime, sizeof record.sTime, attributes.c1);
    CopyTextField(record.sText, sizeof record.sText, attributes.c2);
    CopyTextField(record.sExtra, sizeof record.sExtra, attributes.c4);
    // The level keeps the low 16 bits of the number, as a signed value.
    record.nLevel = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(LeadingInteger(attributes.c3))));
    return record;
}
