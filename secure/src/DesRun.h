// Buffer routines shared by the DES exports: refusal rules, key buffers and
// the electronic-codebook walk over the whole blocks of a buffer.
#pragma once

#include <cstdint>

#include "DesBlock.h"

namespace secure {

// Single DES over the whole blocks of input with the first 8 key bytes
// (zero-padded). Refuses (false, nothing written) a null input or key and a
// length below 1; trailing bytes after the last whole block are not touched.
bool DES_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength, std::uint8_t* output,
             DesDirection direction);

// Triple DES (encrypt-decrypt-encrypt) with keys 1, 2, 3 from the first 24
// key bytes (zero-padded; key 3 is key 1 unless more than 16 bytes are
// given). Keys shorter than 8 bytes fall back to DES_Run.
bool DES3_Run(const std::uint8_t* input, int inputLength, const std::uint8_t* key, int keyLength,
              std::uint8_t* output, DesDirection direction);

}  // namespace secure
