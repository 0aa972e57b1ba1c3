#include "app/ResourceSource.h"

namespace {
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE ResourceModule() { return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr); }

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

std::string LoadResourceData(UINT id) {
    HMODULE module = ResourceModule();
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
    if (found == nullptr) return std::string();
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, found);
    return data != nullptr ? std::string(static_cast<const char*>(data), size) : std::string();
}

std::string LoadResourceString(UINT id) {
    char buffer[1024];
    int length = LoadStringA(ResourceModule(), id, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}
