// The processor's free-running time-stamp counter, the entropy the
// Diffie-Hellman random source mixes in.
#pragma once

#include <cstdint>

namespace secure {

std::uint64_t ReadTimestampCounter();

}  // namespace secure
