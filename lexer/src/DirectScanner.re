// The formula rules as a direct-coded automaton: re2c turns the rules below
// into code that branches on each byte (with small bitmaps for the
// character classes), so there is no transition table to walk.
// The rules are those of FormulaRules.l, in the same order with the same
// tie-breaking (longest match, then the earlier rule); the tests hold this
// scanner's token stream against the table-driven one.
//
// The scan runs over the input copy in place: its terminating zero is the
// sentinel that ends the text, since no rule takes a zero byte.

#include "FormulaScanner.h"
#include "InputCopy.h"
#include "TokenCollector.h"

#include <Lexora.h>

#include <cstddef>

namespace {

class DirectScanner final : public FormulaScanner {
public:
    void Scan(InputCopy& input, TokenCollector& collector) override
    {
        const unsigned char* cursor = reinterpret_cast<const unsigned char*>(input.TakeRest());
        [[maybe_unused]] const unsigned char* marker = cursor;
        // The collection's state in a local, kept in registers during the
        // scan and handed back at the end of the text.
        TokenAppender tokens = collector.Appender();
        for (;;) {
            const unsigned char* const start = cursor;
#define REPORT(code) tokens.Report((code), static_cast<std::size_t>(cursor - start)); continue
            /*!re2c
            re2c:define:YYCTYPE = "unsigned char";
            re2c:define:YYCURSOR = cursor;
            re2c:define:YYMARKER = marker;
            re2c:yyfill:enable = 0;
            re2c:indent:top = 3;

            blank      = [ \n\r];
            digit      = [0-9];
            run        = [\x21-\x27\x2E\x3F\x40\x5E\x60\x7C\x7E];
            name_start = [\x01-\x09\x0B-\x1F\x41-\x5A\x5C\x5F\x61-\x7A\x7F-\xFF];
            name       = [\x01-\x09\x0B-\x1F\x2E\x30-\x39\x3F\x41-\x5A\x5C\x5F\x61-\x7A\x7F-\xFF];

            blank* "+"                                  { REPORT(TK_PLUS); }
            blank* "-"                                  { REPORT(TK_MINUS); }
            blank* "*"                                  { REPORT(TK_TIMES); }
            blank* "/"                                  { REPORT(TK_DIVIDE); }
            blank* ("&&" | "AND")                       { REPORT(TK_AND); }
            blank* ("||" | "OR")                        { REPORT(TK_OR); }
            blank* "<"                                  { REPORT(TK_LESS); }
            blank* "<="                                 { REPORT(TK_LESS_EQUAL); }
            blank* "="                                  { REPORT(TK_EQUAL); }
            blank* "!="                                 { REPORT(TK_NOT_EQUAL); }
            blank* ">="                                 { REPORT(TK_GREATER_EQUAL); }
            blank* ">"                                  { REPORT(TK_GREATER); }
            blank* ":"                                  { REPORT(TK_COLON); }
            blank* ":="                                 { REPORT(TK_ASSIGN); }
            blank* "("                                  { REPORT(TK_LPAREN); }
            blank* ")"                                  { REPORT(TK_RPAREN); }
            blank* ","                                  { REPORT(TK_COMMA); }
            blank* "{"                                  { REPORT(TK_LBRACE); }
            blank* "}"                                  { REPORT(TK_RBRACE); }
            blank* ";"                                  { REPORT(TK_SEMICOLON); }
            blank* (digit+ ("." digit*)? | "." digit+)  { REPORT(TK_NUMBER); }
            // Blanks alone, or a run; the empty match never wins, as every
            // byte but zero starts a longer one.
            blank* run*                                 { REPORT(TK_OTHER); }
            blank* name_start name*                     { REPORT(TK_IDENTIFIER); }
            // The "(" goes back to the input and becomes a token of its own.
            blank* name_start name* "("                 { --cursor; REPORT(TK_FUNCTION); }
            "[" | "]"                                   { continue; }
            "\x00"                                      { collector.Resume(tokens); return; }
            */
#undef REPORT
        }
    }
};

}  // namespace

std::unique_ptr<FormulaScanner> MakeDirectScanner()
{
    return std::make_unique<DirectScanner>();
}
