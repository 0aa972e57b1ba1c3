// The limits the publisher's tool writes compressed files and patches within,
// and that the updater's decoder holds every stream to.
#pragma once

#include <cstdint>

// The largest window, as a power of two (128 MiB), that a stream may ask the
// decoder to keep. The publisher's whole-file compression stays far below it;
// a patch's window must reach back over its base, so a patch is written only
// when both the base and the new file are smaller than this window.
inline constexpr int kMaxWindowLog = 27;
inline constexpr uint64_t kMaxPatchedFileSize = uint64_t{1} << kMaxWindowLog;
