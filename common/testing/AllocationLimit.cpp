#include "AllocationLimit.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

// Read on first use: operator new runs before this file's dynamic
// initialisation would.
std::size_t CeilingFromEnvironment() {
    static const std::size_t ceiling = [] {
        const char* text = std::getenv("QV_ALLOCATION_CEILING");
        if (text == nullptr || *text == '\0') return std::size_t{SIZE_MAX};
        return static_cast<std::size_t>(std::strtoull(text, nullptr, 10));
    }();
    return ceiling;
}

// Constant-initialised, so that they hold before any allocation.
std::atomic<bool> limitSet{false};
std::atomic<std::size_t> largestAllowed{SIZE_MAX};
std::atomic<std::size_t> refused{0};

void* Allocate(std::size_t size) {
    std::size_t ceiling = limitSet.load() ? largestAllowed.load() : CeilingFromEnvironment();
    if (size > ceiling) {
        ++refused;
        throw std::bad_alloc();
    }
    void* memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

}  // namespace

AllocationLimit::AllocationLimit(std::size_t largestBytes) {
    refused = 0;
    largestAllowed = largestBytes;
    limitSet = true;
}

AllocationLimit::~AllocationLimit() { limitSet = false; }

std::size_t AllocationLimit::Refused() { return refused; }

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
