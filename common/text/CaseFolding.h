// Comparison of GB2312 byte strings that ignores the case of ASCII letters.
// The trail byte of a double-byte character is never case-folded: B0 41 and
// B0 61 are two different characters.
#pragma once

#include <string>

// <0, 0 or >0, as the bytes (after folding) order the texts.
int CompareIgnoreCase(const std::string& left, const std::string& right);
bool EqualsIgnoreCase(const std::string& left, const std::string& right);

// The order of CompareIgnoreCase, for sets and maps of names.
struct LessIgnoringCase {
    bool operator()(const std::string& left, const std::string& right) const {
        return CompareIgnoreCase(left, right) < 0;
    }
};
