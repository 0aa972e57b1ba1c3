// When memory runs out the export reports nothing and returns; it never
// throws at its caller. Every allocation above a ceiling fails here, so a
// text that cannot be copied, or whose tokens cannot be held, stands for a
// text too large for the client's memory.
#include "AllocationLimit.h"
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::size_t kMiB = 1024 * 1024;

TEST(AllocationFailureTest, ATextTooLargeForMemoryYieldsNoTokensAndNoException)
{
    const struct {
        const char* what;
        std::size_t textLength;
        std::size_t ceiling;
    } cases[] = {
        {"the copy of the text", 2 * kMiB, 1 * kMiB},
        {"the list of its tokens", 1 * kMiB, 2 * kMiB},  // the copy fits, one record per byte does not
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string text(c.textLength, 'a');
        RecordingSink sink;
        bool result = true;
        {
            AllocationLimit limit(c.ceiling);
            EXPECT_NO_THROW(result = LexicalAnalysis(text.c_str(), &sink));
            EXPECT_GT(AllocationLimit::Refused(), 0u);
        }
        EXPECT_FALSE(result);
        EXPECT_TRUE(sink.tokens.empty());
        // The library is none the worse for it.
        EXPECT_EQ(Tokenize("a+b"), (std::vector<Token>{{22, 0, 1}, {0, 1, 1}, {22, 2, 1}}));
    }
}

}  // namespace
