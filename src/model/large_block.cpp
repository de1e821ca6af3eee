#include "model/large_block.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qlp {

#if defined(__linux__)

namespace {
constexpr size_t kHugePage = 2 << 20;
size_t mappedSize(size_t size) {
    return (size + kHugePage - 1) & ~(kHugePage - 1);
}
} // namespace

void* allocateLargeBlock(size_t size) {
    const size_t length = mappedSize(size);
    void* p = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(p, length, MADV_HUGEPAGE); // a hint: without it the pages are simply small
#endif
    return p;
}

void freeLargeBlock(void* block, size_t size) {
    if (block)
        munmap(block, mappedSize(size));
}

#else

void* allocateLargeBlock(size_t size) {
    return std::calloc(size, 1);
}

void freeLargeBlock(void* block, size_t) {
    std::free(block);
}

#endif

} // namespace qlp
