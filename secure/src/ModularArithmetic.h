// Exact modular multiplication and exponentiation on unsigned 64-bit values.
#pragma once

#include <cstdint>

namespace secure {

// (a * b) mod m for any a, b and m > 0, without losing bits of the product.
std::uint64_t MulMod(std::uint64_t a, std::uint64_t b, std::uint64_t m);

// b^e mod m by recursive square-and-multiply, exact for every input.
// Chosen for the inputs the algorithm leaves open: exponent 0 gives 1 mod m
// (b^0 = 1), and modulus 0 gives 0 instead of dividing by zero.
std::uint64_t ModPow(std::uint64_t b, std::uint64_t e, std::uint64_t m);

}  // namespace secure
