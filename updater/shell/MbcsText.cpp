#include "MbcsText.h"

namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

unsigned char FoldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

}  // namespace

bool EqualIgnoreCaseMbcs(const char* a, const char* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    while (*p && *q) {
        if (IsLeadByte(*p) || IsLeadByte(*q)) {
            // A double-byte character matches only byte for byte.
            if (*p != *q) return false;
            ++p, ++q;
            if (*p != *q) return false;
            if (!*p) return true;
            ++p, ++q;
            continue;
        }
        if (FoldAscii(*p) != FoldAscii(*q)) return false;
        ++p, ++q;
    }
    return *p == *q;
}
