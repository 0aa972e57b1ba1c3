#include "ResourceSource.h"

namespace {
HINSTANCE g_resourceModule = nullptr;
}

HINSTANCE ResourceModule() { return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr); }

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

std::string LoadResourceString(UINT id) {
    char buffer[1024];
    int length = LoadStringA(ResourceModule(), id, buffer, sizeof buffer);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}
