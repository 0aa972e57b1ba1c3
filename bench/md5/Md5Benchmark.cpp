// MD5 of a large file with the page cache warm: the engine's support routine
// against OpenSSL's MD5 over the same file read in 64 KiB pieces.
//
// bench_md5 [benchmark options] <file> [size in MiB]
// The file is written first when it is missing or of another size.
#include "HexText.h"
#include "Md5.h"
#include "StdioFile.h"

#include <benchmark/benchmark.h>
#include <openssl/evp.h>

#include <cstdint>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using File = StdioFile;

long long FileSize(const std::string& path)
{
    File file(std::fopen(path.c_str(), "rb"));
    if (!file || std::fseek(file.Get(), 0, SEEK_END) != 0) {
        return -1;
    }
    return std::ftell(file.Get());
}

bool WriteFile(const std::string& path, long long size)
{
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    std::vector<unsigned char> piece(1 << 20);
    uint64_t state = 0x9E3779B97F4A7C15ull;
    for (long long written = 0; written < size; written += static_cast<long long>(piece.size())) {
        for (unsigned char& b : piece) {
            state ^= state << 13;
            state ^= state >> 7;
            state ^= state << 17;
            b = static_cast<unsigned char>(state);
        }
        if (std::fwrite(piece.data(), 1, piece.size(), file.Get()) != piece.size()) {
            return false;
        }
    }
    return true;
}

// The baseline: the file read in 64 KiB pieces into OpenSSL's MD5.
bool OpenSslMd5OfFile(const std::string& path, unsigned char digest[16])
{
    File file(std::fopen(path.c_str(), "rb"));
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    if (!file || !context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) {
        return false;
    }
    std::vector<unsigned char> piece(64 * 1024);
    std::size_t got;
    while ((got = std::fread(piece.data(), 1, piece.size(), file.Get())) > 0) {
        EVP_DigestUpdate(context.get(), piece.data(), got);
    }
    unsigned int length = 0;
    return EVP_DigestFinal_ex(context.get(), digest, &length) == 1 && length == 16;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_md5 [benchmark options] <file> [size in MiB]\n");
        return 2;
    }
    const std::string path = argv[1];
    const long long size = (argc > 2 ? std::atoll(argv[2]) : 256) * 1024 * 1024;
    if (FileSize(path) != size && !WriteFile(path, size)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }

    // Both sides must compute the same digest; this read also warms the cache.
    unsigned char theirs[16] = {};
    const std::optional<std::string> ours = Md5TextOfFile(path);
    if (!ours || !OpenSslMd5OfFile(path, theirs) || *ours != HexText(theirs, sizeof theirs, HexLetters::kUpper)) {
        std::fprintf(stderr, "the two digests of %s differ\n", path.c_str());
        return 1;
    }

    benchmark::RegisterBenchmark("Md5File/ours", [&](benchmark::State& state) {
        for (auto _ : state) {
            std::optional<std::string> digest = Md5TextOfFile(path);
            benchmark::DoNotOptimize(digest);
        }
        state.SetBytesProcessed(state.iterations() * size);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Md5File/openssl", [&](benchmark::State& state) {
        for (auto _ : state) {
            unsigned char digest[16] = {};
            if (!OpenSslMd5OfFile(path, digest)) {
                state.SkipWithError("OpenSSL MD5 failed");
            }
            benchmark::DoNotOptimize(digest);
        }
        state.SetBytesProcessed(state.iterations() * size);
    })->Unit(benchmark::kMillisecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
