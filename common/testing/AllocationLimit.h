// While an AllocationLimit lives, every allocation through operator new of
// more than the given number of bytes throws std::bad_alloc, in the test
// program and in the shared libraries it loads. The program that links this
// replaces the global operator new and delete (with malloc and free), so
// that a test can show what a library does when memory runs out.
//
// A library that links this itself (a test build of a Windows DLL, whose
// operator new is its own) takes its ceiling from the environment variable
// QV_ALLOCATION_CEILING, in bytes, for its whole life.
#pragma once

#include <cstddef>

class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t largestBytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

    // Allocations refused since the limit was set.
    static std::size_t Refused();
};
