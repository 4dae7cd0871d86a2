#pragma once

// Replaces the program's plain operator new and delete so that a test can see
// whether the code between two reads of allocationCount() allocated; the
// plug-in's allocations in the same process pass here too. Include it in one
// source file of a test program only.

#include <atomic>
#include <cstdlib>
#include <new>

// The replaced operators pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace countingallocator {
inline std::atomic<long> allocations{0};
}

inline long allocationCount() { return countingallocator::allocations.load(std::memory_order_relaxed); }

void* operator new(std::size_t n)
{
    countingallocator::allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    countingallocator::allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(n ? n : 1);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
