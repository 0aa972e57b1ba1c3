// The formula rules as one switch over the byte that starts a token, after
// the blanks in front of it (rules 1 to 24 take those blanks into the token).
// Of the rules that match at a point the longest match wins, and of two
// matches of the same length the earlier rule. The zero byte after the text
// ends the scan: no rule takes it.
#include "FormulaScanner.h"

#include <Lexora.h>

namespace {

using Cursor = const unsigned char*;

// The byte classes of the rules, as bits of one table entry per byte value.
enum ByteClass : uint8_t {
    kBlank = 1,     // space, line feed, carriage return
    kDigit = 2,
    kRun = 4,       // ! " # $ % & ' . ? @ ^ ` | ~
    kNameByte = 8,  // continues a name: a name-start byte, a digit, "." or "?"
};

// Control bytes but line feed and zero (tab and carriage return included),
// letters, backslash, underscore and every byte from 0x7F.
constexpr bool IsNameStart(unsigned b)
{
    return (b >= 0x01 && b <= 0x09) || (b >= 0x0B && b <= 0x1F) || (b >= 'A' && b <= 'Z') || b == '\\' ||
           b == '_' || (b >= 'a' && b <= 'z') || b >= 0x7F;
}

struct ByteClassTable {
    uint8_t classes[256];

    constexpr ByteClassTable() : classes()
    {
        for (unsigned b = 0; b < 256; ++b) {
            const bool digit = b >= '0' && b <= '9';
            const bool blank = b == ' ' || b == '\n' || b == '\r';
            const bool run = (b >= 0x21 && b <= 0x27) || b == '.' || b == '?' || b == '@' || b == '^' || b == '`' ||
                             b == '|' || b == '~';
            const bool nameByte = IsNameStart(b) || digit || b == '.' || b == '?';
            classes[b] = static_cast<uint8_t>((blank ? kBlank : 0) | (digit ? kDigit : 0) | (run ? kRun : 0) |
                                              (nameByte ? kNameByte : 0));
        }
    }
};

constexpr ByteClassTable kByteClasses;

inline bool Is(Cursor at, ByteClass byteClass)
{
    return (kByteClasses.classes[*at] & byteClass) != 0;
}

inline Cursor SkipWhile(Cursor at, ByteClass byteClass)
{
    while (Is(at, byteClass)) {
        ++at;
    }
    return at;
}

// From a digit: digits, then a full stop and any digits after it. From a
// full stop that a digit follows: the full stop and its digits.
inline Cursor NumberEnd(Cursor at)
{
    at = SkipWhile(at, kDigit);
    if (*at == '.') {
        at = SkipWhile(at + 1, kDigit);
    }
    return at;
}

// A one-byte operator, or the two-byte one when `second` follows.
inline int32_t OneOrTwo(Cursor& cursor, unsigned char second, int32_t one, int32_t two)
{
    if (cursor[1] == second) {
        cursor += 2;
        return two;
    }
    ++cursor;
    return one;
}

// "&&" and "||" are run characters too: the logical operator only when the
// run they start is no longer than the pair.
inline int32_t PairOrRun(Cursor& cursor, int32_t pairCode)
{
    const Cursor runEnd = SkipWhile(cursor, kRun);
    const bool pair = runEnd - cursor == 2 && cursor[1] == cursor[0];
    cursor = runEnd;
    return pair ? pairCode : TK_OTHER;
}

// Blanks that end in a carriage return may instead end before it: the
// carriage return is a name-start byte too, and its name runs on over the
// digits, full stops and question marks that would otherwise make a number
// or a run, and beyond. The longer match wins (the function rule's match
// counts the "(" it gives back); at equal length the number or the run, the
// earlier rule.
inline int32_t NumberOrRunUnlessLongerName(Cursor start, Cursor& cursor, Cursor end, int32_t code)
{
    if (cursor != start && cursor[-1] == '\r') {
        const Cursor nameEnd = SkipWhile(cursor, kNameByte);
        const bool call = *nameEnd == '(';
        if (nameEnd + (call ? 1 : 0) > end) {
            cursor = nameEnd;
            return call ? TK_FUNCTION : TK_IDENTIFIER;
        }
    }
    cursor = end;
    return code;
}

// A whole name: the function it calls when "(" follows (the "(" stays for
// the next token), else a keyword or an identifier.
inline int32_t NameCode(Cursor name, Cursor end)
{
    if (*end == '(') {
        return TK_FUNCTION;
    }
    const auto length = end - name;
    if (length == 3 && name[0] == 'A' && name[1] == 'N' && name[2] == 'D') {
        return TK_AND;
    }
    if (length == 2 && name[0] == 'O' && name[1] == 'R') {
        return TK_OR;
    }
    return TK_IDENTIFIER;
}

// Positions and lengths travel as 16-bit signed fields; larger values wrap.
inline int16_t WrapTo16(uint32_t value)
{
    return static_cast<int16_t>(static_cast<uint16_t>(value));
}

}  // namespace

