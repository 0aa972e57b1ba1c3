// Defined out of line: the instruction-set files include its declaration,
// and an inline copy compiled for AVX2 could be the one the linker keeps.
#include "DesBlockPath.h"

namespace secure {

bool BuffersPartlyOverlap(const std::uint8_t* input, const std::uint8_t* output, std::size_t bytes) {
    const auto inputStart = reinterpret_cast<std::uintptr_t>(input);
    const auto outputStart = reinterpret_cast<std::uintptr_t>(output);
    return inputStart != outputStart && inputStart < outputStart + bytes && outputStart < inputStart + bytes;
}

}  // namespace secure
