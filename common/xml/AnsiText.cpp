#include "AnsiText.h"

#include <windows.h>

namespace xml {

std::string WideToAnsi(const wchar_t* text, size_t length) {
    if (!text || length == 0) return std::string();
    int wideLength = static_cast<int>(length);
    int size = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, wideLength, &result[0], size, nullptr, nullptr);
    return result;
}

std::wstring AnsiToWide(const char* text) {
    if (!text || !*text) return std::wstring();
    int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (size <= 1) return std::wstring();
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &result[0], size);
    result.resize(static_cast<size_t>(size - 1));  // drop the terminator
    return result;
}

}  // namespace xml
