// Content-Length and Content-Range header values as a server sends them,
// and whether a 206 answer continues a partial file.
//
// Input: the Content-Length value, a newline, the Content-Range value; a
// third line, if any, is the partial file's size for the resume check.
//
// Rules checked: a value read is the decimal number its digits spell, and
// writing it out again reads back the same; a range read is well-formed
// (first <= last < total); a range that continues a partial file ends at the
// file's end and agrees with the length.
#include "FuzzCheck.h"

#include "transfer/TransferLimits.h"

#include <limits>
#include <string>

namespace {

// The value of the decimal digits in text, ignoring everything else; false
// beyond 64 bits. Independent of the parser's own digit loop.
bool DigitsValue(const std::string& text, uint64_t* value) {
    unsigned __int128 result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') continue;
        result = result * 10 + static_cast<unsigned>(c - '0');
        if (result > std::numeric_limits<uint64_t>::max()) return false;
    }
    *value = static_cast<uint64_t>(result);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::vector<std::string> lines = SplitInput(InputText(data, size), '\n', 3);
    const std::string& lengthText = lines[0];
    const std::string& rangeText = lines[1];

    uint64_t length = 0;
    const bool hasLength = ParseContentLength(lengthText, &length);
    if (hasLength) {
        const std::size_t digits = lengthText.find_first_of("0123456789");
        const std::size_t trailing = lengthText.find_first_not_of("0123456789", digits);
        FUZZ_CHECK(lengthText.find_first_not_of(" \t") == digits);
        FUZZ_CHECK(trailing == std::string::npos || lengthText.find_first_not_of(" \t", trailing) == std::string::npos);
        uint64_t expected = 0;
        FUZZ_CHECK(DigitsValue(lengthText, &expected) && expected == length);
        uint64_t again = 0;
        FUZZ_CHECK(ParseContentLength(std::to_string(length), &again) && again == length);
    }

    ContentRange range;
    if (ParseContentRange(rangeText, &range)) {
        FUZZ_CHECK(range.first <= range.last && range.last < range.total);
        const std::string canonical = "bytes " + std::to_string(range.first) + "-" + std::to_string(range.last) +
                                      "/" + std::to_string(range.total);
        ContentRange again;
        FUZZ_CHECK(ParseContentRange(canonical, &again));
        FUZZ_CHECK(again.first == range.first && again.last == range.last && again.total == range.total);

        uint64_t offset = range.first;
        if (!lines[2].empty() && !DigitsValue(lines[2], &offset)) offset = 0;
        if (RangeContinues(range, offset, hasLength, length)) {
            // The rest of the file from the partial file's end, and a body
            // of that many bytes: the transfer's ceiling for it cannot wrap.
            FUZZ_CHECK(range.first == offset && range.last + 1 == range.total);
            FUZZ_CHECK(!hasLength || length == range.total - offset);
        }
    }

    return 0;
}
