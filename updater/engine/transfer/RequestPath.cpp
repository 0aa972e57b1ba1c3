#include "transfer/RequestPath.h"

#include "transfer/TextConversion.h"

#include <cstdio>

std::string EscapeRequestPath(const std::string& objectPath) {
    size_t slash = objectPath.rfind('/');
    if (slash == std::string::npos) return objectPath;
    std::string head = objectPath.substr(0, slash + 1);
    std::string tail = objectPath.substr(slash + 1);

    // A failed or cut conversion still leaves what it produced in the buffer.
    char converted[256] = {};
    Gb2312ToUtf8(tail.data(), tail.size(), converted, sizeof converted - 1);

    std::string escaped = head;
    for (const char* cursor = converted; *cursor != '\0'; ++cursor) {
        unsigned char byte = static_cast<unsigned char>(*cursor);
        if (byte > 0x7F) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%x", byte);
            escaped += hex;
        } else {
            escaped += *cursor;
        }
    }
    return escaped;
}
