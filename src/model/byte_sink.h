#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <vector>

namespace qlp {

// Receives the bytes of a file as they are produced.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool write(const void* data, size_t size) = 0;
    // Told once, before the first write, how many bytes will be written.
    virtual void expectSize(int64_t) {}
};

// Gathers the bytes in memory. A write fails when memory runs out.
class MemorySink : public ByteSink {
public:
    std::vector<uint8_t> bytes;

    bool write(const void* data, size_t size) override {
        const auto* p = static_cast<const uint8_t*>(data);
        try {
            bytes.insert(bytes.end(), p, p + size);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
};

} // namespace qlp
