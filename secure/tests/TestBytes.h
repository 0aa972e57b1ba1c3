// Small helpers for byte-level test data.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "DesReference.h"

namespace secure::testing {

inline Block BlockFromHex(const std::string& hex) {
    Block block{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        block[i] = static_cast<std::uint8_t>(std::stoul(hex.substr(2 * i, 2), nullptr, 16));
    }
    return block;
}

inline std::vector<std::uint8_t> RandomBytes(std::mt19937& generator, std::size_t count) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(generator));
    return bytes;
}

inline Block RandomBlock(std::mt19937& generator) {
    Block block{};
    const auto bytes = RandomBytes(generator, block.size());
    std::copy(bytes.begin(), bytes.end(), block.begin());
    return block;
}

}  // namespace secure::testing
