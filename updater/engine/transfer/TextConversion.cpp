#include "transfer/TextConversion.h"

#include "transfer/IconvConverter.h"

#include <cstring>

int Gb2312ToUtf8(const char* in, size_t inLength, char* out, size_t outSize) {
    if (out == nullptr) return -1;
    std::memset(out, 0, outSize);
    IconvConverter converter("utf-8", "gb2312");
    if (!converter.IsOpen()) return -1;
    char* inCursor = const_cast<char*>(in);
    size_t inLeft = in == nullptr ? 0 : inLength;
    char* outCursor = out;
    size_t outLeft = outSize;
    size_t result = iconv(converter.Handle(), &inCursor, &inLeft, &outCursor, &outLeft);
    return result == static_cast<size_t>(-1) ? -1 : 0;
}
