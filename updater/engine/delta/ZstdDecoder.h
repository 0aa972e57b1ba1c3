// Decodes one compressed file (.zst) or one patch (.zpatch: the new file
// compressed with the installed copy as its prefix, as `zstd --patch-from`
// writes it) into a sink, as the bytes arrive.
//
// The decoder holds a stream to what the manifest promises: the frame must
// declare exactly the expected size and fit the publisher's window
// (DeltaLimits.h) before anything is decoded, and no byte beyond the
// expected size ever reaches the sink. Its memory is the library's context
// and a window no larger than the file, plus one chunk of output; a patch's
// base is referenced, not copied. Failures are results, never exceptions.
#pragma once

#include "delta/DecodeStatus.h"

#include <cstddef>
#include <cstdint>
#include <memory>

typedef struct ZSTD_DCtx_s ZSTD_DCtx;

// Where the decoded bytes go, a chunk at a time, in order. False stops the
// decoding with DecodeStatus::kSinkFailed.
class DecodeSink {
public:
    virtual ~DecodeSink() = default;
    virtual bool Write(const char* bytes, size_t size) = 0;
};

// The installed copy a patch applies to, in memory for the whole decoding,
// and the size the manifest gives for it.
struct PatchBase {
    const char* bytes = nullptr;
    size_t size = 0;
    uint64_t expectedSize = 0;
};

class ZstdDecoder {
public:
    // A compressed whole file that decodes to `expectedSize` bytes.
    ZstdDecoder(uint64_t expectedSize, DecodeSink& sink);
    // A patch that decodes, against `base`, to `expectedSize` bytes. A base
    // whose size differs from the one the patch was made for fails at once
    // (kWrongBase). A base of the right size but other bytes is caught by
    // the frame's content checksum at its end (kCorrupt); what reached the
    // sink by then is wrong and must be thrown away, as after any failure.
    ZstdDecoder(uint64_t expectedSize, const PatchBase& base, DecodeSink& sink);
    ~ZstdDecoder();
    ZstdDecoder(const ZstdDecoder&) = delete;
    ZstdDecoder& operator=(const ZstdDecoder&) = delete;

    // Decodes what it can of the next bytes of the stream. kOk while all is
    // well; the first failure is kept and returned from then on.
    DecodeStatus Feed(const char* bytes, size_t size);
    // The stream has ended: kOk only when the frame is complete and exactly
    // the expected bytes reached the sink.
    DecodeStatus Finish();

    uint64_t BytesWritten() const { return written_; }
    // The most memory the library held at once during this decoding.
    size_t PeakLibraryMemory() const;

private:
    struct MemoryCount;

    DecodeStatus Fail(DecodeStatus status);
    DecodeStatus CheckFrameHeader(const char* bytes, size_t size, size_t* consumed);
    DecodeStatus Decode(const char* bytes, size_t size);

    uint64_t expected_;
    DecodeSink& sink_;
    std::unique_ptr<MemoryCount> memory_;
    ZSTD_DCtx* context_ = nullptr;
    std::unique_ptr<char[]> chunk_;
    DecodeStatus status_ = DecodeStatus::kOk;
    bool headerChecked_ = false;
    bool frameEnded_ = false;
    uint64_t written_ = 0;
    // The frame header's bytes until the whole header has arrived.
    char header_[18] = {};
    size_t headerSize_ = 0;
};
