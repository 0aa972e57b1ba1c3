// Conversions between the document model's wide strings and the ANSI code
// page byte strings (GB2312 on the client's machines) used everywhere else.
#pragma once

#include <string>

namespace xml {

std::string WideToAnsi(const wchar_t* text, size_t length);
std::wstring AnsiToWide(const char* text);

}  // namespace xml
