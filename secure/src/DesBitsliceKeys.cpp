#include "DesBitsliceKeys.h"

namespace secure::bitslice {

void ExpandStageKeys(const DesStage& stage, StageKeys& keys) {
    const bool decrypt = stage.direction == DesDirection::Decrypt;
    keys.exchangesHalves = decrypt;
    for (int applied = 0; applied < 16; ++applied) {
        const int round = decrypt ? 15 - applied : applied;
        for (int group = 0; group < 8; ++group) {
            // Groups 1, 3, 5, 7 (even zero-based numbers) sit in oddGroups.
            const std::uint32_t word =
                group % 2 == 0 ? stage.roundKeys->oddGroups[round] : stage.roundKeys->evenGroups[round];
            const std::uint32_t bits = (word >> (8 * (group / 2))) & 0x3F;
            for (int k = 0; k < 6; ++k) {
                keys.masks[applied][6 * group + k] = std::uint64_t{0} - ((bits >> k) & 1);
            }
        }
    }
}

}  // namespace secure::bitslice
