#include "UrlPath.h"

#include "PublishError.h"
#include "transfer/TextConversion.h"
#include "CaseFolding.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool IsAsciiAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

bool IsKeptInSegment(char c) { return IsAsciiAlnum(c) || std::strchr("-._~!$&'()*+,;=@", c) != nullptr; }

size_t SchemeLength(const std::string& url) {
    for (const char* scheme : {"http://", "https://"}) {
        const size_t length = std::strlen(scheme);
        if (url.size() >= length && EqualsIgnoreCase(url.substr(0, length), scheme)) return length;
    }
    return 0;
}

bool IsHostAndPort(const std::string& authority) {
    const size_t colon = authority.rfind(':');
    const bool bracketed = !authority.empty() && authority[0] == '[';
    const bool hasPort = colon != std::string::npos && (!bracketed || authority[colon - 1] == ']');
    const std::string host = hasPort ? authority.substr(0, colon) : authority;
    if (host.empty()) return false;
    for (char c : host) {
        if (!IsAsciiAlnum(c) && std::strchr(bracketed ? "-.:[]" : "-.", c) == nullptr) return false;
    }
    if (!hasPort) return true;
    const std::string port = authority.substr(colon + 1);
    if (port.empty() || port.size() > 5) return false;
    for (char c : port) {
        if (c < '0' || c > '9') return false;
    }
    const long number = std::stol(port);
    return number >= 1 && number <= 65535;
}

}  // namespace

std::string CheckedBaseUrl(const std::string& url) {
    auto refuse = [&url](const std::string& why) {
        return PublishError("base URL \"" + url + "\": " + why);
    };
    const size_t schemeLength = SchemeLength(url);
    if (schemeLength == 0) throw refuse("must start with http:// or https://");
    for (char c : url) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F || std::strchr("\"<>\\^`{|}", c) != nullptr) {
            throw refuse("only printable ASCII without blanks, quotes, angle brackets, braces or backslashes");
        }
        if (c == '?' || c == '#') throw refuse("no query or fragment: file paths are appended to it");
    }
    const size_t pathStart = url.find('/', schemeLength);
    const std::string authority = url.substr(schemeLength, pathStart == std::string::npos ? std::string::npos
                                                                                           : pathStart - schemeLength);
    if (!IsHostAndPort(authority)) throw refuse("no valid host (and port) after the scheme");
    std::string base = url;
    while (base.size() > schemeLength + authority.size() && base.back() == '/') base.pop_back();
    return base;
}

std::string EscapeUrlSegment(const std::string& gb2312Name) {
    // At most three UTF-8 bytes come of a two-byte character; one more for
    // the routine's terminator.
    std::vector<char> utf8(2 * gb2312Name.size() + 2);
    Gb2312ToUtf8(gb2312Name.data(), gb2312Name.size(), utf8.data(), utf8.size());
    std::string escaped;
    for (const char* cursor = utf8.data(); *cursor != '\0'; ++cursor) {
        if (IsKeptInSegment(*cursor)) {
            escaped += *cursor;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02x", static_cast<unsigned char>(*cursor));
            escaped += hex;
        }
    }
    return escaped;
}
