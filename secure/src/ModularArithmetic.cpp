#include "ModularArithmetic.h"

namespace secure {
namespace {

constexpr std::uint64_t kWordLimit = std::uint64_t{1} << 32;

#if !defined(__SIZEOF_INT128__)
// x + y mod m for x, y < m, without overflowing 64 bits.
std::uint64_t AddMod(std::uint64_t x, std::uint64_t y, std::uint64_t m) {
    return x >= m - y ? x - (m - y) : x + y;
}
#endif

}  // namespace

std::uint64_t MulMod(std::uint64_t a, std::uint64_t b, std::uint64_t m) {
    if (a < kWordLimit && b < kWordLimit) return (a * b) % m;
#if defined(__SIZEOF_INT128__)
    return static_cast<std::uint64_t>((static_cast<unsigned __int128>(a) * b) % m);
#else
    // No 128-bit type (the i686 build): multiply by doubling.
    a %= m;
    b %= m;
    std::uint64_t product = 0;
    while (b != 0) {
        if (b & 1) product = AddMod(product, a, m);
        a = AddMod(a, a, m);
        b >>= 1;
    }
    return product;
#endif
}

std::uint64_t ModPow(std::uint64_t b, std::uint64_t e, std::uint64_t m) {
    if (m == 0) return 0;
    if (e == 0) return 1 % m;
    if (e == 1) return b % m;
    const std::uint64_t half = ModPow(b, e / 2, m);
    const std::uint64_t square = MulMod(half, half, m);
    return (e % 2 == 0) ? square : MulMod(square, b, m);
}

}  // namespace secure
