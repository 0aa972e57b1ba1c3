#include "Gb2312Text.h"

#include "transfer/TextConversion.h"

#include "transfer/IconvConverter.h"

#include <vector>

std::optional<std::string> Utf8ToGb2312(const std::string& utf8) {
    IconvConverter converter("GB2312", "UTF-8");
    if (!converter.IsOpen()) return std::nullopt;
    // No character grows from UTF-8 to GB2312.
    std::vector<char> out(utf8.size() + 1);
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* cursor = out.data();
    size_t outLeft = out.size();
    if (iconv(converter.Handle(), &in, &inLeft, &cursor, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
        return std::nullopt;
    }
    std::string gb2312(out.data(), cursor);

    // Each GB2312 byte becomes at most two UTF-8 bytes; one more keeps the
    // updater's routine from reporting a full buffer.
    std::vector<char> back(2 * gb2312.size() + 2);
    if (Gb2312ToUtf8(gb2312.data(), gb2312.size(), back.data(), back.size()) != 0 ||
        std::string(back.data()) != utf8) {
        return std::nullopt;
    }
    return gb2312;
}
