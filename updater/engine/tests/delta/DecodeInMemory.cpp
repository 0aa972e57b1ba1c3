#include "DecodeInMemory.h"

#include <algorithm>

namespace {

class StringSink : public DecodeSink {
public:
    bool Write(const char* bytes, size_t size) override {
        text.append(bytes, size);
        return true;
    }
    std::string text;
};

}  // namespace

DecodeOutcome DecodeInMemory(const std::string& stream, uint64_t expectedSize, const std::optional<std::string>& base,
                             size_t piece) {
    StringSink sink;
    std::optional<ZstdDecoder> decoder;
    if (base) {
        decoder.emplace(expectedSize, PatchBase{base->data(), base->size(), base->size()}, sink);
    } else {
        decoder.emplace(expectedSize, sink);
    }
    DecodeOutcome outcome;
    for (size_t at = 0; at < stream.size() && outcome.fed == DecodeStatus::kOk; at += piece) {
        outcome.fed = decoder->Feed(stream.data() + at, std::min(piece, stream.size() - at));
    }
    outcome.finished = decoder->Finish();
    outcome.output = sink.text;
    outcome.peakMemory = decoder->PeakLibraryMemory();
    return outcome;
}
