// One alert as read from the reference file: a plain fixed-size record whose
// texts are NUL-terminated bytes of the ANSI code page (GB2312).
#pragma once

#include <cstdint>

struct ReferRecord {
    int32_t nID;        // c0: identifier reported back on a click
    char sTime[32];     // c1: the alert's time, as text
    char sText[128];    // c2: the message
    char sExtra[256];   // c4: kept with the record, neither shown nor sent
    int16_t nLevel;     // c3: importance, the number of diamonds drawn
};
