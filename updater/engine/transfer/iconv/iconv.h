// The iconv interface for the Windows build, over the system's code-page
// conversion (no GNU libiconv exists for this target). Knows the code sets the
// updater uses: "gb2312" (also "gbk", "cp936") and "utf-8".
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* iconv_t;

// (iconv_t)-1 with errno EINVAL when a code set is unknown.
iconv_t iconv_open(const char* toCode, const char* fromCode);
// Converts whole characters while they fit; (size_t)-1 with errno E2BIG (output
// full), EILSEQ (invalid input) or EINVAL (input ends inside a character).
size_t iconv(iconv_t cd, char** inBuffer, size_t* inLeft, char** outBuffer, size_t* outLeft);
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif
