#include "ProcessorFeatures.h"

namespace secure {

#if defined(__i386__) || defined(__x86_64__)

bool ProcessorHasSse2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2");
}

bool ProcessorHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

#else

bool ProcessorHasSse2() {
    return false;
}

bool ProcessorHasAvx2() {
    return false;
}

#endif

}  // namespace secure
