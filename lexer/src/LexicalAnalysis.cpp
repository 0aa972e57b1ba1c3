// The library's one export: copies the caller's text, scans it to its end,
// then hands every token to the caller's sink.
#include <Lexora.h>

#include "FormulaScanner.h"

#include <cstdint>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// The library's analysis, created on first use and destroyed when the
// library is unloaded. It keeps the last copy of a caller's text between
// calls. Calls from several threads take turns: the copy serves one text at
// a time.
class Analyzer {
public:
    // text must not be null. Nothing of one call's text influences the next.
    // Throws std::bad_alloc when the text or its tokens do not fit in memory;
    // the previous copy then stays as it was.
    TokenList Analyze(const char* text)
    {
        const std::lock_guard<std::mutex> lock(turn_);
        const std::size_t length = std::strlen(text);
        input_.assign(text, text + length + 1);
        return ScanFormula(input_.data(), length);
    }

private:
    std::mutex turn_;
    std::vector<char> input_;  // the text and its terminating zero
};

Analyzer& LibraryAnalyzer()
{
    static Analyzer analyzer;
    return analyzer;
}

// Scans text into *tokens; false when the library cannot (a text too large
// to copy, or to hold its tokens). No exception of the library's own may
// leave the export: the caller may be built by another compiler, and an
// exception it cannot take ends its program.
bool AnalyzeWithoutThrowing(const char* text, TokenList* tokens)
{
    try {
        *tokens = LibraryAnalyzer().Analyze(text);
        return true;
    } catch (...) {
        return false;
    }
}

#if defined(_WIN32)
// The client's object comes from another compiler. Its OnToken is the second
// entry of its virtual function table and takes the object in ECX and the
// three arguments on the stack, each in a 32-bit slot, which the callee
// removes (on x86-64 there is one convention). The entry is called
// explicitly with that convention rather than through a class declaration of
// this compiler, whose table layout need not match the client's.
using OnTokenEntry = int(__attribute__((thiscall)) *)(void* self, int32_t code, int32_t position, int32_t length);

constexpr int kOnTokenSlot = 1;

void Deliver(const TokenList& tokens, TokenSink* sink)
{
    void* self = sink;
    for (const TokenRecord& token : tokens) {
        // Read anew for every token, as a virtual call would.
        void* const* table = *static_cast<void* const* const*>(self);
        const auto entry = reinterpret_cast<OnTokenEntry>(table[kOnTokenSlot]);
        entry(self, token.code, token.position, token.length);
    }
}
#else
// The sink is a TokenSink of the same compiler: an ordinary virtual call
// reaches OnToken.
void Deliver(const TokenList& tokens, TokenSink* sink)
{
    for (const TokenRecord& token : tokens) {
        sink->OnToken(static_cast<TokenCode>(token.code), token.position, token.length);
    }
}
#endif

}  // namespace

extern "C" LEXORA_API bool LEXORA_CALL LexicalAnalysis(const char* text, TokenSink* sink)
{
    // Without a text there are no tokens, and without a sink no one to
    // take them.
    if (text == nullptr || sink == nullptr) {
        return false;
    }
    // Every token is collected before the first is delivered; the list is
    // freed on the way out, also when the sink throws (the sink's own
    // exception is the caller's and passes through to it). OnToken's results
    // are ignored.
    TokenList tokens(0);
    if (!AnalyzeWithoutThrowing(text, &tokens)) {
        return false;
    }
    Deliver(tokens, sink);
    return false;
}