TokenList ScanFormula(const char* text, std::size_t length)
{
    TokenList tokens(length);
    TokenRecord* next = tokens.records_.get();
    uint32_t position = 0;
    Cursor cursor = reinterpret_cast<Cursor>(text);
    for (;;) {
        const Cursor start = cursor;
        cursor = SkipWhile(cursor, kBlank);
        int32_t code;
        switch (*cursor) {
        case '\0':
            if (cursor == start) {
                tokens.size_ = static_cast<std::size_t>(next - tokens.records_.get());
                return tokens;
            }
            code = TK_OTHER;  // blanks at the end of the text
            break;
        case '[':
        case ']':
            // Skipped where they start a token; after blanks, the blanks
            // alone are the longer match.
            if (cursor == start) {
                ++cursor;
                continue;
            }
            code = TK_OTHER;
            break;
        case '+': ++cursor; code = TK_PLUS; break;
        case '-': ++cursor; code = TK_MINUS; break;
        case '*': ++cursor; code = TK_TIMES; break;
        case '/': ++cursor; code = TK_DIVIDE; break;
        case '=': ++cursor; code = TK_EQUAL; break;
        case '(': ++cursor; code = TK_LPAREN; break;
        case ')': ++cursor; code = TK_RPAREN; break;
        case ',': ++cursor; code = TK_COMMA; break;
        case '{': ++cursor; code = TK_LBRACE; break;
        case '}': ++cursor; code = TK_RBRACE; break;
        case ';': ++cursor; code = TK_SEMICOLON; break;
        case '<': code = OneOrTwo(cursor, '=', TK_LESS, TK_LESS_EQUAL); break;
        case '>': code = OneOrTwo(cursor, '=', TK_GREATER, TK_GREATER_EQUAL); break;
        case ':': code = OneOrTwo(cursor, '=', TK_COLON, TK_ASSIGN); break;
        case '&': code = PairOrRun(cursor, TK_AND); break;
        case '|': code = PairOrRun(cursor, TK_OR); break;
        case '!':
            // "=" is no run character: "!=" is longer than the run "!".
            if (cursor[1] == '=') {
                cursor += 2;
                code = TK_NOT_EQUAL;
            } else {
                cursor = SkipWhile(cursor, kRun);
                code = TK_OTHER;
            }
            break;
        case '"': case '#': case '$': case '%': case '\'': case '@': case '^': case '`': case '~':
            cursor = SkipWhile(cursor, kRun);
            code = TK_OTHER;
            break;
        case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
            code = NumberOrRunUnlessLongerName(start, cursor, NumberEnd(cursor), TK_NUMBER);
            break;
        case '.':
            if (Is(cursor + 1, kDigit)) {
                code = NumberOrRunUnlessLongerName(start, cursor, NumberEnd(cursor), TK_NUMBER);
            } else {
                code = NumberOrRunUnlessLongerName(start, cursor, SkipWhile(cursor, kRun), TK_OTHER);
            }
            break;
        case '?':
            code = NumberOrRunUnlessLongerName(start, cursor, SkipWhile(cursor, kRun), TK_OTHER);
            break;
        default: {
            // Every other byte starts a name.
            const Cursor name = cursor;
            cursor = SkipWhile(cursor + 1, kNameByte);
            code = NameCode(name, cursor);
            break;
        }
        }
        // Every token takes at least one byte, so the list, one record per
        // byte, has room for it.
        const auto tokenLength = static_cast<uint32_t>(cursor - start);
        *next++ = TokenRecord{code, WrapTo16(position), WrapTo16(tokenLength)};
        position += tokenLength;
    }
}
