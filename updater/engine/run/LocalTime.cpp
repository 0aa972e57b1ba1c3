#include "run/LocalTime.h"

#include <windows.h>

#include "run/Clock.h"

int Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DateNumber(now.wYear, now.wMonth, now.wDay);
}

int Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return TimeNumber(now.wHour, now.wMinute, now.wSecond);
}
