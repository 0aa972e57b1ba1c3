// Decodes a whole stream held in memory, fed in pieces of a chosen size, for
// the tests of the decoder and of the publisher's forms.
#pragma once

#include "delta/ZstdDecoder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct DecodeOutcome {
    DecodeStatus fed = DecodeStatus::kOk;  // the last Feed's result
    DecodeStatus finished = DecodeStatus::kOk;
    std::string output;  // what reached the sink
    size_t peakMemory = 0;
};

// A compressed file without `base`, a patch against it; the base's expected
// size is its own.
DecodeOutcome DecodeInMemory(const std::string& stream, uint64_t expectedSize,
                             const std::optional<std::string>& base = std::nullopt, size_t piece = SIZE_MAX);
