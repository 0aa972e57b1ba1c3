// The client keeps paths in buffers of 260 bytes, terminator included: a
// path it is handed must be shorter than this.
#pragma once

#include <cstddef>

inline constexpr std::size_t kPathBufferBytes = 260;
