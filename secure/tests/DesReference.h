// A deliberately literal DES: one bit per byte, 1-based entries, every
// permutation applied straight from the FIPS 46-3 tables. Its flavor switches
// select this library's variant or standard FIPS 46-3 DES, so the tables are
// checked against published test vectors and the same code then serves as
// the oracle for the library.
#pragma once

#include <array>
#include <cstdint>

namespace secure::testing {

using Block = std::array<std::uint8_t, 8>;

struct DesFlavor {
    bool msbFirstBitMapping;  // entry 1 is the most significant bit of byte 0
    bool sBoxMsbFirst;        // an S-box value is written most significant bit first
    bool swapHalvesAtEnd;     // IP^-1 is applied to R16 || L16

    static constexpr DesFlavor Library() { return {false, false, false}; }
    static constexpr DesFlavor Standard() { return {true, true, true}; }
};

class ReferenceDes {
public:
    ReferenceDes(const std::uint8_t* key, DesFlavor flavor);

    Block Encrypt(const Block& block) const;
    Block Decrypt(const Block& block) const;

private:
    template <std::size_t N>
    using Entries = std::array<std::uint8_t, N + 1>;  // entry 0 unused

    Entries<64> Unpack(const std::uint8_t* bytes) const;
    Block Pack(const Entries<64>& entries) const;
    Entries<32> RoundFunction(const Entries<32>& right, const Entries<48>& roundKey) const;
    Block Crypt(const Block& block, bool decrypt) const;

    DesFlavor flavor_;
    std::array<Entries<48>, 17> roundKeys_{};  // K1 ... K16
};

}  // namespace secure::testing
