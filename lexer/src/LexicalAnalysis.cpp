// The library's one export.
#include <Lexora.h>

#include "Analyzer.h"
#include "SinkCaller.h"


extern "C" LEXORA_API bool LEXORA_CALL LexicalAnalysis(const char* text, TokenSink* sink)
{
    // Without a text there are no tokens, and without a sink no one to
    // take them.
    if (text == nullptr || sink == nullptr) {
        return false;
    }
    // Every token is collected before the first is delivered; the list is
    // freed on the way out, also when the sink throws.
    const TokenList tokens = LibraryAnalyzer().Analyze(text);
    SinkCaller(sink).Deliver(tokens);
    return false;
}
