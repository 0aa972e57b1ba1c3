// A C stream opened with fopen, closed with fclose. Platform-free: the
// native tools and tests use it as the Windows programs do.
#pragma once

#include <cstdio>

#include "UniqueResource.h"

struct StdioFileTraits {
    using Handle = std::FILE*;
    static Handle Empty() { return nullptr; }
    static void Close(Handle file) { std::fclose(file); }
};

using StdioFile = UniqueResource<StdioFileTraits>;
