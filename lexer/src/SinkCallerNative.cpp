// Hosts other than 32-bit Windows: the sink is a TokenSink of the same
// compiler, so an ordinary virtual call reaches OnToken.
#include "SinkCaller.h"

#include <Lexora.h>

void SinkCaller::Deliver(const TokenList& tokens) const
{
    for (const TokenRecord& token : tokens) {
        sink_->OnToken(static_cast<TokenCode>(token.code), token.position, token.length);
    }
}
