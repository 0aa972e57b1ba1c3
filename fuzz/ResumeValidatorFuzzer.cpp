// The validator kept beside a partial file ("<file>.download.validator"),
// read back for a resume and sent as the If-Range value. The file sits in
// the update folder, and its text came from a server's ETag or
// Last-Modified header.
//
// Input: the validator file's bytes; the first eight bytes also give the
// partial file's size.
//
// Rules checked: a validator kept is one short line, and the resume request
// built from it is exactly two header lines, Range from the partial file's
// size and If-Range with the validator unchanged, whatever the bytes.
#include "FuzzCheck.h"

#include "transfer/ResumeValidator.h"

#include <algorithm>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view validator = InputText(data, size);
    uint64_t offset = 0;
    std::memcpy(&offset, data, std::min<std::size_t>(size, sizeof offset));

    if (!IsKeepableValidator(validator)) {
        FUZZ_CHECK(validator.empty() || validator.size() > kLongestResumeValidator ||
                   validator.find_first_of("\r\n") != std::string_view::npos);
        return 0;
    }
    FUZZ_CHECK(validator.size() <= kLongestResumeValidator);

    const std::string headers = ResumeRequestHeaders(offset, validator);
    const std::string rangeLine = "Range: bytes=" + std::to_string(offset) + "-\r\n";
    FUZZ_CHECK(headers.compare(0, rangeLine.size(), rangeLine) == 0);
    const std::string_view ifRange = std::string_view(headers).substr(rangeLine.size());
    // One line: its only line end is the last two bytes.
    FUZZ_CHECK(ifRange.find_first_of("\r\n") == ifRange.size() - 2);
    FUZZ_CHECK(ifRange.substr(ifRange.size() - 2) == "\r\n");
    FUZZ_CHECK(ifRange.substr(0, 10) == "If-Range: ");
    FUZZ_CHECK(ifRange.substr(10, ifRange.size() - 12) == validator);
    return 0;
}
