// Texts of the system are GB2312 bytes at run time; the sources keep them in
// UTF-8. Gb() converts one for comparing with window texts or writing logs.
#pragma once

#include <windows.h>

#include <string>

inline std::string Gb(const char* utf8) {
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (wideLength <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], wideLength);
    int length = WideCharToMultiByte(936, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(936, 0, wide.c_str(), -1, &text[0], length, nullptr, nullptr);
    text.resize(static_cast<size_t>(length - 1));
    return text;
}
