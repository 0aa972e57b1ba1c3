// Each call starts clean: nothing of one call's text or counters reaches
// the next, and a null text gives no tokens.
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(CallIndependenceTest, NullTextGivesNoTokensAndNeverTouchesTheSink)
{
    RecordingSink sink;
    EXPECT_FALSE(LexicalAnalysis(nullptr, &sink));
    EXPECT_TRUE(sink.tokens.empty());
    EXPECT_FALSE(LexicalAnalysis(nullptr, nullptr));
}

TEST(CallIndependenceTest, NullSinkReceivesNothingAndDoesNotDisturbLaterCalls)
{
    EXPECT_FALSE(LexicalAnalysis("a+b", nullptr));
    EXPECT_EQ(Tokenize("x:=1"), (std::vector<Token>{{22, 0, 1}, {15, 1, 2}, {5, 3, 1}}));
}

TEST(CallIndependenceTest, SuccessiveCallsWithTheSameTextGiveTheSameTokens)
{
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += " IF(C" + std::to_string(i) + ">=MA(C,5), 1.5 ,[x])&&y;\r\n";
    }
    const std::vector<Token> first = Tokenize(text);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(Tokenize(text), first);
    EXPECT_EQ(Tokenize(text), first);
}

TEST(CallIndependenceTest, NothingCarriesOverFromThePreviousText)
{
    // A text ending in a name must not make "(" of the next text a function,
    // and positions restart at zero after a long text.
    const struct {
        std::string previous;
        std::string text;
        std::vector<Token> expected;
    } cases[] = {
        {"abc", "(1", {{16, 0, 1}, {5, 1, 1}}},
        {"12", ".5", {{5, 0, 2}}},
        {"  ", "x", {{22, 0, 1}}},
        {std::string(30000, 'q') + "+", "a+b", {{22, 0, 1}, {0, 1, 1}, {22, 2, 1}}},
        {std::string(20000, 'q'), "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Tokenize(c.previous);
        EXPECT_EQ(Tokenize(c.text), c.expected);
    }
}

TEST(CallIndependenceTest, CallsFromSeveralThreadsEachGetTheirOwnTokens)
{
    // Each thread scans its own long text (several refills) many times and
    // must always see exactly its own tokens.
    constexpr int kThreads = 4;
    std::vector<std::string> texts;
    std::vector<std::vector<Token>> expected;
    for (int t = 0; t < kThreads; ++t) {
        std::string text;
        for (int i = 0; i < 2000; ++i) {
            text += "t" + std::to_string(t) + "_" + std::to_string(i) + (t % 2 == 0 ? "+" : " >= ");
        }
        texts.push_back(text);
        expected.push_back(Tokenize(text));
    }
    std::vector<int> mismatches(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                RecordingSink sink;
                LexicalAnalysis(texts[t].c_str(), &sink);
                if (sink.tokens != expected[t]) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(kThreads, 0));
}

}  // namespace
