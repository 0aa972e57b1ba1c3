// Fermat primality test, the random prime search and the choice of the
// Diffie-Hellman modulus and generator.
#pragma once

#include <cstdint>

#include "DhContext.h"

namespace secure {

// Fermat test with `rounds` bases drawn from rand(). rounds <= 0 answers
// true. Numbers below 5 are answered exactly without drawing bases (the base
// draw divides by n - 3).
bool IsProbablePrime(std::uint64_t n, int rounds);

// First probable prime at or after a random odd start below 2^31. Starts of
// 1 and 3 are moved to 5, where the Fermat test is defined.
std::uint64_t RandomPrime();

// Sets context.p to a probable prime q for which 2q + 1 also passes the test,
// and context.g to a value in 0 ... p - 3 with g^2 mod p != 1 and
// g^(2q+1) mod p != 1.
void GeneratePG(DhContext& context);

}  // namespace secure
