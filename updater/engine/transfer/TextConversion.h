// GB2312 to UTF-8 conversion through the iconv interface, for request paths.
#pragma once

#include <cstddef>

// Zero-fills all of `out`, then converts as much of `in` as fits. Returns 0,
// or -1 when no converter can be opened or the conversion stops on an error
// (including a full output buffer); what was converted before stays in `out`.
int Gb2312ToUtf8(const char* in, size_t inLength, char* out, size_t outSize);
