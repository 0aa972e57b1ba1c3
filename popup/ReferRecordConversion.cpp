#include "ReferRecordConversion.h"

#include <cstring>

#include "Gb2312LeadByte.h"

void CopyTextField(char* field, size_t size, const std::string& text) {
    if (size == 0) return;
    const size_t room = size - 1;
    size_t length = 0;
    while (length < text.size()) {
        size_t next = length + 1;
        if (IsGb2312LeadByte(static_cast<unsigned char>(text[length])) && next < text.size()) ++next;
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
