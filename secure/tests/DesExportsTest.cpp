// The DES exports against the reference DES, with the key-buffer rules, the
// refusal rules and the partial-block rule applied by the test itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "DesReference.h"
#include "SecureApi.h"
#include "TestBytes.h"

namespace secure::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kUntouched = 0xA5;

enum class Family { Single, Triple };

struct ExportCase {
    const char* name;
    Family family;
    bool decrypt;
    DesFunction SecureApi::*function;
};

const ExportCase kExports[] = {
    {"DES_Encrypt", Family::Single, false, &SecureApi::desEncrypt},
    {"DES_Decrypt", Family::Single, true, &SecureApi::desDecrypt},
    {"DES3_Encrypt", Family::Triple, false, &SecureApi::des3Encrypt},
    {"DES3_Decrypt", Family::Triple, true, &SecureApi::des3Decrypt},
};

// What an export must leave in an output buffer prefilled with kUntouched:
// every whole block processed, every byte after them as it was.
Bytes ExpectedOutput(const ExportCase& exportCase, const Bytes& input, const Bytes& key, std::size_t outputSize) {
    Bytes output(outputSize, kUntouched);
    const std::size_t blocks = input.size() / 8;

    std::vector<ReferenceDes> stages;
    std::vector<bool> decryptStage;
    if (exportCase.family == Family::Triple && key.size() >= 8) {
        std::uint8_t buffer[24] = {};
        std::copy_n(key.begin(), std::min<std::size_t>(key.size(), 24), buffer);
        const ReferenceDes key1(buffer, DesFlavor::Library());
        const ReferenceDes key2(buffer + 8, DesFlavor::Library());
        const ReferenceDes key3(key.size() > 16 ? buffer + 16 : buffer, DesFlavor::Library());
        if (exportCase.decrypt) {
            stages = {key3, key2, key1};
            decryptStage = {true, false, true};
        } else {
            stages = {key1, key2, key3};
            decryptStage = {false, true, false};
        }
    } else {
        std::uint8_t buffer[8] = {};
        std::copy_n(key.begin(), std::min<std::size_t>(key.size(), 8), buffer);
        stages = {ReferenceDes(buffer, DesFlavor::Library())};
        decryptStage = {exportCase.decrypt};
    }

    for (std::size_t b = 0; b < blocks; ++b) {
        Block block{};
        std::copy_n(input.begin() + 8 * b, 8, block.begin());
        for (std::size_t s = 0; s < stages.size(); ++s) {
            block = decryptStage[s] ? stages[s].Decrypt(block) : stages[s].Encrypt(block);
        }
        std::copy(block.begin(), block.end(), output.begin() + 8 * b);
    }
    return output;
}

bool Call(const ExportCase& exportCase, const Bytes& input, const Bytes& key, Bytes& output) {
    return (Api().*exportCase.function)(input.data(), static_cast<int>(input.size()), key.data(),
                                        static_cast<int>(key.size()), output.data());
}

class DesExports : public SecureExportsTest {};

// Every key length from 1 to 30 (covering each way the triple-DES key buffer
// is split and padded) with whole, partial and too-short buffers. The output
// buffer is 8 bytes longer than the input, so a write past the last whole
// block shows.
TEST_F(DesExports, MatchReferenceForEveryKeyLengthAndPartialBlocks) {
    std::mt19937 generator(4613);
    const std::size_t inputLengths[] = {1, 7, 8, 15, 16, 23, 64};
    for (const ExportCase& exportCase : kExports) {
        for (std::size_t keyLength = 1; keyLength <= 30; ++keyLength) {
            for (std::size_t inputLength : inputLengths) {
                SCOPED_TRACE(::testing::Message() << exportCase.name << " key " << keyLength << " input " << inputLength);
                const Bytes key = RandomBytes(generator, keyLength);
                const Bytes input = RandomBytes(generator, inputLength);
                Bytes output(inputLength + 8, kUntouched);
                ASSERT_TRUE(Call(exportCase, input, key, output));
                ASSERT_EQ(output, ExpectedOutput(exportCase, input, key, output.size()));
            }
        }
    }
}

