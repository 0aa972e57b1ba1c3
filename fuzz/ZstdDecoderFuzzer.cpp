// The decoder of compressed files and patches, fed a stream from outside.
// Input: 4 bytes of the expected size (little-endian, at most 1 MiB), one
// byte whose low bit asks for a patch and whose upper bits set the size of
// the pieces the stream is fed in, for a patch 2 bytes of the base's length
// and the base itself, then the stream. Rules: no byte past the expected
// size ever reaches the sink, and a decoding that ends well wrote exactly
// the expected bytes.
#include "FuzzCheck.h"

#include "delta/ZstdDecoder.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

namespace {

class CountingSink : public DecodeSink {
public:
    bool Write(const char*, size_t size) override {
        written += size;
        return true;
    }
    uint64_t written = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const uint64_t expected =
        (uint64_t{data[0]} | uint64_t{data[1]} << 8 | uint64_t{data[2]} << 16 | uint64_t{data[3]} << 24) %
        (uint64_t{1} << 20);
    const bool patch = (data[4] & 1) != 0;
    const size_t piece = 1 + (data[4] >> 1) * 97;
    size_t at = 5;
    std::string base;
    if (patch) {
        if (size < at + 2) return 0;
        const size_t baseLength = std::min<size_t>(data[at] | size_t{data[at + 1]} << 8, size - at - 2);
        base.assign(reinterpret_cast<const char*>(data + at + 2), baseLength);
        at += 2 + baseLength;
    }

    CountingSink sink;
    const PatchBase patchBase{base.data(), base.size(), base.size()};
    std::unique_ptr<ZstdDecoder> decoder = patch ? std::make_unique<ZstdDecoder>(expected, patchBase, sink)
                                                 : std::make_unique<ZstdDecoder>(expected, sink);
    DecodeStatus status = DecodeStatus::kOk;
    for (size_t from = at; from < size && status == DecodeStatus::kOk; from += piece) {
        status = decoder->Feed(reinterpret_cast<const char*>(data + from), std::min(piece, size - from));
        FUZZ_CHECK(sink.written <= expected);
    }
    if (status == DecodeStatus::kOk) status = decoder->Finish();
    FUZZ_CHECK(sink.written <= expected);
    FUZZ_CHECK(decoder->BytesWritten() == sink.written);
    FUZZ_CHECK(status != DecodeStatus::kOk || sink.written == expected);
    return 0;
}
