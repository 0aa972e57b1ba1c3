// Lexora: breaks the text of a formula into tokens and reports each token,
// as a code with a position and a length, to an object of the caller's.
#ifndef LEXORA_H
#define LEXORA_H

#include <stdint.h>

#if defined(_WIN32)
#  define LEXORA_CALL __cdecl
#  define LEXORA_API
#elif defined(__GNUC__)
#  define LEXORA_CALL
#  define LEXORA_API __attribute__((visibility("default")))
#else
#  define LEXORA_CALL
#  define LEXORA_API
#endif

// Kind of a token. Value 23 is never produced.
enum TokenCode : int32_t {
    TK_PLUS = 0,
    TK_MINUS = 1,
    TK_TIMES = 2,
    TK_DIVIDE = 3,
    TK_FUNCTION = 4,
    TK_NUMBER = 5,
    TK_AND = 6,
    TK_OR = 7,
    TK_LESS = 8,
    TK_LESS_EQUAL = 9,
    TK_EQUAL = 10,
    TK_NOT_EQUAL = 11,
    TK_GREATER = 12,
    TK_GREATER_EQUAL = 13,
    TK_COLON = 14,
    TK_ASSIGN = 15,
    TK_LPAREN = 16,
    TK_RPAREN = 17,
    TK_COMMA = 18,
    TK_LBRACE = 19,
    TK_RBRACE = 20,
    TK_SEMICOLON = 21,
    TK_IDENTIFIER = 22,
    TK_OTHER = 24
};

// The caller's receiver of tokens. The library calls the second entry of
// the object's virtual function table, OnToken, once per token and never
// calls the first entry. On 32-bit Windows that call is a member call with
// the object in ECX and the three arguments on the stack (the two 16-bit
// values in 32-bit slots), removed by the callee.
//
// The first entry is declared as an ordinary function rather than as a
// virtual destructor so that OnToken stays in the second entry with every
// compiler (some compilers give a virtual destructor two entries). A
// client whose own type has a virtual destructor there is served the same.
class TokenSink {
public:
    virtual void Reserved() {}
    // Position: the sum of the lengths of the tokens reported before this
    // one in the same call. Position and length wrap as 16-bit values.
    // The result is ignored by the library.
    virtual bool OnToken(TokenCode code, int16_t position, int16_t length) = 0;

protected:
    TokenSink() = default;
    TokenSink(const TokenSink&) = default;
    TokenSink& operator=(const TokenSink&) = default;
    ~TokenSink() = default;
};

// Scans text (zero-terminated, may be null: then nothing is reported) and
// delivers every token to sink, on the calling thread, after scanning has
// finished. A null sink receives nothing. A text too large for the memory
// the library can get yields no tokens. Always returns false; no exception
// of the library's own leaves it. Calls from several threads are scanned
// one after the other.
extern "C" LEXORA_API bool LEXORA_CALL LexicalAnalysis(const char* text, TokenSink* sink);

#endif
