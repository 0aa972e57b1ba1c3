#include "Analyzer.h"

#include "TokenCollector.h"

#include <utility>

Analyzer::Analyzer(std::unique_ptr<FormulaScanner> scanner) : scanner_(std::move(scanner)) {}

TokenList Analyzer::Analyze(const char* text)
{
    const std::lock_guard<std::mutex> lock(turn_);
    input_.Replace(text);
    TokenCollector collector(input_.Length());
    scanner_->Scan(input_, collector);
    return collector.TakeTokens();
}

Analyzer& LibraryAnalyzer()
{
    static Analyzer analyzer(MakeDirectScanner());
    return analyzer;
}
