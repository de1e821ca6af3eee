#include "model/arena.h"

#include "model/large_block.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qlp {

namespace {
constexpr size_t kBlockSize = 256 * 1024;
}

Arena::~Arena() {
    for (Block& b : blocks_) {
        if (b.large)
            freeLargeBlock(b.memory, b.size);
        else
            std::free(b.memory);
    }
}

void* Arena::allocateBytes(size_t size, size_t alignment, bool zeroed) {
    if (size == 0)
        size = 1;
    if (!blocks_.empty()) {
        Block& b = blocks_.back();
        const size_t start = (b.used + alignment - 1) & ~(alignment - 1);
        if (start <= b.size && size <= b.size - start) {
            b.used = start + size;
            if (zeroed && !b.zeroFilled)
                std::memset(b.memory + start, 0, size);
            return b.memory + start;
        }
    }
    // Room for the new block's entry comes first: the list itself can fail to grow, and a caller
    // (a memo or note written from the window) gets nullptr then, never an exception, and no block
    // is lost.
    try {
        if (blocks_.size() == blocks_.capacity())
            blocks_.reserve(std::max<size_t>(8, blocks_.size() * 2));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    // Large requests (the event and view arrays) get a block of their own, so that the small
    // block in use keeps serving comments and memos. A block is zero-filled when its first request
    // asks for it; one that is not zeroes each later zero-filled request itself.
    Block block;
    block.large = size + alignment >= kLargeBlockThreshold;
    block.size = block.large ? size + alignment : kBlockSize;
    if (!block.large && size + alignment > kBlockSize)
        block.size = size + alignment;
    if (block.large)
        block.memory = static_cast<std::byte*>(allocateLargeBlock(block.size, zeroed));
    else
        block.memory = static_cast<std::byte*>(zeroed ? std::calloc(block.size, 1) : std::malloc(block.size));
    if (!block.memory)
        return nullptr;
    block.zeroFilled = zeroed;
    reserved_ += block.size;
    const auto base = reinterpret_cast<uintptr_t>(block.memory);
    const size_t start = ((base + alignment - 1) & ~(uintptr_t(alignment) - 1)) - base;
    block.used = start + size;
    void* result = block.memory + start;
    if (block.large && !blocks_.empty()) {
        // Keep the partly used small block last so it goes on serving small requests.
        blocks_.insert(blocks_.end() - 1, block);
    } else {
        blocks_.push_back(block);
    }
    return result;
}

} // namespace qlp
