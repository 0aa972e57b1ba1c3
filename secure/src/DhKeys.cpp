#include "DhKeys.h"

#include "Random64.h"

namespace secure {

std::uint64_t DrawPrivateKey(std::uint64_t p) {
    const std::uint64_t drawn = Random64();
    const std::uint64_t range = p - 1;
    return range == 0 ? 0 : drawn % range;
}

}  // namespace secure
