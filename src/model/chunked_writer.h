#pragma once
// Writing a large file from many small pieces: the pieces are gathered into chunks of up to 1 MB,
// and each full chunk is handed to a background thread while the next one is filled, so that
// building the records of a file overlaps writing them. A file that fits in one chunk is written
// at the end, without a thread.

#include "model/byte_sink.h"
#include "model/large_block.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace qlp {

class ChunkedWriter {
public:
    static constexpr size_t kChunkSize = 1 << 20;
    // The most room() hands out at once.
    static constexpr size_t kLargestRoom = 4096;

    // `fileSize` is the number of bytes that will be written; a small file needs no chunk larger
    // than itself. The sink is used by one thread at a time, and by none once finish() returns.
    ChunkedWriter(ByteSink& sink, int64_t fileSize);
    // Waits for the background write in progress, if any.
    ~ChunkedWriter();
    ChunkedWriter(const ChunkedWriter&) = delete;
    ChunkedWriter& operator=(const ChunkedWriter&) = delete;

    // False once a write has failed, or when no buffer could be had.
    bool ok();

    // Room for n bytes (n <= kLargestRoom) at the end of the chunk, to be filled and then added
    // with commit(n).
    uint8_t* room(size_t n) {
        if (used_ + n > capacity_)
            flush(false);
        return chunk_ + used_;
    }
    void commit(size_t n) { used_ += n; }

    void write(const void* data, size_t size);
    void zeros(size_t size);
    // UTF-16LE text.
    void wide(const char16_t* text, size_t count);

    // Writes what is left and waits for every write; true when all of them succeeded.
    bool finish();

private:
    void flush(bool last);
    void waitForWriter();
    bool startWriter();
    void writerLoop();

    ByteSink& sink_;
    LargeBuffer first_;
    std::unique_ptr<LargeBuffer> second_; // allocated with the writer thread
    uint8_t* chunk_ = nullptr;      // the chunk being filled
    size_t capacity_ = 0;
    size_t used_ = 0;
    bool failed_ = false; // a write on this thread failed, or no buffer

    // Shared with the writer thread.
    std::mutex mutex_;
    std::condition_variable changed_;
    const uint8_t* pending_ = nullptr; // the chunk being written in the background
    size_t pendingSize_ = 0;
    bool writerFailed_ = false;
    bool stopping_ = false;
    std::thread writer_;
};

} // namespace qlp
