// Bitsliced path in plain 64-bit words: 64 blocks per batch on any processor.
#include "DesBitslice.h"

namespace secure {

const DesBlockPath& PortableDesBlockPath() {
    static constexpr DesBlockPath path{"portable", &bitslice::RunBitslicedBlocks<std::uint64_t>};
    return path;
}

}  // namespace secure
