#include "TimestampCounter.h"

#if defined(__i386__) || defined(__x86_64__)
#include <x86intrin.h>
#else
#include <chrono>
#endif

namespace secure {

std::uint64_t ReadTimestampCounter() {
#if defined(__i386__) || defined(__x86_64__)
    return __rdtsc();
#else
    // Other processors: the nearest free-running high-resolution counter.
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

}  // namespace secure
