#include "DeclaredEncoding.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <climits>

namespace xml {

namespace {

const unsigned kChineseCodePage = 936;

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsChineseEncodingName(const std::string& name) {
    std::string lower = Lowercase(name);
    return lower == "gb2312" || lower == "gbk" || lower == "gb18030" || lower == "x-gbk" || lower == "cp936" ||
           lower == "windows-936";
}

}  // namespace

DeclaredEncoding FindDeclaredEncoding(const std::string& bytes) {
    DeclaredEncoding result;
    size_t start = 0;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return result;  // a UTF-8 mark decides
    if (bytes.compare(start, 5, "<?xml") != 0) return result;
    size_t close = bytes.find("?>", start);
    if (close == std::string::npos) return result;
    size_t key = bytes.find("encoding", start);
    if (key == std::string::npos || key > close) return result;

    size_t pos = key + 8;
    while (pos < close && IsXmlSpace(bytes[pos])) ++pos;
    if (pos >= close || bytes[pos] != '=') return result;
    ++pos;
    while (pos < close && IsXmlSpace(bytes[pos])) ++pos;
    if (pos >= close || (bytes[pos] != '"' && bytes[pos] != '\'')) return result;
    char quote = bytes[pos];
    size_t valueBegin = pos + 1;
    size_t valueEnd = bytes.find(quote, valueBegin);
    if (valueEnd == std::string::npos || valueEnd > close) return result;

    if (!IsChineseEncodingName(bytes.substr(valueBegin, valueEnd - valueBegin))) return result;
    result.decodable = true;
    result.codePage = kChineseCodePage;
    result.attributeBegin = key;
    while (result.attributeBegin > 0 && IsXmlSpace(bytes[result.attributeBegin - 1]))
        --result.attributeBegin;
    result.attributeEnd = valueEnd + 1;
    return result;
}

bool DecodeWithCodePage(const std::string& bytes, const DeclaredEncoding& declared, std::wstring* text) {
    if (!declared.decodable) return false;
    std::string encoded = bytes;
    if (declared.attributeEnd > declared.attributeBegin && declared.attributeEnd <= encoded.size())
        encoded.erase(declared.attributeBegin, declared.attributeEnd - declared.attributeBegin);
    if (encoded.empty() || encoded.size() > static_cast<size_t>(INT_MAX)) return false;
    int length = static_cast<int>(encoded.size());
    int size = MultiByteToWideChar(declared.codePage, MB_ERR_INVALID_CHARS, encoded.data(), length, nullptr, 0);
    if (size <= 0) return false;
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (MultiByteToWideChar(declared.codePage, MB_ERR_INVALID_CHARS, encoded.data(), length, &wide[0], size) != size)
        return false;
    text->swap(wide);
    return true;
}

}  // namespace xml
