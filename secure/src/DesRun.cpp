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

}  // namespace

bool DES_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength, std::uint8_t* output,
             DesDirection direction) {
    if (IsRefused(input, inputLength, key, keyLength)) return false;

    std::uint8_t keyBuffer[kBlockSize] = {};
    std::memcpy(keyBuffer, key, static_cast<std::size_t>(std::min(keyLength, kBlockSize)));
    if (inputLength / kBlockSize == 1) {
        const DesKeyedStage stage{DES_MakeHalfKeys(keyBuffer), direction};
        DES_CryptBlockDerivingKeys(input, output, &stage, 1);
        return true;
    }
    DesRoundKeys roundKeys;
    DES_MakeSubkeys(keyBuffer, roundKeys);

    const DesStage stage{&roundKeys, direction};
    SelectDesBlockPath().runBlocks(input, output, static_cast<std::size_t>(inputLength / kBlockSize), &stage, 1);
    return true;
}

bool DES3_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength,
              std::uint8_t* output, DesDirection direction) {
    if (IsRefused(input, inputLength, key, keyLength)) return false;
    if (keyLength < kBlockSize) return DES_Run(input, inputLength, key, keyLength, output, direction);

    std::uint8_t keyBuffer[kTripleKeySize] = {};
    std::memcpy(keyBuffer, key, static_cast<std::size_t>(std::min(keyLength, kTripleKeySize)));
    const std::uint8_t* key3 = keyLength > 2 * kBlockSize ? keyBuffer + 2 * kBlockSize : keyBuffer;

    if (inputLength / kBlockSize == 1) {
        const DesHalfKeys halfKeys1 = DES_MakeHalfKeys(keyBuffer);
        const DesHalfKeys halfKeys2 = DES_MakeHalfKeys(keyBuffer + kBlockSize);
        const DesHalfKeys halfKeys3 = DES_MakeHalfKeys(key3);
        const DesKeyedStage encryption[3] = {{halfKeys1, DesDirection::Encrypt},
                                             {halfKeys2, DesDirection::Decrypt},
                                             {halfKeys3, DesDirection::Encrypt}};
        const DesKeyedStage decryption[3] = {{halfKeys3, DesDirection::Decrypt},
                                             {halfKeys2, DesDirection::Encrypt},
                                             {halfKeys1, DesDirection::Decrypt}};
        DES_CryptBlockDerivingKeys(input, output, direction == DesDirection::Encrypt ? encryption : decryption, 3);
        return true;
    }

    DesRoundKeys roundKeys1, roundKeys2, roundKeys3;
    DES_MakeSubkeys(keyBuffer, roundKeys1);
    DES_MakeSubkeys(keyBuffer + kBlockSize, roundKeys2);
    DES_MakeSubkeys(key3, roundKeys3);

    const DesStage encryption[3] = {{&roundKeys1, DesDirection::Encrypt},
                                    {&roundKeys2, DesDirection::Decrypt},
                                    {&roundKeys3, DesDirection::Encrypt}};
    const DesStage decryption[3] = {{&roundKeys3, DesDirection::Decrypt},
                                    {&roundKeys2, DesDirection::Encrypt},
                                    {&roundKeys1, DesDirection::Decrypt}};
    const DesStage* stages = direction == DesDirection::Encrypt ? encryption : decryption;
    SelectDesBlockPath().runBlocks(input, output, static_cast<std::size_t>(inputLength / kBlockSize), stages, 3);
    return true;
}

}  // namespace secure
