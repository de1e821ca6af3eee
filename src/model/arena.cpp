#include "model/arena.h"

#include <cstdlib>

namespace qlp {

namespace {
constexpr size_t kBlockSize = 256 * 1024;
}

void Arena::FreeBlock::operator()(std::byte* p) const {
    std::free(p);
}

void* Arena::allocateBytes(size_t size, size_t alignment) {
    if (size == 0)
        size = 1;
    if (!blocks_.empty()) {
        Block& b = blocks_.back();
        const size_t start = (b.used + alignment - 1) & ~(alignment - 1);
        if (start <= b.size && size <= b.size - start) {
            b.used = start + size;
            return b.memory.get() + start;
        }
    }
    // Large requests (the event and view arrays) get a block of their own, so that the small
    // block in use keeps serving comments and memos.
    const size_t blockSize = size + alignment > kBlockSize / 4 ? size + alignment : kBlockSize;
    Block block;
    // calloc hands out large blocks as fresh zero pages without touching them.
    block.memory.reset(static_cast<std::byte*>(std::calloc(blockSize, 1)));
    if (!block.memory)
        return nullptr;
    block.size = blockSize;
    reserved_ += blockSize;
    const auto base = reinterpret_cast<uintptr_t>(block.memory.get());
    const size_t start = ((base + alignment - 1) & ~(uintptr_t(alignment) - 1)) - base;
    block.used = start + size;
    void* result = block.memory.get() + start;
    if (blockSize == kBlockSize || blocks_.empty()) {
        blocks_.push_back(std::move(block));
    } else {
        // Keep the partly used small block last so it goes on serving small requests.
        blocks_.insert(blocks_.end() - 1, std::move(block));
    }
    return result;
}

} // namespace qlp
