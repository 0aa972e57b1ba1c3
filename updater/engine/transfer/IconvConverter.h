// One open iconv converter, closed whatever the conversion's outcome.
#pragma once

#include <iconv.h>

class IconvConverter {
public:
    IconvConverter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~IconvConverter() {
        if (IsOpen()) iconv_close(handle_);
    }
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return handle_; }

private:
    iconv_t handle_;
};
