#pragma once
// Memory for the big arrays of a document and the big buffers of reading and writing its files:
// pages straight from the system, asked for in huge pages where the system offers them, so that a
// 100,000-event list costs a few dozen page faults instead of tens of thousands. A freed block is
// kept for the next document or conversion (at most four blocks and 512 MB), since loading or
// converting a list of the same size again is common and fresh pages cost a fault and the
// system's zeroing each.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

namespace qlp {

inline constexpr size_t kLargeBlockThreshold = 1 << 20;

// Zero-filled when `zeroed`; otherwise the bytes are unspecified and the caller must write every
// byte it later reads. nullptr when memory is exhausted.
void* allocateLargeBlock(size_t size, bool zeroed = true);
// `size` is the size the block was allocated with. Safe to call from any thread.
void freeLargeBlock(void* block, size_t size);

// A transient byte buffer of a file operation (the EDL being converted, the chunks read and
// written): from allocateLargeBlock when it is big enough to be worth keeping for the next
// operation, else from the heap. Not zero-filled. data() is nullptr when memory is exhausted.
class LargeBuffer {
public:
    explicit LargeBuffer(size_t size);
    ~LargeBuffer();
    LargeBuffer(const LargeBuffer&) = delete;
    LargeBuffer& operator=(const LargeBuffer&) = delete;

    uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

private:
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool fromBlock_ = false;
};

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
        // The container constructs every element it uses, so the block need not be zero-filled.
        void* p = allocateLargeBlock(bytes, false);
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
