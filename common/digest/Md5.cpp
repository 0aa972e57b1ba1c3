#include "Md5.h"

#include "HexText.h"
#include "WholeFile.h"

#include <cstring>

namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

constexpr int kShift[64] = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21,
};

inline uint32_t RotateLeft(uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

}  // namespace

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}, buffer_{} {}

void Md5::Update(const void* data, size_t length) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    size_t used = static_cast<size_t>((bitCount_ / 8) % 64);
    bitCount_ += static_cast<uint64_t>(length) * 8;
    // Complete a block begun by an earlier call.
    if (used > 0) {
        size_t take = 64 - used < length ? 64 - used : length;
        std::memcpy(buffer_ + used, bytes, take);
        used += take;
        bytes += take;
        length -= take;
        if (used < 64) return;
        Transform(buffer_);
    }
    // Whole blocks straight from the caller's bytes, the rest kept for later.
    for (; length >= 64; bytes += 64, length -= 64) Transform(bytes);
    if (length > 0) std::memcpy(buffer_, bytes, length);
}

void Md5::Final(unsigned char digest[16]) {
    unsigned char lengthBytes[8];
    for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<unsigned char>(bitCount_ >> (8 * i));
    const unsigned char pad = 0x80;
    Update(&pad, 1);
    const unsigned char zero = 0;
    while ((bitCount_ / 8) % 64 != 56) Update(&zero, 1);
    Update(lengthBytes, 8);
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<unsigned char>(state_[i / 4] >> (8 * (i % 4)));
}

// The four auxiliary functions of RFC 1321, in forms with fewer operations
// that give the same bits.
#define MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define MD5_G(x, y, z) ((y) ^ ((z) & ((x) ^ (y))))
#define MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))
// One step: a = b + ((a + f(b, c, d) + word + constant) <<< shift).
#define MD5_STEP(f, a, b, c, d, word, i) \
    a = b + RotateLeft(a + (word) + kSine[i] + f(b, c, d), kShift[i])
// G as the sum of its two disjoint halves: the half without b can be added
// while b is still being computed.
#define MD5_STEP_G(a, b, c, d, word, i) \
    a = b + RotateLeft(a + (word) + kSine[i] + (c & ~d) + (b & d), kShift[i])

