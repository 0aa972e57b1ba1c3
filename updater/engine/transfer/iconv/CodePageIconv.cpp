// iconv over MultiByteToWideChar / WideCharToMultiByte: each input character
// goes to UTF-16 and then to the target code page, one character at a time, so
// a full output buffer stops cleanly on a character boundary as iconv does.
#include "iconv.h"

#include <windows.h>

#include "Gb2312LeadByte.h"

#include <cerrno>
#include <cstring>
#include <new>

namespace {

const UINT kGb2312 = 936;

struct Conversion {
    UINT from;
    UINT to;
};

bool CodePageOf(const char* name, UINT* codePage) {
    if (name == nullptr) return false;
    if (lstrcmpiA(name, "gb2312") == 0 || lstrcmpiA(name, "gbk") == 0 || lstrcmpiA(name, "cp936") == 0) {
        *codePage = kGb2312;
        return true;
    }
    if (lstrcmpiA(name, "utf-8") == 0 || lstrcmpiA(name, "utf8") == 0) {
        *codePage = CP_UTF8;
        return true;
    }
    return false;
}

// Length in bytes of the character starting at `bytes`, in the given code page.
size_t CharacterLength(UINT codePage, const unsigned char* bytes, size_t available) {
    if (codePage == CP_UTF8) {
        if (bytes[0] < 0x80) return 1;
        if ((bytes[0] & 0xE0) == 0xC0) return 2;
        if ((bytes[0] & 0xF0) == 0xE0) return 3;
        if ((bytes[0] & 0xF8) == 0xF0) return 4;
        return 1;
    }
    (void)available;
    return IsGb2312LeadByte(bytes[0]) ? 2 : 1;
}

}  // namespace

extern "C" iconv_t iconv_open(const char* toCode, const char* fromCode) {
    Conversion conversion{};
    if (!CodePageOf(fromCode, &conversion.from) || !CodePageOf(toCode, &conversion.to)) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    Conversion* handle = new (std::nothrow) Conversion(conversion);
    if (handle == nullptr) {
        errno = ENOMEM;
        return reinterpret_cast<iconv_t>(-1);
    }
    return handle;
}

extern "C" size_t iconv(iconv_t cd, char** inBuffer, size_t* inLeft, char** outBuffer, size_t* outLeft) {
    if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
        errno = EBADF;
        return static_cast<size_t>(-1);
    }
    if (inBuffer == nullptr || *inBuffer == nullptr || inLeft == nullptr) return 0;  // no shift state to reset
    const Conversion* conversion = static_cast<const Conversion*>(cd);
    while (*inLeft > 0) {
        const unsigned char* input = reinterpret_cast<const unsigned char*>(*inBuffer);
        size_t length = CharacterLength(conversion->from, input, *inLeft);
        if (length > *inLeft) {
            errno = EINVAL;
            return static_cast<size_t>(-1);
        }
        wchar_t wide[2];
        int wideCount = MultiByteToWideChar(conversion->from, MB_ERR_INVALID_CHARS, *inBuffer,
                                            static_cast<int>(length), wide, 2);
        if (wideCount <= 0) {
            errno = EILSEQ;
            return static_cast<size_t>(-1);
        }
        char encoded[8];
        int encodedCount = WideCharToMultiByte(conversion->to, 0, wide, wideCount, encoded, sizeof encoded,
                                               nullptr, nullptr);
        if (encodedCount <= 0) {
            errno = EILSEQ;
            return static_cast<size_t>(-1);
        }
        if (outBuffer == nullptr || *outBuffer == nullptr || outLeft == nullptr ||
            static_cast<size_t>(encodedCount) > *outLeft) {
            errno = E2BIG;
            return static_cast<size_t>(-1);
        }
        std::memcpy(*outBuffer, encoded, static_cast<size_t>(encodedCount));
        *outBuffer += encodedCount;
        *outLeft -= static_cast<size_t>(encodedCount);
        *inBuffer += length;
        *inLeft -= length;
    }
    return 0;
}

extern "C" int iconv_close(iconv_t cd) {
    if (cd == nullptr || cd == reinterpret_cast<iconv_t>(-1)) {
        errno = EBADF;
        return -1;
    }
    delete static_cast<Conversion*>(cd);
    return 0;
}
