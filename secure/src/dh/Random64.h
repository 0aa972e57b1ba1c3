// The random source of the Diffie-Hellman exports: a 32-bit feedback word
// and a 32-bit mixing word, stirred with the time-stamp counter on every draw.
#pragma once

#include <cstdint>
#include <mutex>

namespace secure {

struct Random64Words {
    std::uint32_t feedback;  // A
    std::uint32_t mixing;    // B
};

class Random64Source {
public:
    using CounterReader = std::uint64_t (*)();

    static constexpr std::uint32_t kInitialFeedback = 0x94C49514u;
    static constexpr std::uint32_t kInitialMixing = 0x5542494Bu;

    explicit Random64Source(CounterReader readCounter) : readCounter_(readCounter) {}

    Random64Source(const Random64Source&) = delete;
    Random64Source& operator=(const Random64Source&) = delete;

    // One draw. The two words are updated as one unit under the lock, so
    // concurrent draws neither lose an update nor mix halves of two draws.
    std::uint64_t Next();

    Random64Words Words() const;

private:
    CounterReader readCounter_;
    mutable std::mutex mutex_;
    std::uint32_t feedback_ = kInitialFeedback;
    std::uint32_t mixing_ = kInitialMixing;
};

// A draw from the library's one source, whose words live as long as the
// library is loaded and are never reset.
std::uint64_t Random64();

// The current words of the library's source (for tests of its sequence).
Random64Words LibraryRandom64Words();

}  // namespace secure
