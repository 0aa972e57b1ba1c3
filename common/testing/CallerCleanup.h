// Calls an export of a 32-bit library with arguments pushed as 32-bit stack
// words and tells how many bytes of them were still on the stack when it
// returned: all of them when the caller removes them (cdecl, what the client
// expects), none when the callee did (stdcall). The call is written in
// assembly so the measurement does not depend on this compiler's own idea of
// the function's convention. i386 only: x64 has one convention, in which the
// caller always removes the arguments.
#pragma once

#if defined(__i386__)

#include <cstdint>
#include <initializer_list>
#include <vector>

struct StackCall {
    uint32_t eax;        // the function's result register
    uint32_t edx;        // the high half of a 64-bit result
    uint32_t bytesLeft;  // argument bytes on the stack after the return
};

// Calls function(words...) with words[0] at the lowest address, as the
// first argument of a C call.
StackCall CallMeasuringStack(const void* function, std::initializer_list<uint32_t> words);

#endif
