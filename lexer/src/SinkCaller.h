// Calls the caller's OnToken the way the caller's compiler expects it.
#ifndef LEXORA_SINK_CALLER_H
#define LEXORA_SINK_CALLER_H

#include "TokenList.h"

class TokenSink;

class SinkCaller {
public:
    explicit SinkCaller(TokenSink* sink) : sink_(sink) {}

    // Calls OnToken once per token, in order. Its results are ignored; an
    // exception of the sink passes through. The loop sits beside the call
    // so that nothing but the sink's own call is paid per token.
    void Deliver(const TokenList& tokens) const;

private:
    TokenSink* sink_;
};

#endif
