// Applying a patch the publisher wrote: the updater's decoder turns the
// installed copy and the patch, both in memory, into the new file in memory.
// What the updater adds around it (reading the copy, writing the file) is
// left out; the bench compares the decoding with the time the network takes.
//
// bench_patch [benchmark options] <installed copy> <patch> <new file>
// Before timing, the patch must decode against the copy to exactly the new
// file's bytes.
#include "WholeFile.h"
#include "delta/ZstdDecoder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Keeps the decoded file in memory, in a buffer sized once for it.
class MemorySink : public DecodeSink {
public:
    explicit MemorySink(std::string& buffer) : m_buffer(buffer) {}

    bool Write(const char* bytes, size_t size) override
    {
        if (size > m_buffer.size() - m_used) {
            return false;
        }
        std::memcpy(&m_buffer[m_used], bytes, size);
        m_used += size;
        return true;
    }

    size_t Used() const { return m_used; }

private:
    std::string& m_buffer;
    size_t m_used = 0;
};

// The patch fed whole, as after its download; true when it decoded to the
// expected size with its checksum.
bool ApplyPatch(const std::string& base, const std::string& patch, std::string& output)
{
    MemorySink sink(output);
    ZstdDecoder decoder(output.size(), PatchBase{base.data(), base.size(), base.size()}, sink);
    return decoder.Feed(patch.data(), patch.size()) == DecodeStatus::kOk && decoder.Finish() == DecodeStatus::kOk &&
           sink.Used() == output.size();
}

bool ReadInput(const char* path, std::string* bytes)
{
    if (!ReadWholeFile(path, bytes)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_patch [benchmark options] <installed copy> <patch> <new file>\n");
        return 2;
    }
    std::string base, patch, expected;
    if (!ReadInput(argv[1], &base) || !ReadInput(argv[2], &patch) || !ReadInput(argv[3], &expected)) {
        return 1;
    }

    std::string output(expected.size(), '\0');
    if (!ApplyPatch(base, patch, output) || output != expected) {
        std::fprintf(stderr, "%s does not turn %s into %s\n", argv[2], argv[1], argv[3]);
        return 1;
    }

    benchmark::RegisterBenchmark("ApplyPatch", [&](benchmark::State& state) {
        for (auto _ : state) {
            if (!ApplyPatch(base, patch, output)) {
                state.SkipWithError("the patch did not decode");
            }
            benchmark::DoNotOptimize(output.data());
        }
        state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(expected.size()));
    })->Unit(benchmark::kMicrosecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
