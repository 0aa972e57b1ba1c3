#include <gtest/gtest.h>

#include "dh/DiffieHellman.h"

namespace secure {
namespace {

struct PowCase {
    std::uint64_t base;
    std::uint64_t exponent;
    std::uint64_t modulus;
    std::uint64_t expected;
};

// Expected residues computed independently with arbitrary-precision
// arithmetic. Moduli between 2^31 and 2^32 and above 2^32 need products
// wider than 64 bits.
const PowCase kPowCases[] = {
    {5, 1, 7, 5},
    {12345, 1, 7, 4},                       // exponent 1 reduces the base
    {3, 2, 0x8000000Bull, 9},               // exponent 2: the square
    {0xFFFFFFFFull, 2, 0xFFFFFFFBull, 16},  // base above the modulus, modulus above 2^31
    {2, 0x100000001ull, 0xFFFFFFFBull, 128},
    {0x75BCD15ull, 987654321987ull, 0xC0000001ull, 2389575726ull},
    {0xDEADBEEFull, 0xFFFFFFFFull, 0x80000001ull, 1590311174ull},
    {0x3ADE68B1ull, 1000000007ull, 0xFFFFFFFFull, 3852604311ull},
    {0x123456789ABCDEFull, 65537, 0x200000011ull, 5360411371ull},
    {0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFFFull, 0xFFFFFFFFFFFFFFC5ull, 4959809447704153900ull},
    // Chosen results where the recursion is undefined.
    {7, 0, 13, 1},  // exponent 0: b^0 = 1
    {7, 0, 1, 0},   // ... reduced modulo 1
    {7, 5, 0, 0},   // modulus 0: 0 rather than a division by zero
};

TEST(ModPow, GivesTheExactResidue) {
    for (const PowCase& c : kPowCases) {
        EXPECT_EQ(ModPow(c.base, c.exponent, c.modulus), c.expected)
            << c.base << "^" << c.exponent << " mod " << c.modulus;
    }
}

TEST(IsProbablePrime, AcceptsPrimesAndRejectsCompositesWithoutFermatLiars) {
    struct Case {
        std::uint64_t n;
        bool prime;
    };
    // The composites have no Fermat liar among the bases 2 ... 32769 the
    // test can draw, so five rounds reject them every time; a prime passes
    // every round.
    const Case cases[] = {
        {5, true},           {7, true},           {2147483647ull, true},   {2147483659ull, true},
        {4294967291ull, true}, {4294967311ull, true}, {8589934609ull, true},
        {9, false},          {2147483649ull, false}, {4295229443ull, false}, {1000004000003ull, false},
        // Below 5 the answer is exact and no base is drawn (n - 3 would be 0 for n = 3).
        {0, false},          {1, false},          {2, true},               {3, true},   {4, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsProbablePrime(c.n, 5), c.prime) << c.n;
    }
}

TEST(IsProbablePrime, NoRoundsMeansProbablyPrime) {
    EXPECT_TRUE(IsProbablePrime(9, 0));
    EXPECT_TRUE(IsProbablePrime(9, -1));
}

}  // namespace
}  // namespace secure
