// Chooses the block implementation from what this build contains and what
// the processor can run. The build defines SECURE_SSE2_PATH and
// SECURE_AVX2_PATH where it compiles those paths.
#include "DesBlockPath.h"
#include "ProcessorFeatures.h"

#include <initializer_list>

namespace secure {

const DesBlockPath* FindDesBlockPath(DesPathKind kind) {
    switch (kind) {
        case DesPathKind::Table:
            return &TableDesBlockPath();
        case DesPathKind::Portable:
            return &PortableDesBlockPath();
#if defined(SECURE_SSE2_PATH)
        case DesPathKind::Sse2:
            return ProcessorHasSse2() ? &Sse2DesBlockPath() : nullptr;
#endif
#if defined(SECURE_AVX2_PATH)
        case DesPathKind::Avx2:
            return ProcessorHasAvx2() ? &Avx2DesBlockPath() : nullptr;
#endif
        default:
            return nullptr;
    }
}

const DesBlockPath& SelectDesBlockPath() {
    static const DesBlockPath& selected = []() -> const DesBlockPath& {
        for (DesPathKind kind : {DesPathKind::Avx2, DesPathKind::Sse2}) {
            if (const DesBlockPath* path = FindDesBlockPath(kind)) return *path;
        }
        return PortableDesBlockPath();
    }();
    return selected;
}

}  // namespace secure