// Buffers long enough for the bitsliced batches of the path this processor
// gets: whole batches, a tail padded into a batch (356 blocks) and a tail
// of one block left to the table path (513 blocks), with each way of using
// the key.
TEST_F(DesExports, MatchReferenceOnLargeBuffersForEachKeyUse) {
    std::mt19937 generator(977);
    for (std::size_t inputLength : {8 * 356 + 3, 4096 + 13}) {
        const Bytes input = RandomBytes(generator, inputLength);
        for (const ExportCase& exportCase : kExports) {
            for (std::size_t keyLength : {5u, 8u, 16u, 24u}) {
                SCOPED_TRACE(::testing::Message() << exportCase.name << " key " << keyLength << " input " << inputLength);
                const Bytes key = RandomBytes(generator, keyLength);
                Bytes output(input.size(), kUntouched);
                ASSERT_TRUE(Call(exportCase, input, key, output));
                EXPECT_EQ(output, ExpectedOutput(exportCase, input, key, output.size()));
            }
        }
    }
}

TEST_F(DesExports, DecryptionUndoesEncryptionForEveryKeyLength) {
    std::mt19937 generator(31);
    const Bytes plaintext = RandomBytes(generator, 48);
    for (std::size_t keyLength = 1; keyLength <= 30; ++keyLength) {
        SCOPED_TRACE(keyLength);
        const Bytes key = RandomBytes(generator, keyLength);
        for (auto [encrypt, decrypt] : {std::pair{&SecureApi::desEncrypt, &SecureApi::desDecrypt},
                                        std::pair{&SecureApi::des3Encrypt, &SecureApi::des3Decrypt}}) {
            Bytes ciphertext(plaintext.size()), recovered(plaintext.size());
            ASSERT_TRUE((Api().*encrypt)(plaintext.data(), 48, key.data(), static_cast<int>(keyLength),
                                         ciphertext.data()));
            ASSERT_TRUE((Api().*decrypt)(ciphertext.data(), 48, key.data(), static_cast<int>(keyLength),
                                         recovered.data()));
            EXPECT_NE(ciphertext, plaintext);
            EXPECT_EQ(recovered, plaintext);
        }
    }
}

TEST_F(DesExports, RefuseMissingOrEmptyArgumentsAndWriteNothing) {
    const Bytes input(16, 0x11);
    const Bytes key(24, 0x22);
    struct Refusal {
        const char* what;
        const std::uint8_t* input;
        int inputLength;
        const std::uint8_t* key;
        int keyLength;
    };
    const Refusal refusals[] = {
        {"null input", nullptr, 16, key.data(), 24},
        {"input length 0", input.data(), 0, key.data(), 24},
        {"negative input length", input.data(), -8, key.data(), 24},
        {"null key", input.data(), 16, nullptr, 24},
        {"key length 0", input.data(), 16, key.data(), 0},
        {"negative key length", input.data(), 16, key.data(), -1},
    };
    for (const ExportCase& exportCase : kExports) {
        for (const Refusal& refusal : refusals) {
            SCOPED_TRACE(::testing::Message() << exportCase.name << ": " << refusal.what);
            Bytes output(16, kUntouched);
            EXPECT_FALSE((Api().*exportCase.function)(refusal.input, refusal.inputLength, refusal.key,
                                                       refusal.keyLength, output.data()));
            EXPECT_EQ(output, Bytes(16, kUntouched));
        }
    }
}

