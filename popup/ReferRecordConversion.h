// Turning the attribute texts of one reference-file row into a ReferRecord.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "LeadingInteger.h"
#include "ReferRecord.h"

// The row's attributes c0 to c4 as ANSI texts; a missing attribute is empty.
struct ReferAttributes {
    std::string c0, c1, c2, c3, c4;
};

// Copies text into a fixed field of `size` bytes, always NUL-terminated. A
// text too long is cut at a character boundary: a double-byte GB2312/GBK
// character is never split.
void CopyTextField(char* field, size_t size, const std::string& text);

ReferRecord MakeReferRecord(const ReferAttributes& attributes);
