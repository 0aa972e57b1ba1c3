#include "DesReference.h"

#include "des/DesTables.h"

namespace secure::testing {
namespace {

template <std::size_t Out, std::size_t In>
std::array<std::uint8_t, Out + 1> Permute(const std::array<std::uint8_t, In + 1>& source,
                                          const std::uint8_t (&table)[Out]) {
    std::array<std::uint8_t, Out + 1> result{};
    for (std::size_t i = 1; i <= Out; ++i) result[i] = source[table[i - 1]];
    return result;
}

}  // namespace

ReferenceDes::ReferenceDes(const std::uint8_t* key, DesFlavor flavor) : flavor_(flavor) {
    const Entries<64> keyEntries = Unpack(key);
    const Entries<56> chosen = Permute<56, 64>(keyEntries, fips::kPermutedChoice1);
    Entries<28> c{}, d{};
    for (int k = 1; k <= 28; ++k) {
        c[k] = chosen[k];
        d[k] = chosen[28 + k];
    }
    for (int round = 1; round <= 16; ++round) {
        const int shift = fips::kKeyShifts[round - 1];
        Entries<28> rotatedC{}, rotatedD{};
        for (int k = 1; k <= 28; ++k) {
            rotatedC[k] = c[(k - 1 + shift) % 28 + 1];
            rotatedD[k] = d[(k - 1 + shift) % 28 + 1];
        }
        c = rotatedC;
        d = rotatedD;
        Entries<56> joined{};
        for (int k = 1; k <= 28; ++k) {
            joined[k] = c[k];
            joined[28 + k] = d[k];
        }
        roundKeys_[round] = Permute<48, 56>(joined, fips::kPermutedChoice2);
    }
}

ReferenceDes::Entries<64> ReferenceDes::Unpack(const std::uint8_t* bytes) const {
    Entries<64> entries{};
    for (int n = 1; n <= 64; ++n) {
        const int byteIndex = (n - 1) / 8;
        const int bitInByte = flavor_.msbFirstBitMapping ? 7 - (n - 1) % 8 : (n - 1) % 8;
        entries[n] = (bytes[byteIndex] >> bitInByte) & 1;
    }
    return entries;
}

Block ReferenceDes::Pack(const Entries<64>& entries) const {
    Block bytes{};
    for (int n = 1; n <= 64; ++n) {
        const int byteIndex = (n - 1) / 8;
        const int bitInByte = flavor_.msbFirstBitMapping ? 7 - (n - 1) % 8 : (n - 1) % 8;
        bytes[byteIndex] = static_cast<std::uint8_t>(bytes[byteIndex] | (entries[n] << bitInByte));
    }
    return bytes;
}

ReferenceDes::Entries<32> ReferenceDes::RoundFunction(const Entries<32>& right, const Entries<48>& roundKey) const {
    const Entries<48> expanded = Permute<48, 32>(right, fips::kExpansion);
    Entries<48> mixed{};
    for (int i = 1; i <= 48; ++i) mixed[i] = expanded[i] ^ roundKey[i];

    Entries<32> substituted{};
    for (int j = 1; j <= 8; ++j) {
        const std::uint8_t* b = &mixed[6 * (j - 1)];  // b[1] ... b[6]
        const int row = 2 * b[1] + b[6];
        const int column = 8 * b[2] + 4 * b[3] + 2 * b[4] + b[5];
        const int value = fips::kSBoxes[j - 1][row][column];
        for (int m = 0; m < 4; ++m) {
            const int bit = flavor_.sBoxMsbFirst ? 3 - m : m;
            substituted[4 * (j - 1) + 1 + m] = (value >> bit) & 1;
        }
    }
    return Permute<32, 32>(substituted, fips::kRoundPermutation);
}

Block ReferenceDes::Crypt(const Block& block, bool decrypt) const {
    const Entries<64> permuted = Permute<64, 64>(Unpack(block.data()), fips::kInitialPermutation);
    Entries<32> left{}, right{};
    for (int k = 1; k <= 32; ++k) {
        left[k] = permuted[k];
        right[k] = permuted[32 + k];
    }

    auto xorEntries = [](const Entries<32>& a, const Entries<32>& b) {
        Entries<32> r{};
        for (int k = 1; k <= 32; ++k) r[k] = a[k] ^ b[k];
        return r;
    };

    Entries<64> preOutput{};
    if (flavor_.swapHalvesAtEnd) {
        // FIPS 46-3: decryption is encryption with the round keys reversed.
        for (int i = 1; i <= 16; ++i) {
            const Entries<48>& key = roundKeys_[decrypt ? 17 - i : i];
            const Entries<32> newRight = xorEntries(left, RoundFunction(right, key));
            left = right;
            right = newRight;
        }
        for (int k = 1; k <= 32; ++k) {
            preOutput[k] = right[k];
            preOutput[32 + k] = left[k];
        }
    } else {
        if (!decrypt) {
            for (int i = 1; i <= 16; ++i) {
                const Entries<32> newRight = xorEntries(left, RoundFunction(right, roundKeys_[i]));
                left = right;
                right = newRight;
            }
        } else {
            for (int i = 16; i >= 1; --i) {
                const Entries<32> newLeft = xorEntries(RoundFunction(left, roundKeys_[i]), right);
                right = left;
                left = newLeft;
            }
        }
        for (int k = 1; k <= 32; ++k) {
            preOutput[k] = left[k];
            preOutput[32 + k] = right[k];
        }
    }
    return Pack(Permute<64, 64>(preOutput, fips::kFinalPermutation));
}

Block ReferenceDes::Encrypt(const Block& block) const {
    return Crypt(block, false);
}

Block ReferenceDes::Decrypt(const Block& block) const {
    return Crypt(block, true);
}

}  // namespace secure::testing
