// The working record of one Diffie-Hellman export call. A field of 0 means
// the value is not yet computed.
#pragma once

#include <cstdint>

namespace secure {

struct DhContext {
    std::uint64_t p = 0;
    std::uint64_t g = 0;
    std::uint64_t privateKey = 0;
    std::uint64_t publicKey = 0;
    std::uint64_t sharedKey = 0;
};

}  // namespace secure
