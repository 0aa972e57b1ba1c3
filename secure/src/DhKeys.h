// The private-key draw shared by DH_GetPrivateKey and DH_GetPublicKey.
#pragma once

#include <cstdint>

namespace secure {

// Random64() mod (p - 1), in 0 ... p - 2. Always makes one draw; for p = 1,
// where p - 1 is 0, the result is 0 instead of a division by zero.
std::uint64_t DrawPrivateKey(std::uint64_t p);

}  // namespace secure
