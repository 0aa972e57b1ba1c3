#include "delta/DecodeStatus.h"

const char* DecodeStatusText(DecodeStatus status) {
    switch (status) {
        case DecodeStatus::kOk: return "decoded";
        case DecodeStatus::kTooLong: return "more bytes than the file's size";
        case DecodeStatus::kTruncated: return "the stream ends early";
        case DecodeStatus::kSizeMismatch: return "the stream declares another size than the file's";
        case DecodeStatus::kWindowTooLarge: return "the stream's window is too large";
        case DecodeStatus::kWrongBase: return "the installed copy is not the patch's base";
        case DecodeStatus::kCorrupt: return "the stream is damaged";
        case DecodeStatus::kSinkFailed: return "the decoded bytes could not be written";
        case DecodeStatus::kSourceFailed: return "the stream could not be read";
        case DecodeStatus::kNoMemory: return "out of memory";
    }
    return "unknown";
}
