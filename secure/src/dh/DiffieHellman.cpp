// The four Diffie-Hellman exports and everything they compute: modular
// arithmetic, the prime search behind the modulus and generator, and the
// private-key draw. Each export fills a fresh context with its value
// arguments, computes what is missing and writes its result through its
// last pointer.
#include "dh/DiffieHellman.h"

#include <cstdlib>

#include "dh/Random64.h"
#include "secure.h"

namespace secure {
namespace {

constexpr std::uint64_t kWordLimit = std::uint64_t{1} << 32;

#if !defined(__SIZEOF_INT128__)
// x + y mod m for x, y < m, without overflowing 64 bits.
std::uint64_t AddMod(std::uint64_t x, std::uint64_t y, std::uint64_t m) {
    return x >= m - y ? x - (m - y) : x + y;
}
#endif

// (a * b) mod m for any a, b and m > 0, without losing bits of the product.
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

}  // namespace

std::uint64_t ModPow(std::uint64_t b, std::uint64_t e, std::uint64_t m) {
    if (m == 0) return 0;
    if (e == 0) return 1 % m;
    if (e == 1) return b % m;
    const std::uint64_t half = ModPow(b, e / 2, m);
    const std::uint64_t square = MulMod(half, half, m);
    return (e % 2 == 0) ? square : MulMod(square, b, m);
}

bool IsProbablePrime(std::uint64_t n, int rounds) {
    if (rounds <= 0) return true;
    if (n < 5) return n == 2 || n == 3;
    for (int round = 0; round < rounds; ++round) {
        const auto r = static_cast<std::uint64_t>(std::rand());
        const std::uint64_t base = r % (n - 3) + 2;
        if (ModPow(base, n - 1, n) != 1) return false;
    }
    return true;
}

namespace {

constexpr int kFermatRounds = 5;
constexpr std::uint64_t kSmallestSearchStart = 5;

// The working record of one export call. A field of 0 means the value is not
// yet computed.
struct DhContext {
    std::uint64_t p = 0;
    std::uint64_t g = 0;
    std::uint64_t privateKey = 0;
    std::uint64_t publicKey = 0;
    std::uint64_t sharedKey = 0;
};

// First probable prime at or after a random odd start below 2^31. Starts of
// 1 and 3 are moved to 5, where the Fermat test is defined.
std::uint64_t RandomPrime() {
    std::uint64_t n = static_cast<std::uint32_t>(Random64()) & 0x7FFFFFFFu;
    if (n % 2 == 0) n += 1;
    if (n < kSmallestSearchStart) n = kSmallestSearchStart;
    while (!IsProbablePrime(n, kFermatRounds)) n += 2;
    return n;
}

// Sets context.p to a probable prime q for which 2q + 1 also passes the test,
// and context.g to a value in 0 ... p - 3 with g^2 mod p != 1 and
// g^(2q+1) mod p != 1.
void GeneratePG(DhContext& context) {
    std::uint64_t q = 0;
    do {
        q = RandomPrime();
        context.p = q;
    } while (!IsProbablePrime(2 * q + 1, kFermatRounds));

    // The second test raises to 2q + 1 with the modulus q itself.
    do {
        context.g = Random64() % (context.p - 2);
    } while (ModPow(context.g, 2, context.p) == 1 || ModPow(context.g, 2 * q + 1, context.p) == 1);
}

// Random64() mod (p - 1), in 0 ... p - 2, shared by DH_GetPrivateKey and
// DH_GetPublicKey. Always makes one draw; for p = 1, where p - 1 is 0, the
// result is 0 instead of a division by zero.
std::uint64_t DrawPrivateKey(std::uint64_t p) {
    const std::uint64_t drawn = Random64();
    const std::uint64_t range = p - 1;
    return range == 0 ? 0 : drawn % range;
}

}  // namespace
}  // namespace secure

using secure::DhContext;

SECURE_API uint64_t SECURE_CALL DH_GetPG(uint64_t* p, uint64_t* g) {
    DhContext context;
    secure::GeneratePG(context);
    *p = context.p;
    *g = context.g;
    return context.g;
}

SECURE_API uint64_t SECURE_CALL DH_GetPrivateKey(uint64_t p, uint64_t g, uint64_t* privateKey) {
    DhContext context;
    context.p = p;
    context.g = g;
    context.privateKey = secure::DrawPrivateKey(context.p);
    *privateKey = context.privateKey;
    return context.privateKey;
}

SECURE_API uint64_t SECURE_CALL DH_GetPublicKey(uint64_t p, uint64_t g, uint64_t privateKey, uint64_t* publicKey) {
    DhContext context;
    context.p = p;
    context.g = g;
    context.privateKey = privateKey;
    if (context.privateKey == 0) context.privateKey = secure::DrawPrivateKey(context.p);
    context.publicKey = secure::ModPow(context.g, context.privateKey, context.p);
    *publicKey = context.publicKey;
    return context.publicKey;
}

SECURE_API uint64_t SECURE_CALL DH_GetKey(uint64_t p, uint64_t g, uint64_t privateKey, uint64_t peerPublicKey,
                                          uint64_t* sharedKey) {
    DhContext context;
    context.p = p;
    context.g = g;
    context.privateKey = privateKey;
    context.sharedKey = secure::ModPow(peerPublicKey, context.privateKey, context.p);
    *sharedKey = context.sharedKey;
    return context.sharedKey;
}
