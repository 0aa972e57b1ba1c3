// The gate sequences of the S-boxes against the FIPS 46-3 table, on all 64
// inputs at once: bit i of input word k is entry b(k+1) of input value i.
#include <gtest/gtest.h>

#include <cstdint>

#include "des/DesSBoxGates.h"
#include "des/DesTables.h"

namespace secure::testing {
namespace {

using Gates = void (*)(const std::uint64_t*, std::uint64_t*);

const Gates kSBoxGates[8] = {
    bitslice::SBox1<std::uint64_t>, bitslice::SBox2<std::uint64_t>, bitslice::SBox3<std::uint64_t>,
    bitslice::SBox4<std::uint64_t>, bitslice::SBox5<std::uint64_t>, bitslice::SBox6<std::uint64_t>,
    bitslice::SBox7<std::uint64_t>, bitslice::SBox8<std::uint64_t>,
};

TEST(DesSBoxGates, GiveTheTableValueForAll64InputsOfEveryBox) {
    std::uint64_t inputs[6] = {};
    for (int i = 0; i < 64; ++i) {
        for (int k = 0; k < 6; ++k) inputs[k] |= static_cast<std::uint64_t>((i >> k) & 1) << i;
    }
    for (int box = 0; box < 8; ++box) {
        std::uint64_t outputs[4];
        kSBoxGates[box](inputs, outputs);
        for (int i = 0; i < 64; ++i) {
            const int b1 = i & 1, b2 = (i >> 1) & 1, b3 = (i >> 2) & 1, b4 = (i >> 3) & 1, b5 = (i >> 4) & 1,
                      b6 = (i >> 5) & 1;
            const int value = fips::kSBoxes[box][2 * b1 + b6][8 * b2 + 4 * b3 + 2 * b4 + b5];
            int gateValue = 0;
            for (int m = 0; m < 4; ++m) gateValue |= static_cast<int>((outputs[m] >> i) & 1) << m;
            ASSERT_EQ(gateValue, value) << "S" << box + 1 << " input " << i;
        }
    }
}

}  // namespace
}  // namespace secure::testing