// The 64 steps written out, so that word indices, constants and rotations
// are fixed at compile time and the four chaining words stay in registers.
void Md5::Transform(const unsigned char block[64]) {
    uint32_t w[16];
    for (int i = 0; i < 16; ++i) {
        w[i] = static_cast<uint32_t>(block[i * 4]) | static_cast<uint32_t>(block[i * 4 + 1]) << 8 |
               static_cast<uint32_t>(block[i * 4 + 2]) << 16 | static_cast<uint32_t>(block[i * 4 + 3]) << 24;
    }
    uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];

    MD5_STEP(MD5_F, a, b, c, d, w[0], 0);    MD5_STEP(MD5_F, d, a, b, c, w[1], 1);
    MD5_STEP(MD5_F, c, d, a, b, w[2], 2);    MD5_STEP(MD5_F, b, c, d, a, w[3], 3);
    MD5_STEP(MD5_F, a, b, c, d, w[4], 4);    MD5_STEP(MD5_F, d, a, b, c, w[5], 5);
    MD5_STEP(MD5_F, c, d, a, b, w[6], 6);    MD5_STEP(MD5_F, b, c, d, a, w[7], 7);
    MD5_STEP(MD5_F, a, b, c, d, w[8], 8);    MD5_STEP(MD5_F, d, a, b, c, w[9], 9);
    MD5_STEP(MD5_F, c, d, a, b, w[10], 10);  MD5_STEP(MD5_F, b, c, d, a, w[11], 11);
    MD5_STEP(MD5_F, a, b, c, d, w[12], 12);  MD5_STEP(MD5_F, d, a, b, c, w[13], 13);
    MD5_STEP(MD5_F, c, d, a, b, w[14], 14);  MD5_STEP(MD5_F, b, c, d, a, w[15], 15);

    MD5_STEP_G(a, b, c, d, w[1], 16);   MD5_STEP_G(d, a, b, c, w[6], 17);
    MD5_STEP_G(c, d, a, b, w[11], 18);  MD5_STEP_G(b, c, d, a, w[0], 19);
    MD5_STEP_G(a, b, c, d, w[5], 20);   MD5_STEP_G(d, a, b, c, w[10], 21);
    MD5_STEP_G(c, d, a, b, w[15], 22);  MD5_STEP_G(b, c, d, a, w[4], 23);
    MD5_STEP_G(a, b, c, d, w[9], 24);   MD5_STEP_G(d, a, b, c, w[14], 25);
    MD5_STEP_G(c, d, a, b, w[3], 26);   MD5_STEP_G(b, c, d, a, w[8], 27);
    MD5_STEP_G(a, b, c, d, w[13], 28);  MD5_STEP_G(d, a, b, c, w[2], 29);
    MD5_STEP_G(c, d, a, b, w[7], 30);   MD5_STEP_G(b, c, d, a, w[12], 31);

    MD5_STEP(MD5_H, a, b, c, d, w[5], 32);   MD5_STEP(MD5_H, d, a, b, c, w[8], 33);
    MD5_STEP(MD5_H, c, d, a, b, w[11], 34);  MD5_STEP(MD5_H, b, c, d, a, w[14], 35);
    MD5_STEP(MD5_H, a, b, c, d, w[1], 36);   MD5_STEP(MD5_H, d, a, b, c, w[4], 37);
    MD5_STEP(MD5_H, c, d, a, b, w[7], 38);   MD5_STEP(MD5_H, b, c, d, a, w[10], 39);
    MD5_STEP(MD5_H, a, b, c, d, w[13], 40);  MD5_STEP(MD5_H, d, a, b, c, w[0], 41);
    MD5_STEP(MD5_H, c, d, a, b, w[3], 42);   MD5_STEP(MD5_H, b, c, d, a, w[6], 43);
    MD5_STEP(MD5_H, a, b, c, d, w[9], 44);   MD5_STEP(MD5_H, d, a, b, c, w[12], 45);
    MD5_STEP(MD5_H, c, d, a, b, w[15], 46);  MD5_STEP(MD5_H, b, c, d, a, w[2], 47);

    MD5_STEP(MD5_I, a, b, c, d, w[0], 48);   MD5_STEP(MD5_I, d, a, b, c, w[7], 49);
    MD5_STEP(MD5_I, c, d, a, b, w[14], 50);  MD5_STEP(MD5_I, b, c, d, a, w[5], 51);
    MD5_STEP(MD5_I, a, b, c, d, w[12], 52);  MD5_STEP(MD5_I, d, a, b, c, w[3], 53);
    MD5_STEP(MD5_I, c, d, a, b, w[10], 54);  MD5_STEP(MD5_I, b, c, d, a, w[1], 55);
    MD5_STEP(MD5_I, a, b, c, d, w[8], 56);   MD5_STEP(MD5_I, d, a, b, c, w[15], 57);
    MD5_STEP(MD5_I, c, d, a, b, w[6], 58);   MD5_STEP(MD5_I, b, c, d, a, w[13], 59);
    MD5_STEP(MD5_I, a, b, c, d, w[4], 60);   MD5_STEP(MD5_I, d, a, b, c, w[11], 61);
    MD5_STEP(MD5_I, c, d, a, b, w[2], 62);   MD5_STEP(MD5_I, b, c, d, a, w[9], 63);

    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
}

#undef MD5_STEP
#undef MD5_STEP_G
#undef MD5_I
#undef MD5_H
#undef MD5_G
#undef MD5_F

std::string Md5Text(const void* data, size_t length) {
    Md5 md5;
    md5.Update(data, length);
    unsigned char digest[16];
    md5.Final(digest);
    return HexText(digest, sizeof digest, HexLetters::kUpper);
}

std::optional<std::string> Md5TextOfFile(const std::string& path) {
    Md5 md5;
    if (!ReadFileInPieces(path, [&md5](const char* bytes, size_t size) { md5.Update(bytes, size); })) {
        return std::nullopt;
    }
    unsigned char digest[16];
    md5.Final(digest);
    return HexText(digest, sizeof digest, HexLetters::kUpper);
}
