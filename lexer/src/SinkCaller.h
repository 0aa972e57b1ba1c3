// Calls the caller's OnToken the way the caller's compiler expects it.
#ifndef LEXORA_SINK_CALLER_H
#define LEXORA_SINK_CALLER_H

#include "TokenRecord.h"

class TokenSink;

class SinkCaller {
public:
    explicit SinkCaller(TokenSink* sink) : sink_(sink) {}

    // Its result is ignored; an exception of the sink passes through.
    void OnToken(const TokenRecord& token) const;

private:
    TokenSink* sink_;
};

#endif
