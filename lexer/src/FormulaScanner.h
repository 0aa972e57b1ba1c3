// The scanner behind the analysis: any implementation must produce the
// token stream that the formula rules define.
#ifndef LEXORA_FORMULA_SCANNER_H
#define LEXORA_FORMULA_SCANNER_H

#include <memory>

class InputCopy;
class TokenCollector;

class FormulaScanner {
public:
    virtual ~FormulaScanner() = default;

    // Reads input to its end, reporting every token to collector in order,
    // and leaves nothing buffered, so that the next scan starts clean.
    virtual void Scan(InputCopy& input, TokenCollector& collector) = 0;
};

// The table-driven scanner that flex generates from the rules file; it
// reads the input copy in pieces through its own buffer.
std::unique_ptr<FormulaScanner> MakeGeneratedScanner();

// The direct-coded scanner of the same rules, reading the input copy in
// place; the library scans with this one.
std::unique_ptr<FormulaScanner> MakeDirectScanner();

#endif
