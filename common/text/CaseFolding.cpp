#include "CaseFolding.h"

#include "Gb2312LeadByte.h"

namespace {

unsigned char FoldAscii(unsigned char byte) { return byte >= 'a' && byte <= 'z' ? byte - 'a' + 'A' : byte; }

}  // namespace

int CompareIgnoreCase(const std::string& left, const std::string& right) {
    size_t i = 0;
    bool trail = false;  // the previous byte opened a double-byte character
    while (i < left.size() && i < right.size()) {
        unsigned char a = static_cast<unsigned char>(left[i]);
        unsigned char b = static_cast<unsigned char>(right[i]);
        if (!trail) {
            a = FoldAscii(a);
            b = FoldAscii(b);
        }
        if (a != b) return a < b ? -1 : 1;
        trail = !trail && IsGb2312LeadByte(a);
        ++i;
    }
    if (left.size() == right.size()) return 0;
    return left.size() < right.size() ? -1 : 1;
}

bool EqualsIgnoreCase(const std::string& left, const std::string& right) {
    return CompareIgnoreCase(left, right) == 0;
}
