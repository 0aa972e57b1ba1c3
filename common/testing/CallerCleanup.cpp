#include "CallerCleanup.h"

#if defined(__i386__)

// QvCallWithWords(function, words, count, result): pushes words[count-1] ...
// words[0], calls function, and stores EAX, EDX and the bytes still pushed.
// EBX, ESI and EDI are kept for the caller, as the convention requires.
extern "C" void QvCallWithWords(const void* function, const uint32_t* words, uint32_t count, StackCall* result);
asm(R"(
    .text
    .globl _QvCallWithWords
_QvCallWithWords:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
1:
    testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:
    movl 16(%ebp), %eax
    leal (%esp,%eax,4), %ebx
    call *8(%ebp)
    movl 20(%ebp), %edi
    movl %eax, 0(%edi)
    movl %edx, 4(%edi)
    movl %ebx, %ecx
    subl %esp, %ecx
    movl %ecx, 8(%edi)
    leal -12(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
)");

StackCall CallMeasuringStack(const void* function, std::initializer_list<uint32_t> words) {
    const std::vector<uint32_t> arguments(words);
    StackCall result {};
    QvCallWithWords(function, arguments.data(), static_cast<uint32_t>(arguments.size()), &result);
    return result;
}

#endif
