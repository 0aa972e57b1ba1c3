#include "PrimeSearch.h"

#include <cstdlib>

#include "ModularArithmetic.h"
#include "Random64.h"

namespace secure {
namespace {

constexpr int kFermatRounds = 5;
constexpr std::uint64_t kSmallestSearchStart = 5;

}  // namespace

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

std::uint64_t RandomPrime() {
    std::uint64_t n = static_cast<std::uint32_t>(Random64()) & 0x7FFFFFFFu;
    if (n % 2 == 0) n += 1;
    if (n < kSmallestSearchStart) n = kSmallestSearchStart;
    while (!IsProbablePrime(n, kFermatRounds)) n += 2;
    return n;
}

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

}  // namespace secure
