#include "dh/Random64.h"

#if defined(__i386__) || defined(__x86_64__)
#include <x86intrin.h>
#else
#include <chrono>
#endif

#include "BitRotation.h"

namespace secure {
namespace {

// The processor's free-running time-stamp counter, the entropy each draw
// mixes in.
std::uint64_t ReadTimestampCounter() {
#if defined(__i386__) || defined(__x86_64__)
    return __rdtsc();
#else
    // Other processors: the nearest free-running high-resolution counter.
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

constexpr std::uint32_t kFeedbackTaps = 0xC000002Au;

// Signed product of the counter's high and low 32-bit halves, each taken as
// a signed 32-bit integer.
std::int64_t HalvesProduct(std::uint64_t counter) {
    const auto high = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter >> 32));
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(counter));
    return static_cast<std::int64_t>(high) * static_cast<std::int64_t>(low);
}

Random64Source libraryRandomSource{&ReadTimestampCounter};

}  // namespace

std::uint64_t Random64Source::Next() {
    std::lock_guard<std::mutex> lock(mutex_);
    feedback_ = (feedback_ & 1u) ? (feedback_ >> 1) ^ kFeedbackTaps : feedback_ >> 1;
    const auto t1 = static_cast<std::uint32_t>(static_cast<std::uint64_t>(HalvesProduct(readCounter_())));
    mixing_ = RotateLeft32(t1 ^ mixing_ ^ feedback_, 7);
    const auto t2 = static_cast<std::uint64_t>(HalvesProduct(readCounter_()));
    return t2 + mixing_;
}

Random64Words Random64Source::Words() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {feedback_, mixing_};
}

std::uint64_t Random64() {
    return libraryRandomSource.Next();
}

Random64Words LibraryRandom64Words() {
    return libraryRandomSource.Words();
}

}  // namespace secure
