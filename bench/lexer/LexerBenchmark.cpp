// The formula lexer's export, LexicalAnalysis, against a plain flex -Cf
// scanner of the same rules, one formula per call on both sides, over the
// same generated corpus. Our side counts everything a caller pays: the input
// copy, the scan, the token list and one call of the sink per token.
#include "BaselineScanner.h"
#include "FormulaCorpus.h"

#include <Lexora.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CodeAndLength {
    int code;
    int length;
    bool operator==(const CodeAndLength& other) const { return code == other.code && length == other.length; }
};

// The sink a caller would pass: it looks at every token.
class CountingSink : public TokenSink {
public:
    bool OnToken(TokenCode code, int16_t, int16_t length) override
    {
        ++tokens;
        checksum += static_cast<int64_t>(code) + length;
        return true;
    }
    int64_t tokens = 0;
    int64_t checksum = 0;
};

class RecordingSink : public TokenSink {
public:
    bool OnToken(TokenCode code, int16_t, int16_t length) override
    {
        tokens.push_back({code, length});
        return true;
    }
    std::vector<CodeAndLength> tokens;
};

void RecordBaselineToken(void* context, int code, int length)
{
    static_cast<std::vector<CodeAndLength>*>(context)->push_back({code, length});
}

class BaselineScanner {
public:
    BaselineScanner() : scanner_(BaselineScannerCreate()) {}
    ~BaselineScanner() { BaselineScannerDestroy(scanner_); }
    BaselineScanner(const BaselineScanner&) = delete;
    BaselineScanner& operator=(const BaselineScanner&) = delete;

    long Scan(const std::string& text, BaselineTokenFn onToken = nullptr, void* context = nullptr)
    {
        return BaselineScan(scanner_, text.data(), static_cast<int>(text.size()), onToken, context);
    }

private:
    void* scanner_;
};

// Both scanners must give the same codes and lengths for every formula.
bool SameTokenStreams(const std::vector<std::string>& corpus, BaselineScanner& baseline, long long* tokenCount)
{
    *tokenCount = 0;
    for (const std::string& formula : corpus) {
        RecordingSink ours;
        LexicalAnalysis(formula.c_str(), &ours);
        std::vector<CodeAndLength> theirs;
        baseline.Scan(formula, RecordBaselineToken, &theirs);
        if (ours.tokens != theirs) {
            return false;
        }
        *tokenCount += static_cast<long long>(ours.tokens.size());
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const std::vector<std::string> corpus = MakeFormulaCorpus(4 << 20);
    int64_t corpusBytes = 0;
    for (const std::string& formula : corpus) {
        corpusBytes += static_cast<int64_t>(formula.size());
    }
    BaselineScanner baseline;
    long long corpusTokens = 0;
    if (!SameTokenStreams(corpus, baseline, &corpusTokens)) {
        std::fprintf(stderr, "the library and the baseline scanner disagree on the corpus\n");
        return 1;
    }
    std::printf("corpus: %zu formulas, %lld bytes, %lld tokens\n", corpus.size(), static_cast<long long>(corpusBytes),
                corpusTokens);

    const auto report = [&](benchmark::State& state) {
        state.SetBytesProcessed(state.iterations() * corpusBytes);
        state.counters["tokens/s"] = benchmark::Counter(static_cast<double>(corpusTokens) *
                                                            static_cast<double>(state.iterations()),
                                                        benchmark::Counter::kIsRate);
    };
    benchmark::RegisterBenchmark("Lexer/ours", [&](benchmark::State& state) {
        CountingSink sink;
        for (auto _ : state) {
            for (const std::string& formula : corpus) {
                LexicalAnalysis(formula.c_str(), &sink);
            }
        }
        benchmark::DoNotOptimize(sink.checksum);
        if (sink.tokens != corpusTokens * static_cast<int64_t>(state.iterations())) {
            state.SkipWithError("token count differs from the checked one");
        }
        report(state);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Lexer/flex_Cf", [&](benchmark::State& state) {
        long long tokens = 0;
        for (auto _ : state) {
            for (const std::string& formula : corpus) {
                tokens += baseline.Scan(formula);
            }
        }
        benchmark::DoNotOptimize(tokens);
        report(state);
    })->Unit(benchmark::kMillisecond);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
