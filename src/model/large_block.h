#pragma once
// Zero-filled memory for the big arrays of a document (events, views): fresh pages straight from
// the system, asked for in huge pages where the system offers them, so that a 100,000-event list
// costs a few dozen page faults instead of tens of thousands.

#include <cstddef>
#include <limits>
#include <memory>
#include <new>

namespace qlp {

inline constexpr size_t kLargeBlockThreshold = 1 << 20;

// nullptr when memory is exhausted.
void* allocateLargeBlock(size_t size);
void freeLargeBlock(void* block, size_t size);

// A standard allocator that takes large requests from allocateLargeBlock.
template <typename T> struct LargeBlockAllocator {
    using value_type = T;
    LargeBlockAllocator() = default;
    template <typename U> LargeBlockAllocator(const LargeBlockAllocator<U>&) {}

    T* allocate(size_t n) {
        if (n > std::numeric_limits<size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        const size_t bytes = n * sizeof(T);
        if (bytes < kLargeBlockThreshold)
            return std::allocator<T>().allocate(n);
        void* p = allocateLargeBlock(bytes);
        if (!p)
            throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t n) {
        const size_t bytes = n * sizeof(T);
        if (bytes < kLargeBlockThreshold)
            std::allocator<T>().deallocate(p, n);
        else
            freeLargeBlock(p, bytes);
    }
    template <typename U> bool operator==(const LargeBlockAllocator<U>&) const { return true; }
};

} // namespace qlp
