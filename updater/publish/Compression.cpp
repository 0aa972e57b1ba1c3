#include "Compression.h"

#include "PublishError.h"
#include "delta/DeltaLimits.h"

#define ZSTD_STATIC_LINKING_ONLY  // the prefix of raw content
#include <zstd.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

struct CCtxFree {
    void operator()(ZSTD_CCtx* context) const { ZSTD_freeCCtx(context); }
};
using CompressionContext = std::unique_ptr<ZSTD_CCtx, CCtxFree>;

void Check(size_t result) {
    if (ZSTD_isError(result)) throw PublishError(std::string("compression failed: ") + ZSTD_getErrorName(result));
}

CompressionContext NewContext() {
    CompressionContext context(ZSTD_createCCtx());
    if (!context) throw PublishError("compression failed: out of memory");
    Check(ZSTD_CCtx_setParameter(context.get(), ZSTD_c_compressionLevel, kCompressionLevel));
    Check(ZSTD_CCtx_setParameter(context.get(), ZSTD_c_contentSizeFlag, 1));
    Check(ZSTD_CCtx_setParameter(context.get(), ZSTD_c_checksumFlag, 1));
    return context;
}

std::string Compress(ZSTD_CCtx* context, const std::string& bytes) {
    std::string out(ZSTD_compressBound(bytes.size()), '\0');
    const size_t size = ZSTD_compress2(context, out.data(), out.size(), bytes.data(), bytes.size());
    Check(size);
    out.resize(size);
    return out;
}

// The number of the highest set bit, as the zstd command line counts it.
int HighestBit(uint64_t value) {
    int bit = 0;
    while (value >>= 1) ++bit;
    return bit;
}

}  // namespace

std::string CompressWhole(const std::string& bytes) {
    const CompressionContext context = NewContext();
    return Compress(context.get(), bytes);
}

std::optional<std::string> CompressPatch(const std::string& base, const std::string& bytes) {
    const uint64_t largest = std::max(base.size(), bytes.size());
    if (largest >= kMaxPatchedFileSize) return std::nullopt;
    const int windowLog = std::max<int>(ZSTD_WINDOWLOG_MIN, HighestBit(largest) + 1);
    const CompressionContext context = NewContext();
    Check(ZSTD_CCtx_setParameter(context.get(), ZSTD_c_windowLog, windowLog));
    Check(ZSTD_CCtx_setParameter(context.get(), ZSTD_c_enableLongDistanceMatching, 1));
    Check(ZSTD_CCtx_refPrefix_advanced(context.get(), base.data(), base.size(), ZSTD_dct_rawContent));
    return Compress(context.get(), bytes);
}
