#include "DesRun.h"

#include <algorithm>
#include <cstring>

#include "DesBlockPath.h"

namespace secure {
namespace {

constexpr int kBlockSize = 8;
constexpr int kTripleKeySize = 24;

bool IsRefused(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength) {
    return input == nullptr || inputLength < 1 || key == nullptr || keyLength < 1;
}

// Triple DES: E(K1) D(K2) E(K3) to encrypt, D(K3) E(K2) D(K1) to decrypt.
template <class Stage, class Key>
void ArrangeTripleStages(const Key& key1, const Key& key2, const Key& key3, DesDirection direction,
                         Stage (&stages)[3]) {
    const bool encrypt = direction == DesDirection::Encrypt;
    const DesDirection middle = encrypt ? DesDirection::Decrypt : DesDirection::Encrypt;
    stages[0] = Stage{encrypt ? key1 : key3, direction};
    stages[1] = Stage{key2, middle};
    stages[2] = Stage{encrypt ? key3 : key1, direction};
}

}  // namespace

bool DES_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength, std::uint8_t* output,
             DesDirection direction) {
    if (IsRefused(input, inputLength, key, keyLength)) return false;

    std::uint8_t keyBuffer[kBlockSize] = {};
    std::memcpy(keyBuffer, key, static_cast<std::size_t>(std::min(keyLength, kBlockSize)));
    const int blockCount = inputLength / kBlockSize;
    if (blockCount == 1) {
        const DesKeyedStage stage{DES_MakeHalfKeys(keyBuffer), direction};
        DES_CryptBlockDerivingKeys(input, output, &stage, 1);
        return true;
    }

    DesRoundKeys roundKeys;
    DES_MakeSubkeys(keyBuffer, roundKeys);
    const DesStage stage{&roundKeys, direction};
    SelectDesBlockPath().runBlocks(input, output, static_cast<std::size_t>(blockCount), &stage, 1);
    return true;
}

bool DES3_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength,
              std::uint8_t* output, DesDirection direction) {
    if (IsRefused(input, inputLength, key, keyLength)) return false;
    if (keyLength < kBlockSize) return DES_Run(input, inputLength, key, keyLength, output, direction);

    std::uint8_t keyBuffer[kTripleKeySize] = {};
    std::memcpy(keyBuffer, key, static_cast<std::size_t>(std::min(keyLength, kTripleKeySize)));
    const std::uint8_t* key3 = keyLength > 2 * kBlockSize ? keyBuffer + 2 * kBlockSize : keyBuffer;

    const int blockCount = inputLength / kBlockSize;
    if (blockCount == 1) {
        DesKeyedStage stages[3];
        ArrangeTripleStages(DES_MakeHalfKeys(keyBuffer), DES_MakeHalfKeys(keyBuffer + kBlockSize),
                            DES_MakeHalfKeys(key3), direction, stages);
        DES_CryptBlockDerivingKeys(input, output, stages, 3);
        return true;
    }

    DesRoundKeys roundKeys1, roundKeys2, roundKeys3;
    DES_MakeSubkeys(keyBuffer, roundKeys1);
    DES_MakeSubkeys(keyBuffer + kBlockSize, roundKeys2);
    DES_MakeSubkeys(key3, roundKeys3);
    DesStage stages[3];
    ArrangeTripleStages(&roundKeys1, &roundKeys2, &roundKeys3, direction, stages);
    SelectDesBlockPath().runBlocks(input, output, static_cast<std::size_t>(blockCount), stages, 3);
    return true;
}

}  // namespace secure
