// A WinINet session, connection or request, closed with InternetCloseHandle.
// Users link wininet.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "UniqueResource.h"

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle Empty() { return nullptr; }
    static void Close(Handle handle) { InternetCloseHandle(handle); }
};
using InternetHandle = UniqueResource<InternetHandleTraits>;
