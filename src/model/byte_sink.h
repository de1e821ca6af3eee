#pragma once

#include <cstddef>
#include <cstdint>

namespace qlp {

// Receives the bytes of a file as they are produced.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool write(const void* data, size_t size) = 0;
    // Told once, before the first write, how many bytes will be written.
    virtual void expectSize(int64_t) {}
};

} // namespace qlp
