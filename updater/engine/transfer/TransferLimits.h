// The limits one HTTP response body is held to: how many bytes it may carry,
// and when it is complete. Byte counts are 64-bit throughout, so a body past
// 4 GiB neither wraps nor passes for a short one.
#pragma once

#include <cstdint>
#include <string>

// The most a body may carry when neither the server (Content-Length) nor the
// manifest (Length) says how long it is: 2 GiB.
constexpr uint64_t kUnannouncedBodyCeiling = uint64_t{2} << 30;

// The most bytes a body may carry: its Content-Length when the server sent
// one; otherwise the manifest's Length when it is above 0; otherwise
// kUnannouncedBodyCeiling. A transfer that receives more is broken off.
uint64_t BodyCeiling(bool hasContentLength, uint64_t contentLength, int64_t manifestLength);

// A Content-Length header value: decimal digits, blanks around them allowed.
// False for anything else, and for a value beyond 64 bits.
bool ParseContentLength(const std::string& text, uint64_t* length);

// Whether a body that ended after `received` bytes arrived whole: without a
// Content-Length any end counts, with one the counts must agree.
bool BodyIsComplete(bool hasContentLength, uint64_t contentLength, uint64_t received);

// "Content-Range: bytes first-last/total" of a 206 answer.
struct ContentRange {
    uint64_t first = 0;
    uint64_t last = 0;
    uint64_t total = 0;
};

// Parses the header value; false for any other form ("*" totals, other
// units, last below first, last not below total).
bool ParseContentRange(const std::string& text, ContentRange* range);

// Parses the Content-Range of a 416 answer, "bytes */<total>": the size of
// the whole file, which a partial file of that size already holds.
bool ParseUnsatisfiedRange(const std::string& text, uint64_t* total);

// Whether a 206 answer continues a partial file of `offset` bytes up to the
// file's end: its range starts at the offset, ends at the last byte, and a
// Content-Length given agrees with it.
bool RangeContinues(const ContentRange& range, uint64_t offset, bool hasContentLength, uint64_t contentLength);
