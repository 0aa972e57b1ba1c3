#include "TextConversion.h"

#include <iconv.h>

#include <cstring>

namespace {

// Owns one open converter and closes it whatever the conversion's outcome.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (IsOpen()) iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return handle_; }

private:
    iconv_t handle_;
};

}  // namespace

int Gb2312ToUtf8(const char* in, size_t inLength, char* out, size_t outSize) {
    if (out == nullptr) return -1;
    std::memset(out, 0, outSize);
    Converter converter("utf-8", "gb2312");
    if (!converter.IsOpen()) return -1;
    char* inCursor = const_cast<char*>(in);
    size_t inLeft = in == nullptr ? 0 : inLength;
    char* outCursor = out;
    size_t outLeft = outSize;
    size_t result = iconv(converter.Handle(), &inCursor, &inLeft, &outCursor, &outLeft);
    return result == static_cast<size_t>(-1) ? -1 : 0;
}
