// The tests' oracle: the token stream that the flex scanner generated from
// FormulaRules.l gives for a text, read through an input copy in pieces of
// at most 8192 bytes into a buffer of 16384, as the rules were first run.
#ifndef LEXORA_TESTS_ORACLE_TOKENS_H
#define LEXORA_TESTS_ORACLE_TOKENS_H

#include "FormulaScanner.h"

#include <vector>

// text must not be null; a fresh scanner reads it to its end.
std::vector<TokenRecord> OracleTokens(const char* text);

#endif
