// A corpus of realistic formula texts, the same on every run: indicator
// definitions with assignments, function calls, comparisons, logical
// operators, numbers, Chinese names in GB2312 and comments in braces.
#ifndef BENCH_FORMULA_CORPUS_H
#define BENCH_FORMULA_CORPUS_H

#include <cstddef>
#include <string>
#include <vector>

// Formulas of some ten to thirty lines each, until their total size
// reaches totalBytes.
std::vector<std::string> MakeFormulaCorpus(std::size_t totalBytes);

#endif
