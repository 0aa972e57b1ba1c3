#include "HexText.h"

std::string HexText(const void* bytes, std::size_t size, HexLetters letters) {
    const char* digits = letters == HexLetters::kUpper ? "0123456789ABCDEF" : "0123456789abcdef";
    const unsigned char* byte = static_cast<const unsigned char*>(bytes);
    std::string text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text += digits[byte[i] >> 4];
        text += digits[byte[i] & 0x0F];
    }
    return text;
}

bool IsHexText(const std::string& text, std::size_t length) {
    if (text.size() != length) return false;
    for (char c : text) {
        const bool digit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!digit) return false;
    }
    return true;
}
