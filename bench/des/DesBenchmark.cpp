// DES-ECB and triple-DES-ECB: the library's exports against OpenSSL's DES,
// at 8 bytes, 64 bytes, 4 KiB and 1 MiB. Key set-up is part of every call on
// both sides, since the exports derive their round keys on every call.
#include <secure.h>

#include <benchmark/benchmark.h>
#include <openssl/des.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

const unsigned char kKey[24] = {0x13, 0x34, 0x57, 0x79, 0x9B, 0xBC, 0xDF, 0xF1, 0x01, 0x23, 0x45, 0x67,
                                0x89, 0xAB, 0xCD, 0xEF, 0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};

std::vector<unsigned char> Plaintext(std::size_t length)
{
    std::vector<unsigned char> bytes(length);
    uint32_t state = 12345;
    for (unsigned char& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

// OpenSSL declares its read-only block without const; it only reads it.
const_DES_cblock* Block(const unsigned char* bytes)
{
    return reinterpret_cast<const_DES_cblock*>(const_cast<unsigned char*>(bytes));
}

void OpenSslDesEcb(const unsigned char* input, std::size_t length, unsigned char* output)
{
    DES_cblock key;
    std::memcpy(key, kKey, 8);
    DES_key_schedule schedule;
    DES_set_key_unchecked(&key, &schedule);
    for (std::size_t offset = 0; offset + 8 <= length; offset += 8) {
        DES_ecb_encrypt(Block(input + offset),
                        reinterpret_cast<DES_cblock*>(output + offset), &schedule, DES_ENCRYPT);
    }
}

void OpenSslDes3Ecb(const unsigned char* input, std::size_t length, unsigned char* output)
{
    DES_cblock keys[3];
    std::memcpy(keys, kKey, 24);
    DES_key_schedule schedules[3];
    for (int i = 0; i < 3; ++i) {
        DES_set_key_unchecked(&keys[i], &schedules[i]);
    }
    for (std::size_t offset = 0; offset + 8 <= length; offset += 8) {
        DES_ecb3_encrypt(Block(input + offset),
                         reinterpret_cast<DES_cblock*>(output + offset), &schedules[0], &schedules[1],
                         &schedules[2], DES_ENCRYPT);
    }
}

template <typename Encrypt>
void Measure(benchmark::State& state, Encrypt encrypt)
{
    const auto length = static_cast<std::size_t>(state.range(0));
    const std::vector<unsigned char> input = Plaintext(length);
    std::vector<unsigned char> output(length);
    for (auto _ : state) {
        encrypt(input.data(), length, output.data());
        benchmark::DoNotOptimize(output.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(length));
}

void DesEcbOurs(benchmark::State& state)
{
    Measure(state, [&state](const unsigned char* in, std::size_t length, unsigned char* out) {
        if (!DES_Encrypt(in, static_cast<int>(length), kKey, 8, out)) {
            state.SkipWithError("DES_Encrypt refused the call");
        }
    });
}

void DesEcbOpenSsl(benchmark::State& state) { Measure(state, OpenSslDesEcb); }

void Des3EcbOurs(benchmark::State& state)
{
    Measure(state, [&state](const unsigned char* in, std::size_t length, unsigned char* out) {
        if (!DES3_Encrypt(in, static_cast<int>(length), kKey, 24, out)) {
            state.SkipWithError("DES3_Encrypt refused the call");
        }
    });
}

void Des3EcbOpenSsl(benchmark::State& state) { Measure(state, OpenSslDes3Ecb); }

#define SIZES ->Arg(8)->Arg(64)->Arg(4096)->Arg(1 << 20)

BENCHMARK(DesEcbOurs) SIZES;
BENCHMARK(DesEcbOpenSsl) SIZES;
BENCHMARK(Des3EcbOurs) SIZES;
BENCHMARK(Des3EcbOpenSsl) SIZES;

}  // namespace

BENCHMARK_MAIN();
