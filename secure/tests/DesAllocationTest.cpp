// The DES exports when no allocation can succeed: they need no heap, so
// they give the same bytes as always, and nothing is thrown at the caller.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "AllocationLimit.h"
#include "SecureApi.h"
#include "TestBytes.h"

namespace secure::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST_F(SecureExportsTest, DesExportsWorkWhenEveryAllocationFails) {
    const DesFunction SecureApi::*exports[] = {&SecureApi::desEncrypt, &SecureApi::desDecrypt,
                                               &SecureApi::des3Encrypt, &SecureApi::des3Decrypt};
    std::mt19937 generator(20240603);
    const Bytes input = RandomBytes(generator, 8 * 300 + 5);  // one block, and the bitsliced batches
    const Bytes key = RandomBytes(generator, 24);
    for (auto function : exports) {
        for (std::size_t length : {std::size_t{8}, input.size()}) {
            Bytes expected(input.size(), 0);
            ASSERT_TRUE((Api().*function)(input.data(), static_cast<int>(length), key.data(), 24, expected.data()));
            Bytes output(input.size(), 0);
            bool result = false;
            {
                AllocationLimit limit(0);
                EXPECT_NO_THROW(result = (Api().*function)(input.data(), static_cast<int>(length), key.data(), 24,
                                                           output.data()));
            }
            EXPECT_TRUE(result);
            EXPECT_EQ(expected, output);
        }
    }
}

}  // namespace
}  // namespace secure::testing
