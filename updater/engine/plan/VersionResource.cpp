#include "plan/VersionResource.h"

#include <windows.h>

#include <cstring>
#include <vector>

static_assert(sizeof(VersionBlock) == sizeof(VS_FIXEDFILEINFO), "version block mirrors VS_FIXEDFILEINFO");

bool ReadVersionBlock(const char* path, VersionBlock* block) {
    if (path == nullptr || block == nullptr) return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return false;
    std::vector<char> resource(size);
    if (!GetFileVersionInfoA(path, 0, size, resource.data())) return false;
    void* root = nullptr;
    UINT rootLength = 0;
    if (!VerQueryValueA(resource.data(), "\\", &root, &rootLength) || root == nullptr ||
        rootLength < sizeof(VS_FIXEDFILEINFO)) {
        return false;
    }
    std::memcpy(static_cast<void*>(block), root, sizeof(VS_FIXEDFILEINFO));
    return true;
}
