// The client's sink, built by hand as the client's compiler lays it out: a
// table whose first entry must never be called and whose second entry is a
// member call. On 32-bit Windows (__thiscall) the object comes in ECX and
// three 32-bit stack slots, which the entry removes itself (ret 12); on x64
// the object comes in RCX and the three arguments in EDX, R8 and R9, with the
// stack 16-byte aligned before the call. The entry is written in assembly so
// the test does not depend on this compiler agreeing with itself.
#include <Lexora.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct ProbeCall {
    uintptr_t object;
    uintptr_t stack;  // the stack pointer at entry
    uint32_t code;
    uint32_t position;
    uint32_t length;
};

constexpr uint32_t kMaxProbeCalls = 4096;

}  // namespace

extern "C" {
ProbeCall probeCalls[kMaxProbeCalls];
uint32_t probeCallCount;
int slotZeroCalls;
void ProbeOnTokenEntry();
}

#if defined(__i386__)
// Records ECX, the stack pointer at entry and the three stack slots, then
// returns removing the 12 bytes of arguments.
asm(R"(
    .text
    .globl _ProbeOnTokenEntry
_ProbeOnTokenEntry:
    movl _probeCallCount, %eax
    cmpl $4096, %eax
    jae 1f
    imull $20, %eax, %eax
    addl $_probeCalls, %eax
    movl %ecx, 0(%eax)
    movl %esp, 4(%eax)
    movl 4(%esp), %edx
    movl %edx, 8(%eax)
    movl 8(%esp), %edx
    movl %edx, 12(%eax)
    movl 12(%esp), %edx
    movl %edx, 16(%eax)
1:
    incl _probeCallCount
    movl $1, %eax
    ret $12
)");
#define MEMBER_CALL __attribute__((thiscall))
#elif defined(__x86_64__)
// Records RCX, the stack pointer at entry and the three argument registers.
static_assert(sizeof(ProbeCall) == 32, "the entry below indexes records of 32 bytes");
asm(R"(
    .text
    .globl ProbeOnTokenEntry
ProbeOnTokenEntry:
    movl probeCallCount(%rip), %eax
    cmpl $4096, %eax
    jae 1f
    shlq $5, %rax
    leaq probeCalls(%rip), %r10
    addq %r10, %rax
    movq %rcx, 0(%rax)
    movq %rsp, 8(%rax)
    movl %edx, 16(%rax)
    movl %r8d, 20(%rax)
    movl %r9d, 24(%rax)
1:
    incl probeCallCount(%rip)
    movl $1, %eax
    ret
)");
#define MEMBER_CALL
#endif

namespace {

int MEMBER_CALL SlotZeroTrap(void*, int32_t, int32_t, int32_t)
{
    ++slotZeroCalls;
    return 0;
}

struct HandBuiltSink {
    const void* const* table;
};

const void* const kSinkTable[] = {reinterpret_cast<const void*>(&SlotZeroTrap),
                                  reinterpret_cast<const void*>(&ProbeOnTokenEntry)};

class SinkConventionTest : public testing::Test {
protected:
    void SetUp() override
    {
        probeCallCount = 0;
        slotZeroCalls = 0;
    }

    HandBuiltSink sink_ {kSinkTable};
};

TEST_F(SinkConventionTest, SecondEntryGetsTheObjectAndArgumentsOfAMemberCall)
{
    EXPECT_FALSE(LexicalAnalysis("MA(C,5) >= x", reinterpret_cast<TokenSink*>(&sink_)));

    const struct {
        int code, position, length;
    } expected[] = {{4, 0, 2}, {16, 2, 1}, {22, 3, 1}, {18, 4, 1}, {5, 5, 1}, {17, 6, 1}, {13, 7, 3}, {22, 10, 2}};
    ASSERT_EQ(probeCallCount, std::size(expected));
    for (uint32_t i = 0; i < probeCallCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(probeCalls[i].object, reinterpret_cast<uintptr_t>(&sink_));
#if defined(__x86_64__)
        // The call instruction pushed 8 bytes onto a 16-byte aligned stack.
        EXPECT_EQ(probeCalls[i].stack % 16, 8u);
#endif
        EXPECT_EQ(static_cast<int32_t>(probeCalls[i].code), expected[i].code);
        EXPECT_EQ(static_cast<int16_t>(probeCalls[i].position), expected[i].position);
        EXPECT_EQ(static_cast<int16_t>(probeCalls[i].length), expected[i].length);
    }
    EXPECT_EQ(slotZeroCalls, 0);
}

TEST_F(SinkConventionTest, StackStaysBalancedOverManyCalls)
{
    // If the library removed the arguments again after the callee did, or
    // expected the callee to leave them, the stack pointer seen by the entry
    // would drift by 12 bytes per token (on 32-bit Windows), and the
    // library's frame would break.
    std::string text;
    for (int i = 0; i < 1000; ++i) {
        text += "a+";
    }
    EXPECT_FALSE(LexicalAnalysis(text.c_str(), reinterpret_cast<TokenSink*>(&sink_)));
    ASSERT_EQ(probeCallCount, 2000u);
    for (uint32_t i = 1; i < probeCallCount; ++i) {
        ASSERT_EQ(probeCalls[i].stack, probeCalls[0].stack) << "call " << i;
    }
    EXPECT_EQ(static_cast<int16_t>(probeCalls[1999].position), 1999);
    EXPECT_EQ(slotZeroCalls, 0);
}

}  // namespace
