// 32-bit Windows: the client's object comes from another compiler. Its
// OnToken is the second entry of its virtual function table and takes the
// object in ECX and the three arguments on the stack, each in a 32-bit
// slot, which the callee removes. The entry is called explicitly with that
// convention rather than through a class declaration of this compiler,
// whose table layout need not match the client's.
#include "SinkCaller.h"

#include <cstdint>

namespace {

using OnTokenEntry = int(__attribute__((thiscall)) *)(void* self, int32_t code, int32_t position, int32_t length);

constexpr int kOnTokenSlot = 1;

}  // namespace

void SinkCaller::Deliver(const TokenList& tokens) const
{
    void* self = sink_;
    for (const TokenRecord& token : tokens) {
        // Read anew for every token, as a virtual call would.
        void* const* table = *static_cast<void* const* const*>(self);
        const auto entry = reinterpret_cast<OnTokenEntry>(table[kOnTokenSlot]);
        entry(self, token.code, token.position, token.length);
    }
}
