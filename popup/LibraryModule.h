// The module of this library: the source of every bitmap, icon and cursor the
// window loads, whichever module called into the library.
#pragma once

#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

inline HINSTANCE LibraryModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }
