#include "delta/ZstdDecoder.h"

#include "delta/DeltaLimits.h"

#define ZSTD_STATIC_LINKING_ONLY  // frame header and custom allocation
#include <zstd.h>
#include <zstd_errors.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Output is handed to the sink in pieces of this size.
constexpr size_t kChunkBytes = 64 * 1024;

static_assert(ZSTD_FRAMEHEADERSIZE_MAX == 18, "the header buffer in ZstdDecoder.h holds a whole frame header");

DecodeStatus StatusOfError(size_t code) {
    switch (ZSTD_getErrorCode(code)) {
        case ZSTD_error_frameParameter_windowTooLarge: return DecodeStatus::kWindowTooLarge;
        case ZSTD_error_memory_allocation: return DecodeStatus::kNoMemory;
        case ZSTD_error_dstSize_tooSmall: return DecodeStatus::kTooLong;
        default: return DecodeStatus::kCorrupt;
    }
}

}  // namespace

// Counts what the library allocates: each block carries its size in front.
struct ZstdDecoder::MemoryCount {
    static constexpr size_t kHeader = alignof(std::max_align_t);
    size_t current = 0;
    size_t peak = 0;

    static void* Allocate(void* opaque, size_t size) {
        auto* count = static_cast<MemoryCount*>(opaque);
        if (size > SIZE_MAX - kHeader) return nullptr;
        auto* block = static_cast<char*>(std::malloc(size + kHeader));
        if (!block) return nullptr;
        std::memcpy(block, &size, sizeof size);
        count->current += size;
        count->peak = std::max(count->peak, count->current);
        return block + kHeader;
    }
    static void Free(void* opaque, void* address) {
        if (!address) return;
        char* block = static_cast<char*>(address) - kHeader;
        size_t size;
        std::memcpy(&size, block, sizeof size);
        static_cast<MemoryCount*>(opaque)->current -= size;
        std::free(block);
    }
};

ZstdDecoder::ZstdDecoder(uint64_t expectedSize, DecodeSink& sink)
    : expected_(expectedSize), sink_(sink), memory_(new (std::nothrow) MemoryCount) {
    if (!memory_) {
        status_ = DecodeStatus::kNoMemory;
        return;
    }
    const ZSTD_customMem allocator{&MemoryCount::Allocate, &MemoryCount::Free, memory_.get()};
    context_ = ZSTD_createDCtx_advanced(allocator);
    chunk_.reset(new (std::nothrow) char[kChunkBytes]);
    if (!context_ || !chunk_ || ZSTD_isError(ZSTD_DCtx_setParameter(context_, ZSTD_d_windowLogMax, kMaxWindowLog))) {
        status_ = DecodeStatus::kNoMemory;
    }
}

ZstdDecoder::ZstdDecoder(uint64_t expectedSize, const PatchBase& base, DecodeSink& sink)
    : ZstdDecoder(expectedSize, sink) {
    if (status_ != DecodeStatus::kOk) return;
    if (base.size != base.expectedSize) {
        status_ = DecodeStatus::kWrongBase;
        return;
    }
    // The base is the raw content before the new file, never read as a
    // dictionary of the format's own, whatever its first bytes.
    const size_t result = ZSTD_DCtx_refPrefix_advanced(context_, base.bytes, base.size, ZSTD_dct_rawContent);
    if (ZSTD_isError(result)) status_ = StatusOfError(result);
}

ZstdDecoder::~ZstdDecoder() { ZSTD_freeDCtx(context_); }

size_t ZstdDecoder::PeakLibraryMemory() const { return memory_ ? memory_->peak : 0; }

DecodeStatus ZstdDecoder::Fail(DecodeStatus status) {
    status_ = status;
    return status;
}

DecodeStatus ZstdDecoder::Feed(const char* bytes, size_t size) {
    if (status_ != DecodeStatus::kOk) return status_;
    if (!headerChecked_) {
        size_t consumed = 0;
        const DecodeStatus header = CheckFrameHeader(bytes, size, &consumed);
        if (header != DecodeStatus::kOk || !headerChecked_) return header;
        // The header's bytes first, then the rest of this piece.
        const DecodeStatus first = Decode(header_, headerSize_);
        if (first != DecodeStatus::kOk) return first;
        bytes += consumed;
        size -= consumed;
    }
    return Decode(bytes, size);
}

// Gathers the frame header and judges it before the library sees any of the
// frame, so that a window or size beyond the promise costs no memory.
DecodeStatus ZstdDecoder::CheckFrameHeader(const char* bytes, size_t size, size_t* consumed) {
    while (*consumed < size) {
        header_[headerSize_++] = bytes[(*consumed)++];
        ZSTD_frameHeader frame;
        const size_t needed = ZSTD_getFrameHeader(&frame, header_, headerSize_);
        if (ZSTD_isError(needed)) return Fail(DecodeStatus::kCorrupt);
        if (needed > 0) continue;
        if (frame.frameType != ZSTD_frame) return Fail(DecodeStatus::kCorrupt);
        if (frame.frameContentSize != expected_) return Fail(DecodeStatus::kSizeMismatch);
        if (frame.windowSize > (uint64_t{1} << kMaxWindowLog)) return Fail(DecodeStatus::kWindowTooLarge);
        headerChecked_ = true;
        return DecodeStatus::kOk;
    }
    return DecodeStatus::kOk;
}

DecodeStatus ZstdDecoder::Decode(const char* bytes, size_t size) {
    ZSTD_inBuffer input{bytes, size, 0};
    for (;;) {
        if (frameEnded_) {
            return input.pos < input.size ? Fail(DecodeStatus::kCorrupt) : DecodeStatus::kOk;
        }
        // Room for one byte past the expected size at most: that byte, should
        // the stream produce it, is the proof of excess and is never passed on.
        const uint64_t left = expected_ - written_;
        const size_t room = left >= kChunkBytes ? kChunkBytes : static_cast<size_t>(left) + 1;
        ZSTD_outBuffer output{chunk_.get(), room, 0};
        const size_t result = ZSTD_decompressStream(context_, &output, &input);
        if (ZSTD_isError(result)) return Fail(StatusOfError(result));
        if (output.pos > left) return Fail(DecodeStatus::kTooLong);
        if (output.pos > 0 && !sink_.Write(chunk_.get(), output.pos)) return Fail(DecodeStatus::kSinkFailed);
        written_ += output.pos;
        if (result == 0) {
            frameEnded_ = true;
            continue;
        }
        // Everything taken and nothing more to flush without new input.
        if (input.pos == input.size && output.pos < output.size) return DecodeStatus::kOk;
    }
}

DecodeStatus ZstdDecoder::Finish() {
    if (status_ != DecodeStatus::kOk) return status_;
    if (!frameEnded_) return Fail(DecodeStatus::kTruncated);
    if (written_ != expected_) return Fail(DecodeStatus::kTruncated);
    return DecodeStatus::kOk;
}
