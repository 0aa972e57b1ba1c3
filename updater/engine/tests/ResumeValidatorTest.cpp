// The validator a partial file keeps for a resume goes back to the server as
// an If-Range value: only one short line of text may be kept, and the
// request for the rest carries it unchanged in a header line of its own.
#include "transfer/ResumeValidator.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ResumeValidator, KeepsOnlyOneShortLine) {
    const struct {
        std::string validator;
        bool kept;
    } cases[] = {
        {"\"5f3a-1c8e2b\"", true},
        {"W/\"weak\"", true},
        {"Thu, 10 Dec 2026 09:00:00 GMT", true},
        {std::string(kLongestResumeValidator, 'e'), true},
        {"", false},
        {std::string(kLongestResumeValidator + 1, 'e'), false},
        {"\"a\"\r\nX-Injected: 1", false},
        {"\"a\"\nX-Injected: 1", false},
        {"\"a\"\r", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsKeepableValidator(c.validator), c.kept) << c.validator.substr(0, 40);
    }
}

TEST(ResumeValidator, RequestAsksForTheRestUnlessChanged) {
    EXPECT_EQ(ResumeRequestHeaders(0, "\"v\""), "Range: bytes=0-\r\nIf-Range: \"v\"\r\n");
    // Offsets past 4 GiB are written whole.
    EXPECT_EQ(ResumeRequestHeaders(uint64_t{5} << 32, "W/\"x\""),
              "Range: bytes=21474836480-\r\nIf-Range: W/\"x\"\r\n");
}

}  // namespace
