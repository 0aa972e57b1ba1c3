// Memory that a system function allocated with LocalAlloc for its caller
// (CryptDecodeObjectEx, CryptBinaryToString and others), freed with LocalFree.
#pragma once

#include <windows.h>

#include "UniqueResource.h"

struct LocalMemoryTraits {
    using Handle = void*;
    static Handle Empty() { return nullptr; }
    static void Close(Handle memory) { LocalFree(memory); }
};
using LocalMemory = UniqueResource<LocalMemoryTraits>;
