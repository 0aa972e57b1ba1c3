// The number theory under the Diffie-Hellman exports: exact modular
// exponentiation and the Fermat test of the prime search.
#pragma once

#include <cstdint>

namespace secure {

// b^e mod m by recursive square-and-multiply, exact for every input.
// Chosen for the inputs the algorithm leaves open: exponent 0 gives 1 mod m
// (b^0 = 1), and modulus 0 gives 0 instead of dividing by zero.
std::uint64_t ModPow(std::uint64_t b, std::uint64_t e, std::uint64_t m);

// Fermat test with `rounds` bases drawn from rand(). rounds <= 0 answers
// true. Numbers below 5 are answered exactly without drawing bases (the base
// draw divides by n - 3).
bool IsProbablePrime(std::uint64_t n, int rounds);

}  // namespace secure
