// The literal reference DES is checked against published FIPS 46-3 / NBS
// vectors in its standard flavor, then used as the oracle for the library's
// block routine in the library's flavor.
#include <gtest/gtest.h>

#include <random>

#include "DesReference.h"
#include "des/Des.h"
#include "TestBytes.h"

namespace secure::testing {
namespace {

struct KnownAnswer {
    const char* key;
    const char* plaintext;
    const char* ciphertext;
};

// Published single-DES vectors (NBS special publication 500-20 tables and
// the FIPS 81 example), which together reach every S-box many times.
const KnownAnswer kStandardVectors[] = {
    {"0000000000000000", "0000000000000000", "8CA64DE9C1B123A7"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "7359B2163E4EDC58"},
    {"3000000000000000", "1000000000000001", "958E6E627A05557B"},
    {"1111111111111111", "1111111111111111", "F40379AB9E0EC533"},
    {"0123456789ABCDEF", "1111111111111111", "17668DFC7292532D"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "ED39D950FA74BCC4"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
    {"07A1133E4A0B2686", "0248D43806F67172", "868EBB51CAB4599A"},
    {"3849674C2602319E", "51454B582DDF440A", "7178876E01F19B2A"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"10316E028C8F3B4A", "0000000000000000", "82DCBAFBDEAB6602"},
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
};

TEST(ReferenceDesStandardFlavor, MatchesPublishedVectorsBothWays) {
    for (const KnownAnswer& vector : kStandardVectors) {
        SCOPED_TRACE(vector.key);
        const Block key = BlockFromHex(vector.key);
        const ReferenceDes des(key.data(), DesFlavor::Standard());
        EXPECT_EQ(des.Encrypt(BlockFromHex(vector.plaintext)), BlockFromHex(vector.ciphertext));
        EXPECT_EQ(des.Decrypt(BlockFromHex(vector.ciphertext)), BlockFromHex(vector.plaintext));
    }
}

// Rivest's iterated test: x(i+1) = E(x(i), x(i)) for even i and D(x(i), x(i))
// for odd i; x16 is published. It runs each table through many values.
TEST(ReferenceDesStandardFlavor, MatchesIteratedTest) {
    Block x = BlockFromHex("9474B8E8C73BCA7D");
    for (int i = 0; i < 16; ++i) {
        const ReferenceDes des(x.data(), DesFlavor::Standard());
        x = (i % 2 == 0) ? des.Encrypt(x) : des.Decrypt(x);
    }
    EXPECT_EQ(x, BlockFromHex("1B1A2DDB4C642438"));
}

Block LibraryBlock(const Block& key, const Block& block, DesDirection direction) {
    DesRoundKeys roundKeys;
    DES_MakeSubkeys(key.data(), roundKeys);
    Block out{};
    DES_CryptBlock(block.data(), out.data(), roundKeys, direction);
    return out;
}

TEST(DesCryptBlock, MatchesReferenceOnRandomKeysAndBlocks) {
    std::mt19937 generator(20261209);
    for (int trial = 0; trial < 500; ++trial) {
        const Block key = RandomBlock(generator);
        const Block block = RandomBlock(generator);
        const ReferenceDes reference(key.data(), DesFlavor::Library());
        ASSERT_EQ(LibraryBlock(key, block, DesDirection::Encrypt), reference.Encrypt(block)) << "trial " << trial;
        ASSERT_EQ(LibraryBlock(key, block, DesDirection::Decrypt), reference.Decrypt(block)) << "trial " << trial;
    }
}

TEST(DesCryptBlock, WorksInPlace) {
    const Block key = BlockFromHex("0123456789ABCDEF");
    Block block = BlockFromHex("4E6F772069732074");
    const Block expected = LibraryBlock(key, block, DesDirection::Encrypt);
    DesRoundKeys roundKeys;
    DES_MakeSubkeys(key.data(), roundKeys);
    DES_CryptBlock(block.data(), block.data(), roundKeys, DesDirection::Encrypt);
    EXPECT_EQ(block, expected);
}

// Single blocks derive their round keys during the rounds: one stage and
// the three stages of triple DES, each direction, against the reference.
TEST(DesCryptBlockDerivingKeys, MatchesReferenceForOneAndThreeStages) {
    std::mt19937 generator(1210);
    for (int trial = 0; trial < 300; ++trial) {
        const Block keys[3] = {RandomBlock(generator), RandomBlock(generator), RandomBlock(generator)};
        const Block block = RandomBlock(generator);
        const ReferenceDes reference[3] = {{keys[0].data(), DesFlavor::Library()},
                                           {keys[1].data(), DesFlavor::Library()},
                                           {keys[2].data(), DesFlavor::Library()}};
        const DesHalfKeys halves[3] = {DES_MakeHalfKeys(keys[0].data()), DES_MakeHalfKeys(keys[1].data()),
                                       DES_MakeHalfKeys(keys[2].data())};
        SCOPED_TRACE(trial);
        for (DesDirection direction : {DesDirection::Encrypt, DesDirection::Decrypt}) {
            const bool decrypt = direction == DesDirection::Decrypt;
            const DesKeyedStage single{halves[0], direction};
            Block out{};
            DES_CryptBlockDerivingKeys(block.data(), out.data(), &single, 1);
            ASSERT_EQ(out, decrypt ? reference[0].Decrypt(block) : reference[0].Encrypt(block));

            const DesKeyedStage triple[3] = {
                {halves[decrypt ? 2 : 0], direction},
                {halves[1], decrypt ? DesDirection::Encrypt : DesDirection::Decrypt},
                {halves[decrypt ? 0 : 2], direction},
            };
            const Block expected = decrypt ? reference[0].Decrypt(reference[1].Encrypt(reference[2].Decrypt(block)))
                                           : reference[2].Encrypt(reference[1].Decrypt(reference[0].Encrypt(block)));
            Block inPlace = block;
            DES_CryptBlockDerivingKeys(inPlace.data(), inPlace.data(), triple, 3);
            ASSERT_EQ(inPlace, expected);
        }
    }
}

// Each of the three ways in which the variant departs from FIPS 46-3 must
// show in the output, or the oracle comparison above could not tell a block
// routine that gets one of them wrong.
TEST(DesCryptBlock, DiffersFromEverySingleDepartureAndFromStandardDes) {
    const DesFlavor wrongFlavors[] = {
        {true, false, false},  // most significant bit first within each byte
        {false, true, false},  // S-box value written most significant bit first
        {false, false, true},  // halves exchanged before IP^-1
        DesFlavor::Standard(),
    };
    const Block key = BlockFromHex("133457799BBCDFF1");
    const Block block = BlockFromHex("0123456789ABCDEF");
    const Block library = LibraryBlock(key, block, DesDirection::Encrypt);
    for (const DesFlavor& flavor : wrongFlavors) {
        const ReferenceDes wrong(key.data(), flavor);
        EXPECT_NE(library, wrong.Encrypt(block));
    }
}

}  // namespace
}  // namespace secure::testing
