// A sink that throws: the exception reaches the caller, the collected
// tokens are freed (the leak checker watches this build), and the next
// call works as usual.
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

class ThrowingSink : public TokenSink {
public:
    explicit ThrowingSink(int throwAt) : throwAt_(throwAt) {}

    bool OnToken(TokenCode code, int16_t position, int16_t length) override
    {
        if (static_cast<int>(seen.size()) == throwAt_) {
            throw std::runtime_error("sink refused the token");
        }
        seen.push_back({code, position, length});
        return true;
    }

    std::vector<Token> seen;

private:
    int throwAt_;
};

TEST(ThrowingSinkTest, ExceptionPassesThroughAndLaterCallsStartClean)
{
    for (int throwAt : {0, 1, 5}) {
        SCOPED_TRACE(throwAt);
        ThrowingSink sink(throwAt);
        EXPECT_THROW(LexicalAnalysis("a+b*(c-d)/e", &sink), std::runtime_error);
        EXPECT_EQ(static_cast<int>(sink.seen.size()), throwAt);
        EXPECT_EQ(Tokenize("x:=1"), (std::vector<Token>{{22, 0, 1}, {15, 1, 2}, {5, 3, 1}}));
    }
}

}  // namespace