TEST_F(DesExports, InPlaceGivesTheSameBytesAsASeparateBuffer) {
    std::mt19937 generator(8);
    const Bytes input = RandomBytes(generator, 64 + 5);
    for (const ExportCase& exportCase : kExports) {
        for (std::size_t keyLength : {5u, 8u, 16u, 24u}) {
            SCOPED_TRACE(::testing::Message() << exportCase.name << " key " << keyLength);
            const Bytes key = RandomBytes(generator, keyLength);
            Bytes separate = input;
            ASSERT_TRUE(Call(exportCase, input, key, separate));
            Bytes inPlace = input;
            ASSERT_TRUE((Api().*exportCase.function)(inPlace.data(), static_cast<int>(inPlace.size()), key.data(),
                                                      static_cast<int>(keyLength), inPlace.data()));
            EXPECT_EQ(inPlace, separate);
        }
    }
}

Bytes Encrypt(DesFunction SecureApi::*function, const Bytes& input, const Bytes& key) {
    Bytes output(input.size());
    EXPECT_TRUE((Api().*function)(input.data(), static_cast<int>(input.size()), key.data(),
                                  static_cast<int>(key.size()), output.data()));
    return output;
}

// Key handling stated directly in terms of the exports, independent of the
// reference implementation.
TEST_F(DesExports, KeyBitsAndKeyBuffersBehaveAsDocumented) {
    std::mt19937 generator(77);
    const Bytes data = RandomBytes(generator, 32);
    const Bytes key = RandomBytes(generator, 24);
    const Bytes key8(key.begin(), key.begin() + 8);
    const Bytes key16(key.begin(), key.begin() + 16);
    const Bytes base = Encrypt(&SecureApi::desEncrypt, data, key8);

    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        Bytes flipped = key8;
        flipped[i] ^= 0x80;  // left out by permuted choice 1
        EXPECT_EQ(Encrypt(&SecureApi::desEncrypt, data, flipped), base);
        flipped = key8;
        flipped[i] ^= 0x01;
        EXPECT_NE(Encrypt(&SecureApi::desEncrypt, data, flipped), base);
    }

    // Single DES: a longer key is cut at 8 bytes, a shorter one padded with zeros.
    EXPECT_EQ(Encrypt(&SecureApi::desEncrypt, data, Bytes(key.begin(), key.begin() + 12)), base);
    Bytes padded5(key.begin(), key.begin() + 5);
    const Bytes short5 = padded5;
    padded5.resize(8, 0);
    EXPECT_EQ(Encrypt(&SecureApi::desEncrypt, data, short5), Encrypt(&SecureApi::desEncrypt, data, padded5));

    // Triple DES below 8 key bytes is single DES.
    EXPECT_EQ(Encrypt(&SecureApi::des3Encrypt, data, short5), Encrypt(&SecureApi::desEncrypt, data, short5));

    // 8 bytes: E(key) D(zero key) E(key), which is not single DES.
    const Bytes zeroKey(8, 0);
    const Bytes ede = Encrypt(&SecureApi::desEncrypt,
                              Encrypt(&SecureApi::desDecrypt, Encrypt(&SecureApi::desEncrypt, data, key8), zeroKey),
                              key8);
    EXPECT_EQ(Encrypt(&SecureApi::des3Encrypt, data, key8), ede);
    EXPECT_NE(Encrypt(&SecureApi::des3Encrypt, data, key8), base);

    // 16 bytes: two-key triple DES, the same as 24 bytes with key 1 repeated.
    Bytes key16Extended = key16;
    key16Extended.insert(key16Extended.end(), key16.begin(), key16.begin() + 8);
    EXPECT_EQ(Encrypt(&SecureApi::des3Encrypt, data, key16), Encrypt(&SecureApi::des3Encrypt, data, key16Extended));

    // Bytes past the 24th are ignored.
    Bytes key30 = key;
    key30.resize(30, 0x5A);
    EXPECT_EQ(Encrypt(&SecureApi::des3Encrypt, data, key30), Encrypt(&SecureApi::des3Encrypt, data, key));
}

}  // namespace
}  // namespace secure::testing
