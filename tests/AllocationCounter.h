#pragma once

namespace testing_support
{
/** Counts heap allocations made on any thread while alive. Not real-time safe to construct; one at a time. */
class ScopedAllocationCount
{
public:
    /** Starts counting from zero. */
    ScopedAllocationCount();
    /** Stops counting. */
    ~ScopedAllocationCount();
    /** Number of allocations made since construction. */
    long count() const;
};
} // namespace testing_support
