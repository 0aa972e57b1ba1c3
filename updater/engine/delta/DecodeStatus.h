// How decoding a compressed file or a patch ended.
#pragma once

enum class DecodeStatus {
    kOk,
    kTooLong,          // the stream holds more than the expected size: stopped at the first excess byte
    kTruncated,        // the stream ended before its frame did
    kSizeMismatch,     // the frame declares no size, or another than expected
    kWindowTooLarge,   // the frame asks for a larger window than the publisher writes
    kWrongBase,        // the patch's base has another size than the manifest gives
    kCorrupt,          // not a frame, a damaged one, a failed content checksum, or bytes after the frame
    kSinkFailed,       // the sink did not take the bytes
    kSourceFailed,     // the stream's file could not be read
    kNoMemory,
};

// A few words for the log.
const char* DecodeStatusText(DecodeStatus status);
