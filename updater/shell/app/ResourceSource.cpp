#include "app/ResourceSource.h"

#include <atomic>

namespace {
// Set by start-up and process end, read by workers too.
std::atomic<HINSTANCE> g_resourceModule{nullptr};
}  // namespace

HINSTANCE ResourceModule() {
    HINSTANCE module = g_resourceModule;
    return module ? module : GetModuleHandleA(nullptr);
}

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

HMODULE ReferenceResourceModule() {
    HMODULE module = nullptr;
    const DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS;
    return GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(ResourceModule()), &module) ? module : nullptr;
}

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
