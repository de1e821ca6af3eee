#include "model/large_block.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qlp {

namespace {

#if defined(__linux__)

constexpr size_t kHugePage = 2 << 20;

// Blocks are whole huge pages, so that a cached block can be cut down to a request at a page edge.
size_t blockLength(size_t size) {
    return (size + kHugePage - 1) & ~(kHugePage - 1);
}

// Fresh anonymous pages are zero-filled by the system whatever `zeroed` says.
void* systemAllocate(size_t length, bool) {
    void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(p, length, MADV_HUGEPAGE); // a hint: without it the pages are simply small
#endif
    return p;
}

void systemFree(void* block, size_t length) {
    munmap(block, length);
}

// Gives the pages past `length` back to the system.
void* shrink(void* block, size_t capacity, size_t length) {
    if (capacity > length)
        munmap(static_cast<std::byte*>(block) + length, capacity - length);
    return block;
}

#else

size_t blockLength(size_t size) {
    return size;
}

void* systemAllocate(size_t length, bool zeroed) {
    return zeroed ? std::calloc(length, 1) : std::malloc(length);
}

void systemFree(void* block, size_t) {
    std::free(block);
}

// Shrinking in place is what the C runtime does; should it move the block instead, the old one is
// still good.
void* shrink(void* block, size_t capacity, size_t length) {
    if (capacity <= length)
        return block;
    void* smaller = std::realloc(block, length);
    return smaller ? smaller : block;
}

#endif

// A load holds up to three blocks at once (events, EDL text, read chunk), a conversion two (EDL
// text, write chunk).
constexpr size_t kCachedBlocks = 4;
constexpr size_t kCachedBytes = size_t(512) << 20;
// A buffer smaller than this is not worth a block of whole huge pages.
constexpr size_t kSmallestBufferBlock = 64 * 1024;

// The freed blocks kept for the next allocations, oldest first.
class BlockCache {
public:
    struct Entry {
        void* memory = nullptr;
        size_t length = 0;
    };

    // The smallest cached block of at least `length` bytes, removed from the cache, or nullptr.
    // A block more than twice as long is left for a larger request.
    void* take(size_t length, size_t& capacity) {
        std::lock_guard<std::mutex> lock(mutex_);
        size_t best = count_;
        for (size_t i = 0; i < count_; ++i)
            if (blocks_[i].length >= length && blocks_[i].length / 2 <= length &&
                (best == count_ || blocks_[i].length < blocks_[best].length))
                best = i;
        if (best == count_)
            return nullptr;
        void* block = blocks_[best].memory;
        capacity = blocks_[best].length;
        removeAt(best);
        return block;
    }

    // Keeps the block, and hands back in `evicted` the blocks that no longer fit (the block itself
    // when it alone is over the limit). Returns how many there are.
    size_t keep(void* block, size_t length, Entry (&evicted)[kCachedBlocks]) {
        size_t out = 0;
        if (length > kCachedBytes) {
            evicted[out++] = {block, length};
            return out;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        while (count_ > 0 && (count_ == kCachedBlocks || bytes_ + length > kCachedBytes)) {
            evicted[out++] = blocks_[0];
            removeAt(0);
        }
        blocks_[count_++] = {block, length};
        bytes_ += length;
        return out;
    }

private:
    void removeAt(size_t i) {
        bytes_ -= blocks_[i].length;
        for (; i + 1 < count_; ++i)
            blocks_[i] = blocks_[i + 1];
        --count_;
    }

    std::mutex mutex_;
    Entry blocks_[kCachedBlocks];
    size_t count_ = 0;
    size_t bytes_ = 0;
};

// Never destroyed: documents released during the program's exit may still return blocks to it.
BlockCache& cache() {
    static BlockCache* blocks = new BlockCache;
    return *blocks;
}

} // namespace

void* allocateLargeBlock(size_t size, bool zeroed) {
    const size_t length = blockLength(size);
    size_t capacity = 0;
    if (void* block = cache().take(length, capacity)) {
        block = shrink(block, capacity, length);
        if (zeroed)
            std::memset(block, 0, size);
        return block;
    }
    return systemAllocate(length, zeroed);
}

void freeLargeBlock(void* block, size_t size) {
    if (!block)
        return;
    BlockCache::Entry evicted[kCachedBlocks];
    const size_t n = cache().keep(block, blockLength(size), evicted);
    // Released outside the cache's lock: unmapping a large block takes a while.
    for (size_t i = 0; i < n; ++i)
        systemFree(evicted[i].memory, evicted[i].length);
}

LargeBuffer::LargeBuffer(size_t size) {
    fromBlock_ = size >= kSmallestBufferBlock;
    data_ = static_cast<uint8_t*>(fromBlock_ ? allocateLargeBlock(size, false) : std::malloc(size > 0 ? size : 1));
    size_ = data_ ? size : 0;
}

LargeBuffer::~LargeBuffer() {
    if (fromBlock_)
        freeLargeBlock(data_, size_);
    else
        std::free(data_);
}

} // namespace qlp
