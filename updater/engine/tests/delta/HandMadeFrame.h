// Zstandard frames written by hand from the format's parts, for streams no
// honest compressor writes: a frame header (window, declared size) and raw or
// run-length blocks, without a content checksum.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

class Frame {
public:
    Frame(std::optional<uint64_t> contentSize, int windowLog) {
        bytes_ = "\x28\xb5\x2f\xfd";
        // Descriptor: an 8-byte content size (or none), a window descriptor, no checksum.
        bytes_ += static_cast<char>(contentSize ? 0xC0 : 0x00);
        bytes_ += static_cast<char>((windowLog - 10) << 3);
        if (contentSize) {
            for (int i = 0; i < 8; ++i) bytes_ += static_cast<char>(*contentSize >> (8 * i));
        }
    }
    Frame& Raw(const std::string& content, bool last = false) {
        Block(0, content.size(), last);
        bytes_ += content;
        return *this;
    }
    Frame& Run(char byte, uint32_t count, bool last = false) {
        Block(1, count, last);
        bytes_ += byte;
        return *this;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    void Block(uint32_t type, uint32_t size, bool last) {
        const uint32_t header = (size << 3) | (type << 1) | (last ? 1u : 0u);
        for (int i = 0; i < 3; ++i) bytes_ += static_cast<char>(header >> (8 * i));
    }
    std::string bytes_;
};

// A frame that declares `size` bytes, fits a window of 2^20 and decodes to
// that many copies of `byte`: a well-formed stream of the wrong content.
inline std::string FrameOfRepeatedBytes(uint64_t size, char byte) {
    constexpr uint32_t kLargestRawBlock = 128 * 1024;
    Frame frame(size, 20);
    uint64_t left = size;
    do {
        const uint32_t piece = static_cast<uint32_t>(left < kLargestRawBlock ? left : kLargestRawBlock);
        left -= piece;
        frame.Raw(std::string(piece, byte), left == 0);
    } while (left > 0);
    return frame.Bytes();
}

// The bytes of a decompression bomb: 8 MiB of one byte in under 400 bytes of
// stream, as 64 run-length blocks of 128 KiB.
inline constexpr uint64_t kBombBytes = uint64_t{64} * 128 * 1024;

// A frame that declares `declared` bytes (or no size) and a window of
// 2^windowLog, then holds the bomb's bytes.
inline std::string BombFrame(std::optional<uint64_t> declared, int windowLog = 27) {
    constexpr uint32_t kBlock = 128 * 1024;
    Frame frame(declared, windowLog);
    for (int i = 0; i < 64; ++i) frame.Run('A', kBlock, i == 63);
    return frame.Bytes();
}
