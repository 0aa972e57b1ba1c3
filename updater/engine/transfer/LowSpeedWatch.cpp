#include "transfer/LowSpeedWatch.h"

bool LowSpeedWatch::Arrived(uint64_t bytes, uint64_t nowMs) {
    if (limit_.minimumBytes == 0) return true;
    periodBytes_ += bytes;
    if (periodBytes_ >= limit_.minimumBytes) {
        periodStartMs_ = nowMs;
        periodBytes_ = 0;
        return true;
    }
    return nowMs < periodStartMs_ || nowMs - periodStartMs_ < limit_.periodMs;
}
