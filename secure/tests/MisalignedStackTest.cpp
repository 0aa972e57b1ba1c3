// Clients built by other compilers may call with a stack aligned to 4 bytes
// only. The exports must then give the same bytes as with an aligned stack,
// on buffers long enough for the SSE2 path, instead of faulting on an
// aligned SSE2 access to the stack. The x64 calling convention makes every
// caller keep the stack 16-byte aligned, so there the case cannot occur.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "SecureApi.h"
#include "TestBytes.h"

#if defined(__i386__)

// Calls function(input, inputLength, key, keyLength, output) with the stack
// pointer at the call `offset` bytes past a 16-byte boundary.
extern "C" bool CallWithStackOffset(secure::testing::DesFunction function, const unsigned char* input,
                                    int inputLength, const unsigned char* key, int keyLength, unsigned char* output,
                                    int offset);

asm(".text\n"
    ".globl _CallWithStackOffset\n"
    "_CallWithStackOffset:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    andl $-16, %esp\n"
    "    subl $12, %esp\n"  // with the five arguments below: a multiple of 16
    "    subl 32(%ebp), %esp\n"
    "    pushl 28(%ebp)\n"
    "    pushl 24(%ebp)\n"
    "    pushl 20(%ebp)\n"
    "    pushl 16(%ebp)\n"
    "    pushl 12(%ebp)\n"
    "    call *8(%ebp)\n"
    "    movl %ebp, %esp\n"
    "    popl %ebp\n"
    "    ret\n");

namespace secure::testing {
namespace {

class MisalignedStack : public SecureExportsTest {};

TEST_F(MisalignedStack, ExportsGiveTheSameBytesAsWithAnAlignedStack) {
    std::mt19937 generator(4);
    const std::vector<std::uint8_t> input = RandomBytes(generator, 4096 + 8);
    const std::vector<std::uint8_t> key = RandomBytes(generator, 24);
    const DesFunction functions[] = {Api().desEncrypt, Api().desDecrypt, Api().des3Encrypt, Api().des3Decrypt};
    for (DesFunction function : functions) {
        std::vector<std::uint8_t> expected(input.size());
        ASSERT_TRUE(function(input.data(), static_cast<int>(input.size()), key.data(), 24, expected.data()));
        for (int offset : {4, 8, 12}) {
            SCOPED_TRACE(offset);
            std::vector<std::uint8_t> output(input.size());
            ASSERT_TRUE(CallWithStackOffset(function, input.data(), static_cast<int>(input.size()), key.data(), 24,
                                            output.data(), offset));
            EXPECT_EQ(output, expected);
        }
    }
}

}  // namespace
}  // namespace secure::testing

#endif  // __i386__
