// The bitsliced block paths, one per register width. DesBitsliced.cpp is
// compiled once for each width and defines the path of that width; the SSE2
// and AVX2 builds exist only where the build says so (SECURE_SSE2_PATH,
// SECURE_AVX2_PATH). Reach them through FindDesBlockPath, which also asks
// the processor.
#pragma once

#include "des/Des.h"

namespace secure {

// 64 blocks per batch in plain 64-bit words, on any processor.
const DesBlockPath& PortableDesBlockPath();
// 128 blocks per batch in SSE2 registers.
const DesBlockPath& Sse2DesBlockPath();
// 256 blocks per batch in AVX2 registers.
const DesBlockPath& Avx2DesBlockPath();

}  // namespace secure
