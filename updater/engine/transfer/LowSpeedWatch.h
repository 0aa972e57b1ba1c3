// Judges the rate of a transfer, like a low-speed limit: the transfer is too
// slow once a whole period has passed in which fewer than a minimum number
// of bytes arrived. Per-read time-outs alone let a server that sends a byte
// now and then hold a transfer (and the updater with it) for ever.
#pragma once

#include <cstdint>

struct LowSpeedLimit {
    uint64_t minimumBytes;  // 0 turns the watch off
    uint32_t periodMs;
};

// Fewer than 1024 bytes in 60 seconds.
constexpr LowSpeedLimit kDefaultLowSpeedLimit = {1024, 60000};

class LowSpeedWatch {
public:
    LowSpeedWatch(const LowSpeedLimit& limit, uint64_t startMs) : limit_(limit), periodStartMs_(startMs) {}

    // Counts `bytes` that arrived by `nowMs` (a clock that never runs back);
    // false once the transfer is too slow. A period ends as soon as it has
    // seen the minimum, and the next one starts then.
    bool Arrived(uint64_t bytes, uint64_t nowMs);

private:
    LowSpeedLimit limit_;
    uint64_t periodStartMs_;
    uint64_t periodBytes_ = 0;
};
