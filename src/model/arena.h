#pragma once
// The memory of one loaded document: a bump allocator released as a whole, so that closing or
// replacing a document frees every event, view, reel array, comment, memo and note body at once.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qlp {

class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    // Zero-filled memory for `count` objects of T, or nullptr when memory is exhausted.
    template <typename T> T* allocate(size_t count) { return allocateArray<T>(count, true); }
    // The same without the zero fill: the bytes are unspecified, so the caller writes every byte
    // it will read before reading it.
    template <typename T> T* allocateForOverwrite(size_t count) { return allocateArray<T>(count, false); }
    void* allocateBytes(size_t size, size_t alignment, bool zeroed = true);

    size_t bytesReserved() const { return reserved_; }

private:
    template <typename T> T* allocateArray(size_t count, bool zeroed) {
        if (count > SIZE_MAX / sizeof(T) / 2)
            return nullptr;
        return static_cast<T*>(allocateBytes(count * sizeof(T), alignof(T), zeroed));
    }

    struct Block {
        std::byte* memory = nullptr;
        size_t size = 0;
        size_t used = 0;
        bool large = false;
        bool zeroFilled = false; // the bytes past `used` are zero
    };

public:
    ~Arena();

private:
    std::vector<Block> blocks_;
    size_t reserved_ = 0;
};

} // namespace qlp
