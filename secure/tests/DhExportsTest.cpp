// The Diffie-Hellman exports, checked with arithmetic of the test's own.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <thread>
#include <vector>

#include "SecureApi.h"

namespace secure::testing {
namespace {

constexpr std::uint64_t kTwoTo31 = std::uint64_t{1} << 31;
constexpr std::uint64_t kTwoTo32 = std::uint64_t{1} << 32;

bool IsPrimeByTrialDivision(std::uint64_t n) {
    if (n < 2) return false;
    for (std::uint64_t d = 2; d * d <= n; ++d) {
        if (n % d == 0) return false;
    }
    return true;
}

// Right-to-left square-and-multiply; products fit in 64 bits for m < 2^32.
std::uint64_t PowerMod(std::uint64_t b, std::uint64_t e, std::uint64_t m) {
    std::uint64_t result = 1 % m;
    b %= m;
    while (e != 0) {
        if (e & 1) result = result * b % m;
        b = b * b % m;
        e >>= 1;
    }
    return result;
}

class DhExports : public SecureExportsTest {};

TEST_F(DhExports, GetPGMakesASafePrimePairAndAValidGenerator) {
    std::set<std::uint64_t> moduli;
    for (int call = 0; call < 4; ++call) {
        std::uint64_t p = 0, g = 0;
        const std::uint64_t returned = Api().getPG(&p, &g);
        SCOPED_TRACE(::testing::Message() << "p " << p << " g " << g);
        EXPECT_EQ(returned, g);
        // The search starts below 2^31 and may pass it by a few candidates.
        ASSERT_GE(p, 5u);
        ASSERT_LT(p, kTwoTo31 + 100000);
        EXPECT_EQ(p % 2, 1u);
        EXPECT_TRUE(IsPrimeByTrialDivision(p));
        EXPECT_TRUE(IsPrimeByTrialDivision(2 * p + 1));
        EXPECT_LE(g, p - 3);
        EXPECT_NE(PowerMod(g, 2, p), 1u);
        EXPECT_NE(PowerMod(g, 2 * p + 1, p), 1u);
        moduli.insert(p);
    }
    // Each search starts from a value mixed with the time-stamp counter.
    EXPECT_GT(moduli.size(), 1u);
}

TEST_F(DhExports, GetPrivateKeyDrawsBelowPMinusOne) {
    std::uint64_t p = 0, g = 0;
    Api().getPG(&p, &g);
    for (std::uint64_t modulus : {std::uint64_t{2}, std::uint64_t{7}, std::uint64_t{1000003}, p,
                                  std::uint64_t{0xFFFFFFFB}}) {
        SCOPED_TRACE(modulus);
        for (int i = 0; i < 50; ++i) {
            std::uint64_t privateKey = ~std::uint64_t{0};
            const std::uint64_t returned = Api().getPrivateKey(modulus, g, &privateKey);
            EXPECT_EQ(returned, privateKey);
            EXPECT_LE(privateKey, modulus - 2);
        }
    }
}

TEST_F(DhExports, BothSidesAgreeOnTheSharedKey) {
    std::mt19937_64 generator(5);
    for (int agreement = 0; agreement < 3; ++agreement) {
        std::uint64_t p = 0, g = 0;
        Api().getPG(&p, &g);
        ASSERT_LT(p, kTwoTo32);
        std::uniform_int_distribution<std::uint64_t> exponent(1, p - 2);
        const std::uint64_t a = exponent(generator), b = exponent(generator);

        std::uint64_t publicA = 0, publicB = 0, sharedA = 0, sharedB = 0;
        EXPECT_EQ(Api().getPublicKey(p, g, a, &publicA), publicA);
        EXPECT_EQ(Api().getPublicKey(p, g, b, &publicB), publicB);
        EXPECT_EQ(publicA, PowerMod(g, a, p));
        EXPECT_EQ(Api().getKey(p, g, a, publicB, &sharedA), sharedA);
        EXPECT_EQ(Api().getKey(p, g, b, publicA, &sharedB), sharedB);
        EXPECT_EQ(sharedA, sharedB);
        EXPECT_EQ(sharedA, PowerMod(PowerMod(g, b, p), a, p));
    }
}

// Values passed in by a caller need not come from DH_GetPG; moduli beyond
// 2^31 and 2^32 need products wider than 64 bits. Residues computed
// independently with arbitrary-precision arithmetic.
TEST_F(DhExports, PublicAndSharedKeysAreExactForLargeModuli) {
    struct Case {
        std::uint64_t base, exponent, modulus, expected;
    };
    const Case cases[] = {
        {0xFFFFFFFFull, 2, 0xFFFFFFFBull, 16},
        {0x75BCD15ull, 987654321987ull, 0xC0000001ull, 2389575726ull},
        {0xDEADBEEFull, 0xFFFFFFFFull, 0x80000001ull, 1590311174ull},
        {0x123456789ABCDEFull, 65537, 0x200000011ull, 5360411371ull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.modulus);
        std::uint64_t publicKey = 0, sharedKey = 0;
        EXPECT_EQ(Api().getPublicKey(c.modulus, c.base, c.exponent, &publicKey), c.expected);
        EXPECT_EQ(publicKey, c.expected);
        EXPECT_EQ(Api().getKey(c.modulus, 0, c.exponent, c.base, &sharedKey), c.expected);
        EXPECT_EQ(sharedKey, c.expected);
    }
}

TEST_F(DhExports, GetPublicKeyDrawsAFreshExponentForPrivateKeyZero) {
    std::uint64_t p = 0, g = 0;
    Api().getPG(&p, &g);
    std::set<std::uint64_t> publicKeys;
    for (int i = 0; i < 8; ++i) {
        std::uint64_t publicKey = 0;
        EXPECT_EQ(Api().getPublicKey(p, g, 0, &publicKey), publicKey);
        EXPECT_LT(publicKey, p);
        publicKeys.insert(publicKey);
    }
    EXPECT_GT(publicKeys.size(), 1u);
}

// Inputs the algorithm leaves open or that would divide by zero: the
// library answers with a value instead of failing.
TEST_F(DhExports, DegenerateInputsGiveDefinedValues) {
    std::uint64_t out = 99;
    EXPECT_EQ(Api().getKey(23, 5, 0, 8, &out), 1u);  // exponent 0: 8^0 = 1
    EXPECT_EQ(out, 1u);
    EXPECT_EQ(Api().getKey(0, 5, 3, 8, &out), 0u);  // modulus 0
    EXPECT_EQ(Api().getPublicKey(0, 5, 0, &out), 0u);
    EXPECT_EQ(Api().getPrivateKey(1, 5, &out), 0u);  // p - 1 = 0: nothing to draw from
    EXPECT_EQ(out, 0u);
}

// Key generation from several threads at once: every result must still be
// valid (the shared random words are updated under a lock).
TEST_F(DhExports, ConcurrentKeyGenerationStaysValid) {
    constexpr int kThreads = 4;
    std::vector<std::thread> threads;
    std::vector<int> failures(kThreads, 0);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            std::uint64_t p = 0, g = 0;
            Api().getPG(&p, &g);
            if (!IsPrimeByTrialDivision(p) || g > p - 3) ++failures[t];
            for (int i = 0; i < 2000; ++i) {
                std::uint64_t privateKey = 0;
                Api().getPrivateKey(p, g, &privateKey);
                if (privateKey > p - 2) ++failures[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(kThreads, 0));
}

}  // namespace
}  // namespace secure::testing
