// A library mapped with LoadLibrary, unloaded with FreeLibrary.
#pragma once

#include <windows.h>

#include "UniqueResource.h"

struct LoadedModuleTraits {
    using Handle = HMODULE;
    static Handle Empty() { return nullptr; }
    static void Close(Handle module) { FreeLibrary(module); }
};
using LoadedModule = UniqueResource<LoadedModuleTraits>;
