#include "TextRules.h"

namespace {

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

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
        trail = !trail && IsLeadByte(a);
        ++i;
    }
    if (left.size() == right.size()) return 0;
    return left.size() < right.size() ? -1 : 1;
}

bool EqualsIgnoreCase(const std::string& left, const std::string& right) {
    return CompareIgnoreCase(left, right) == 0;
}

bool HasControlCharacter(const std::string& text) {
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return true;
    }
    return false;
}

std::string Extension(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string NameWithoutExtension(const std::string& path) {
    size_t dot = path.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::vector<std::string> FolderPrefixesAnySeparator(const std::string& path) {
    std::vector<std::string> folders;
    for (size_t i = 0; i < path.size(); ++i) {
        if ((path[i] == '/' || path[i] == '\\') && i > 0) folders.push_back(path.substr(0, i));
    }
    return folders;
}

std::vector<std::string> FolderPrefixesBackslash(const std::string& path) {
    std::string withSeparator = path;
    if (withSeparator.empty() || withSeparator.back() != '\\') withSeparator += '\\';
    std::vector<std::string> folders;
    for (size_t i = 0; i < withSeparator.size(); ++i) {
        if (withSeparator[i] == '\\' && i > 0) folders.push_back(withSeparator.substr(0, i));
    }
    return folders;
}
