#include "tests/AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

// The test binary's only replacement of the global allocation functions: every form of new goes
// through one counting allocator, and every form of delete through std::free.
namespace
{
std::atomic<long> allocationCount { 0 };
std::atomic<bool> countingEnabled { false };

void* allocate (std::size_t size, std::size_t alignment) noexcept
{
    if (countingEnabled.load (std::memory_order_relaxed))
        allocationCount.fetch_add (1, std::memory_order_relaxed);

    if (size == 0)
        size = 1;

    if (alignment <= __STDCPP_DEFAULT_NEW_ALIGNMENT__)
        return std::malloc (size);

    // aligned_alloc wants a size that is a multiple of the alignment.
    return std::aligned_alloc (alignment, (size + alignment - 1) / alignment * alignment);
}

void* allocateOrThrow (std::size_t size, std::size_t alignment)
{
    if (auto* memory = allocate (size, alignment))
        return memory;

    throw std::bad_alloc();
}
} // namespace

namespace testing_support
{
ScopedAllocationCount::ScopedAllocationCount()
{
    allocationCount.store (0);
    countingEnabled.store (true);
}

ScopedAllocationCount::~ScopedAllocationCount() { countingEnabled.store (false); }

long ScopedAllocationCount::count() const { return allocationCount.load(); }
} // namespace testing_support

void* operator new (std::size_t size) { return allocateOrThrow (size, __STDCPP_DEFAULT_NEW_ALIGNMENT__); }
void* operator new[] (std::size_t size) { return allocateOrThrow (size, __STDCPP_DEFAULT_NEW_ALIGNMENT__); }
void* operator new (std::size_t size, std::align_val_t alignment) { return allocateOrThrow (size, (std::size_t) alignment); }
void* operator new[] (std::size_t size, std::align_val_t alignment) { return allocateOrThrow (size, (std::size_t) alignment); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return allocate (size, __STDCPP_DEFAULT_NEW_ALIGNMENT__); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return allocate (size, __STDCPP_DEFAULT_NEW_ALIGNMENT__); }
void* operator new (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept { return allocate (size, (std::size_t) alignment); }
void* operator new[] (std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept { return allocate (size, (std::size_t) alignment); }

void operator delete (void* memory) noexcept { std::free (memory); }
void operator delete[] (void* memory) noexcept { std::free (memory); }
void operator delete (void* memory, std::size_t) noexcept { std::free (memory); }
void operator delete[] (void* memory, std::size_t) noexcept { std::free (memory); }
void operator delete (void* memory, std::align_val_t) noexcept { std::free (memory); }
void operator delete[] (void* memory, std::align_val_t) noexcept { std::free (memory); }
void operator delete (void* memory, std::size_t, std::align_val_t) noexcept { std::free (memory); }
void operator delete[] (void* memory, std::size_t, std::align_val_t) noexcept { std::free (memory); }
void operator delete (void* memory, const std::nothrow_t&) noexcept { std::free (memory); }
void operator delete[] (void* memory, const std::nothrow_t&) noexcept { std::free (memory); }
void operator delete (void* memory, std::align_val_t, const std::nothrow_t&) noexcept { std::free (memory); }
void operator delete[] (void* memory, std::align_val_t, const std::nothrow_t&) noexcept { std::free (memory); }
