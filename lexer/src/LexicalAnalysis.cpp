// The library's one export.
#include <Lexora.h>

#include "Analyzer.h"
#include "SinkCaller.h"

#include <utility>

namespace {

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
    // exception is the caller's and passes through to it).
    TokenList tokens(0);
    if (!AnalyzeWithoutThrowing(text, &tokens)) {
        return false;
    }
    SinkCaller(sink).Deliver(tokens);
    return false;
}
