// The edge cases of the formula rules with the token streams they define:
// longest match, ties, leading blanks, skipped brackets.
#ifndef LEXORA_TESTS_TOKEN_CASES_H
#define LEXORA_TESTS_TOKEN_CASES_H

#include "RecordingSink.h"

#include <ostream>
#include <string>
#include <vector>

struct TokenCase {
    const char* name;
    std::string text;
    std::vector<Token> expected;
};

inline std::ostream& operator<<(std::ostream& out, const TokenCase& tokenCase)
{
    return out << tokenCase.name;
}

inline const TokenCase kCases[] = {
    {"Empty", "", {}},
    {"Sum", "a+b", {{22, 0, 1}, {0, 1, 1}, {22, 2, 1}}},
    {"FunctionCall", "MA(CLOSE,5)", {{4, 0, 2}, {16, 2, 1}, {22, 3, 5}, {18, 8, 1}, {5, 9, 1}, {17, 10, 1}}},
    {"LeadingBlanksBelongToNextToken", "x := 1;", {{22, 0, 1}, {15, 1, 3}, {5, 4, 2}, {21, 6, 1}}},
    {"AndBetweenNames", "A AND B", {{22, 0, 1}, {6, 1, 4}, {22, 5, 2}}},
    {"KeywordsAreCaseSensitive", "and", {{22, 0, 3}}},
    {"OrKeyword", "OR", {{7, 0, 2}}},
    {"KeywordPrefixIsName", "ANDY", {{22, 0, 4}}},
    {"KeywordBeforeParenIsFunction", "AND(", {{4, 0, 3}, {16, 3, 1}}},
    {"NumberTakesOneFullStop", "1.5.2", {{5, 0, 3}, {5, 3, 2}}},
    {"NumberWithTrailingFullStop", "5.", {{5, 0, 2}}},
    {"NumberWithLeadingFullStop", ".5", {{5, 0, 2}}},
    {"NumberThenName", "5x", {{5, 0, 1}, {22, 1, 1}}},
    {"FullStopsAfterNumber", "5..", {{5, 0, 2}, {24, 2, 1}}},
    {"BracketsSkippedAndNotCounted", "[a]+b", {{22, 0, 1}, {0, 1, 1}, {22, 2, 1}}},
    {"OnlyBrackets", "[[]]", {}},
    {"TrailingBlank", "x ", {{22, 0, 1}, {24, 1, 1}}},
    {"BlanksAlone", "  ", {{24, 0, 2}}},
    {"BlanksBeforeBracket", "x [a", {{22, 0, 1}, {24, 1, 1}, {22, 2, 1}}},
    {"CarriageReturnEndsName", "a\r\nb", {{22, 0, 2}, {22, 2, 2}}},
    {"TabIsNameByte", "a\tb", {{22, 0, 3}}},
    {"TabStartsName", "\t5", {{22, 0, 2}}},
    {"LessThenGreater", "<>", {{8, 0, 1}, {12, 1, 1}}},
    {"DoubleEqual", "==", {{10, 0, 1}, {10, 1, 1}}},
    {"NameSwallowsFullStop", "a.b", {{22, 0, 3}}},
    {"NameSwallowsDigit", "x5", {{22, 0, 2}}},
    {"NameSwallowsQuestionMark", "a?b", {{22, 0, 3}}},
    {"QuestionMarkStartsRun", "?x", {{24, 0, 1}, {22, 1, 1}}},
    {"CarriageReturnStartsName", "\r5x", {{22, 0, 3}}},
    {"SpaceBeforeNumber", " 5x", {{5, 0, 2}, {22, 2, 1}}},
    // A carriage return may start a function name that a run or a number
    // would otherwise take; before "(" alone it stays a blank of the "(".
    {"CarriageReturnFullStopBeforeParen", "\r.(", {{4, 0, 2}, {16, 2, 1}}},
    {"CarriageReturnDigitBeforeParen", "\r5(", {{4, 0, 2}, {16, 2, 1}}},
    {"CarriageReturnBeforeParen", "\r(", {{16, 0, 2}}},
    {"CarriageReturnAloneIsBlank", "\r", {{24, 0, 1}}},
    {"RunOfRunCharacters", "&&&", {{24, 0, 3}}},
    {"AndBeforeName", "&&x", {{6, 0, 2}, {22, 2, 1}}},
    {"NotEqualThenEqual", "!==", {{11, 0, 2}, {10, 2, 1}}},
    {"AllRunCharacters", "!\"#$%&'.?@^`|~", {{24, 0, 14}}},
    {"BackslashAndUnderscoreStartNames", "\\_a b_", {{22, 0, 3}, {22, 3, 3}}},
    {"BlanksBeforeFunctionName", " f(", {{4, 0, 2}, {16, 2, 1}}},
    {"BlanksBeforeParen", " f (", {{22, 0, 2}, {16, 2, 2}}},
    {"LineFeedsBeforeParen", "\n\n(", {{16, 0, 3}}},
    {"EveryOperator", "{x:1-2*3/4||y<=5>=6}",
     {{19, 0, 1}, {22, 1, 1}, {14, 2, 1}, {5, 3, 1}, {1, 4, 1}, {5, 5, 1}, {2, 6, 1}, {5, 7, 1}, {3, 8, 1},
      {5, 9, 1}, {7, 10, 2}, {22, 12, 1}, {9, 13, 2}, {5, 15, 1}, {13, 16, 2}, {5, 18, 1}, {20, 19, 1}}},
    {"ChineseName", "\xB9\xC9\xBC\xDB+1", {{22, 0, 4}, {0, 4, 1}, {5, 5, 1}}},
    {"SecondByteBracketIsSkipped", "\x81]x", {{22, 0, 1}, {22, 1, 1}}},
};

#endif
