// Which validator (an answer's ETag, else its Last-Modified) a partial file
// may keep for a resume. The text is stored beside the partial file and later
// sent back as the value of an If-Range header line, so it must be one short
// line: anything with a line end in it would add header lines of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The longest validator kept; a header value, not a document.
inline constexpr std::size_t kLongestResumeValidator = 1024;

// Not empty, at most kLongestResumeValidator bytes, no CR or LF.
bool IsKeepableValidator(std::string_view validator);

// The header lines that ask for the rest of a partial file of `offset` bytes,
// unless the file changed since `validator` was given: "Range: bytes=N-" and
// "If-Range: <validator>", each ending with CR LF.
std::string ResumeRequestHeaders(uint64_t offset, std::string_view validator);
