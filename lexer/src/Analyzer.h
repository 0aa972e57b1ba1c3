// The library's analysis: copies the caller's text, scans it to its end
// and hands back the collected tokens. One instance serves every call; it
// keeps the scanner (and its buffer) and the last input copy between calls.
#ifndef LEXORA_ANALYZER_H
#define LEXORA_ANALYZER_H

#include "FormulaScanner.h"
#include "InputCopy.h"
#include "TokenList.h"

#include <memory>
#include <mutex>

class Analyzer {
public:
    explicit Analyzer(std::unique_ptr<FormulaScanner> scanner);

    // text must not be null. Nothing of one call's text influences the next.
    // Calls from several threads take turns: the input copy and the
    // scanner's buffer serve one text at a time.
    TokenList Analyze(const char* text);

private:
    std::mutex turn_;
    InputCopy input_;
    std::unique_ptr<FormulaScanner> scanner_;
};

// Created on first use, destroyed when the library is unloaded.
Analyzer& LibraryAnalyzer();

#endif
